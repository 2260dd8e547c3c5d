// The frameless dialog base and its title bar: key handling, title, dragging, aspect ratio.

#include "dialogs/customdialog.h"
#include "dialogs/customdialogtitlebar.h"

#include "modaldialoganswerer.h"

#include <QtTest>

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QTranslator>
#include <QVBoxLayout>

namespace {

// A dialog with one widget of each kind the key handling tells apart.
class FormDialog final : public CustomDialog
{
public:
    explicit FormDialog(bool movable = true, double ratio = 0)
        : CustomDialog(nullptr, movable)
        , ratio(ratio)
    {
        lineEdit = new QLineEdit;
        checkBox = new QCheckBox(QStringLiteral("Option"));
        textEdit = new QTextEdit;
        buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        auto column = new QVBoxLayout;
        column->addWidget(lineEdit);
        column->addWidget(checkBox);
        column->addWidget(textEdit);
        column->addWidget(buttons);
        setDialogLayout(column);
    }

    double aspectRatio() const override { return ratio; }

    QLineEdit *lineEdit = nullptr;
    QCheckBox *checkBox = nullptr;
    QTextEdit *textEdit = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    double ratio = 0;
};

CustomDialogTitleBar *titleBarOf(QWidget *dialog)
{
    return dialog->findChild<CustomDialogTitleBar *>(QStringLiteral("titleBar"));
}

} // namespace

class TestCustomDialog final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void returnAndEnter_data();
    void returnAndEnter();

    void titleBarCloseAndEscapeReject_data();
    void titleBarCloseAndEscapeReject();

    void longTitleIsElidedWhenShown();

    void elideLabel_data();
    void elideLabel();

    void dragOnTitleBar_data();
    void dragOnTitleBar();

    void aspectRatioOnlyGrows_data();
    void aspectRatioOnlyGrows();

    void destructionPopsOverrideCursors();

private:
    QTranslator translator;
};

void TestCustomDialog::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
}

void TestCustomDialog::returnAndEnter_data()
{
    QTest::addColumn<QString>("focus");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("expectedFocus"); // where the focus is afterwards
    QTest::addColumn<bool>("expectedChecked");
    QTest::addColumn<int>("expectedResult"); // -1: still open

    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        const char *name = key == Qt::Key_Return ? "Return" : "Enter";
        QTest::addRow("%s in line edit moves on", name)
            << "lineEdit" << key << "checkBox" << false << -1;
        QTest::addRow("%s on check box toggles it", name)
            << "checkBox" << key << "checkBox" << true << -1;
        QTest::addRow("%s on Cancel of button box presses it", name)
            << "cancel" << key << "" << false << int(QDialog::Rejected);
        QTest::addRow("%s inside text edit stays there", name)
            << "textEdit" << key << "textEdit" << false << -1;
        QTest::addRow("%s without focus widget presses default button", name)
            << "" << key << "" << false << int(QDialog::Accepted);
    }
}

void TestCustomDialog::returnAndEnter()
{
    QFETCH(QString, focus);
    QFETCH(int, key);
    QFETCH(QString, expectedFocus);
    QFETCH(bool, expectedChecked);
    QFETCH(int, expectedResult);

    FormDialog dialog;
    const QMap<QString, QWidget *> widgets{
        {"lineEdit", dialog.lineEdit},
        {"checkBox", dialog.checkBox},
        {"textEdit", dialog.textEdit},
        {"cancel", dialog.buttons->button(QDialogButtonBox::Cancel)},
    };
    dialog.buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));

    if (focus.isEmpty()) {
        if (QApplication::focusWidget())
            QApplication::focusWidget()->clearFocus();
        QVERIFY(!QApplication::focusWidget());
    } else {
        widgets[focus]->setFocus();
        QTRY_COMPARE(QApplication::focusWidget(), widgets[focus]);
    }

    QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : &dialog;
    QTest::keyClick(target, Qt::Key(key));

    if (expectedResult == -1) {
        QVERIFY(dialog.isVisible());
        QCOMPARE(finished.count(), 0);
        QCOMPARE(QApplication::focusWidget(), widgets[expectedFocus]);
    } else {
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), expectedResult);
    }
    QCOMPARE(dialog.checkBox->isChecked(), expectedChecked);
    if (focus == "textEdit")
        QCOMPARE(dialog.textEdit->toPlainText(), QStringLiteral("\n"));
}

void TestCustomDialog::titleBarCloseAndEscapeReject_data()
{
    QTest::addColumn<bool>("useEscape");
    QTest::addRow("title-bar close button") << false;
    QTest::addRow("Escape") << true;
}

void TestCustomDialog::titleBarCloseAndEscapeReject()
{
    QFETCH(bool, useEscape);
    FormDialog dialog;
    if (useEscape)
        pressKeyInModalDialog(Qt::Key_Escape);
    else
        clickInModalDialog(QStringLiteral("closeButton"));
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QCOMPARE(pendingModalAnswers(), 0);
}

void TestCustomDialog::longTitleIsElidedWhenShown()
{
    FormDialog dialog;
    const QString title = QString(QStringLiteral("A very long title ")).repeated(20);
    dialog.setTitle(title);
    // A fixed size, as the code dialog has: otherwise the label's width would widen the dialog.
    dialog.setFixedSize(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    auto label = titleBarOf(&dialog)->titleLabel();
    QVERIFY(label->text().endsWith(QStringLiteral("...")));
    QVERIFY(label->text().size() < title.size());
    QVERIFY(title.startsWith(label->text().chopped(3)));
    QCOMPARE(label->toolTip(), title);
    QCOMPARE(dialog.windowTitle(), title);
}

void TestCustomDialog::elideLabel_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("fittingChars"); // the width given is the advance of this prefix
    QTest::addColumn<int>("widthAdjust");
    QTest::addColumn<QString>("expected");

    QTest::addRow("fits exactly") << "Information" << 11 << 0 << "Information";
    QTest::addRow("wider than needed") << "Information" << 11 << 50 << "Information";
    QTest::addRow("one pixel short") << "Information" << 10 << 0 << "Informatio...";
    QTest::addRow("room for five characters") << "Information" << 5 << 1 << "Infor...";
    QTest::addRow("first character does not fit") << "Information" << 1 << -1 << "Information";
    QTest::addRow("empty text") << "" << 0 << 0 << "";
}

void TestCustomDialog::elideLabel()
{
    QFETCH(QString, text);
    QFETCH(int, fittingChars);
    QFETCH(int, widthAdjust);
    QFETCH(QString, expected);

    QLabel label(text);
    const int width = label.fontMetrics().horizontalAdvance(text.left(fittingChars)) + widthAdjust;
    ::elideLabel(&label, width);
    QCOMPARE(label.text(), expected);
}

void TestCustomDialog::dragOnTitleBar_data()
{
    QTest::addColumn<bool>("movable");
    QTest::addRow("movable dialog follows") << true;
    QTest::addRow("non-movable dialog stays") << false;
}

void TestCustomDialog::dragOnTitleBar()
{
    QFETCH(bool, movable);
    FormDialog dialog(movable);
    dialog.move(100, 100);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();

    CustomDialogTitleBar *bar = titleBarOf(&dialog);
    const QPoint grip(20, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(50, 30));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(50, 30));

    const QPoint expected = movable ? start + QPoint(50, 30) : start;
    QTRY_COMPARE(dialog.pos(), expected);
}

void TestCustomDialog::aspectRatioOnlyGrows_data()
{
    QTest::addColumn<double>("ratio");
    QTest::addColumn<QSize>("expected");
    // The dialog starts out 300 x 200.
    QTest::addRow("no ratio keeps the size") << 0.0 << QSize(300, 200);
    QTest::addRow("wider ratio grows the width") << 2.0 << QSize(400, 200);
    QTest::addRow("narrower ratio grows the height") << 1.0 << QSize(300, 300);
    QTest::addRow("ratio already met") << 1.5 << QSize(300, 200);
    QTest::addRow("height truncated") << 0.7 << QSize(300, 428);
}

void TestCustomDialog::aspectRatioOnlyGrows()
{
    QFETCH(double, ratio);
    QFETCH(QSize, expected);
    FormDialog dialog(true, ratio);
    dialog.resize(300, 200);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(dialog.size(), expected);
}

void TestCustomDialog::destructionPopsOverrideCursors()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    {
        FormDialog dialog;
    }
    QVERIFY(!QGuiApplication::overrideCursor());
}

QTEST_MAIN(TestCustomDialog)
#include "tst_customdialog.moc"
