// The frameless dialog base and the dialogs built on it.

#include "base/qvkioskapplication.h"
#include "base/resourcestrings.h"
#include "dialogs/customdialog.h"
#include "dialogs/customdialogtitlebar.h"
#include "dialogs/custommessagebox.h"
#include "dialogs/dialogabout.h"
#include "dialogs/dialoglegal.h"
#include "documents/dialogauthenticate.h"
#include "documents/dialogblockuserinteraction.h"

#include "modaldialoganswerer.h"

#include <QtTest>

#include <QtSvgWidgets>

namespace {

// A dialog with one widget of each kind the key handling tells apart, each named after its class.
class FormDialog final : public CustomDialog
{
public:
    explicit FormDialog(double ratio = 0)
        : CustomDialog(nullptr, true)
        , ratio(ratio)
    {
        auto column = new QVBoxLayout;
        for (QWidget *field : QWidgetList{new QLineEdit, new QCheckBox("Option"), new QTextEdit}) {
            field->setObjectName(field->metaObject()->className());
            column->addWidget(field);
        }
        auto buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancel"));
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        column->addWidget(buttons);
        setDialogLayout(column);
    }

    double aspectRatio() const override { return ratio; }
    double ratio = 0;
};

QLabel *titleLabelOf(QWidget *dialog)
{
    return dialog->findChild<CustomDialogTitleBar *>()->titleLabel();
}

void showAndWait(QWidget *dialog)
{
    dialog->show();
    QVERIFY(QTest::qWaitForWindowExposed(dialog));
}

void dragTitleBar(QWidget *dialog)
{
    auto bar = dialog->findChild<CustomDialogTitleBar *>();
    const QPoint grip(20, bar->height() / 2);
    QTest::mousePress(bar, Qt::LeftButton, {}, grip);
    QTest::mouseMove(bar, grip + QPoint(50, 30));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, grip + QPoint(50, 30));
}

} // namespace

class TestDialogs final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QVERIFY(installResourceStrings(*new QTranslator(qApp)));
        QCoreApplication::setApplicationName(QStringLiteral("Quorvane Kiosk"));
    }
    void cleanup() { QCOMPARE(pendingModalAnswers(), 0); }

    void returnAndEnter_data()
    {
        QTest::addColumn<QString>("focus"); // or "none"; "checked"/"read-only" first: so set
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("after"); // the focus widget or how the dialog ended, what changed
        const int Return = Qt::Key_Return;
        // clang-format off
        QTest::addRow("Return in line edit moves on") << "QLineEdit" << Return << "QCheckBox";
        QTest::addRow("Enter in line edit moves on") << "QLineEdit" << int(Qt::Key_Enter) << "QCheckBox";
        QTest::addRow("Return on check box checks it") << "QCheckBox" << Return << "QCheckBox checked";
        QTest::addRow("Return on checked box unchecks it") << "checked QCheckBox" << Return << "QCheckBox";
        QTest::addRow("Return on Cancel of button box presses it") << "cancel" << Return << "rejected";
        QTest::addRow("Return inside text edit stays there") << "QTextEdit" << Return << "QTextEdit\n";
        QTest::addRow("Return on read-only text presses default button") << "read-only QTextEdit" << Return << "accepted";
        QTest::addRow("Return without focus widget presses default button") << "none" << Return << "accepted";
        // clang-format on
    }

    void returnAndEnter()
    {
        QFETCH(QString, focus);
        QFETCH(int, key);
        FormDialog dialog;
        dialog.findChild<QCheckBox *>()->setChecked(focus.startsWith("checked"));
        dialog.findChild<QTextEdit *>()->setReadOnly(focus.startsWith("read-only"));
        QWidget *start = dialog.findChild<QWidget *>(focus.section(' ', -1));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        if (start)
            start->setFocus();
        else if (QApplication::focusWidget())
            QApplication::focusWidget()->clearFocus();
        QTRY_COMPARE(QApplication::focusWidget(), start);

        QTest::keyClick(start ? start : &dialog, Qt::Key(key));

        QString after = dialog.isVisible() ? QApplication::focusWidget()->objectName()
                        : dialog.result() == QDialog::Accepted ? "accepted"
                                                               : "rejected";
        after += dialog.findChild<QCheckBox *>()->isChecked() ? " checked" : "";
        after += dialog.findChild<QTextEdit *>()->toPlainText();
        QTEST(after, "after");
    }

    void longTitleNeverWidensAMessageBoxPastItsScreen()
    {
        const QString title = QString(QStringLiteral("A very long title ")).repeated(30);
        QString shown;
        answerModalDialog([&](QWidget *modal) {
            QVERIFY(modal->frameGeometry().width() <= modal->screen()->availableGeometry().width());
            shown = titleLabelOf(modal)->text() + '|' + titleLabelOf(modal)->toolTip();
            static_cast<QDialog *>(modal)->reject();
        });
        CustomMessageBox::showError(nullptr, QStringLiteral("Failed."), title);
        QVERIFY2(shown.endsWith("...|" + title) && title.startsWith(shown.section("...|", 0, 0)),
                 qPrintable(shown));
    }

    // It moves with its title bar, and takes every override cursor with it when it goes.
    void aspectRatioOnlyGrows()
    {
        for (const auto &[ratio, expected] : {std::pair(0.0, QSize(300, 200)),
                                              std::pair(2.0, QSize(400, 200)),
                                              std::pair(1.0, QSize(300, 300))}) {
            auto dialog = new FormDialog(ratio);
            dialog->setGeometry(100, 100, 300, 200);
            showAndWait(dialog);
            QCOMPARE(dialog->size(), expected);
            const QPoint start = dialog->pos();
            dragTitleBar(dialog);
            QTRY_COMPARE(dialog->pos(), start + QPoint(50, 30));
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
            QGuiApplication::setOverrideCursor(Qt::BusyCursor);
            delete dialog;
            QVERIFY(!QGuiApplication::overrideCursor());
        }
    }

    void blockDialogIsEndedOnlyByTheProgram()
    {
        DialogBlockUserInteraction dialog(nullptr);
        QStringList leftOpenBy;
        answerModalDialog([&](QWidget *modal) {
            const auto note = [&](const char *by) { leftOpenBy << (modal->isVisible() ? by : ""); };
            const QPoint start = modal->pos();
            dragTitleBar(modal);
            leftOpenBy << (modal->pos() == start ? "not moved" : "moved");
            QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_Escape);
            note("Escape");
            QTest::mouseClick(modal->findChild<QWidget *>("closeButton"), Qt::LeftButton);
            note("close button");
            // What Alt+F4 or the window manager's close button delivers, and a plain close().
            modal->windowHandle()->close();
            modal->close();
            note("window close");
            static_cast<QDialog *>(modal)->accept(); // the program's own end
        });
        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
        QCOMPARE(leftOpenBy, QStringList({"not moved", "Escape", "close button", "window close"}));
    }

    // The text whole with its line breaks, markup as typed, no theme icon on a button (xcb too).
    void messageKinds_data()
    {
        QTest::addColumn<QString>("kind"); // by its icon: caution (a confirmation), error, info
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("expected"); // title, then the buttons
        QTest::addColumn<QString>("answer");   // a button clicked or a key pressed
        QTest::addColumn<int>("result");
        const int closed = CustomMessageBox::Closed;
        const QString confirmation = "Confirmation noButton=No yesButton=Yes";
        // clang-format off
        QTest::addRow("confirmation, title-bar close") << "caution" << "" << confirmation << "closeButton" << closed;
        QTest::addRow("confirmation, Escape") << "caution" << "" << confirmation << "Escape" << closed;
        QTest::addRow("confirmation, Return at once") << "caution" << "" << confirmation << "Return" << int(CustomMessageBox::No);
        QTest::addRow("error, default title") << "error" << "" << "Error okButton=OK" << "okButton" << -1;
        QTest::addRow("error, given title") << "error" << "<em>Open" << "<em>Open okButton=OK" << "okButton" << -1;
        QTest::addRow("information, default title") << "info" << "" << "Information okButton=OK" << "okButton" << -1;
        // clang-format on
    }

    void messageKinds()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        QFETCH(QString, expected);
        QFETCH(QString, answer);
        const auto rendering = [](QSvgRenderer *renderer) {
            QImage image(64, 64, QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::transparent);
            QPainter painter(&image);
            renderer->render(&painter);
            return image;
        };
        QSvgRenderer expectedIcon(":/images/confirmation_icon/" + kind + ".svg");
        QVERIFY(expectedIcon.isValid());
        const QString text = "Failed to open <em>lobby.qvksk\nError code : 5 " + QString(300, 'x');
        QStringList seen;
        answerModalDialog([&](QWidget *modal) {
            QStringList buttons;
            for (const QAbstractButton *button : modal->findChild<QDialogButtonBox *>()->buttons())
                buttons << button->objectName() + '=' + button->text()
                               + (button->icon().isNull() ? "" : "+icon");
            buttons.sort();
            buttons.prepend(titleLabelOf(modal)->text());
            seen << buttons.join(' ') << modal->windowTitle() << titleLabelOf(modal)->toolTip();
            for (QLabel *label : {titleLabelOf(modal), modal->findChild<QLabel *>("textLabel")}) {
                QLabel plain(label->text()); // measured as plain text: markup would be smaller
                plain.setTextFormat(Qt::PlainText);
                plain.setFont(label->font());
                seen << label->text() << QVariant(label->sizeHint() == plain.sizeHint()).toString();
            }
            const QImage drawn = rendering(modal->findChild<QSvgWidget *>()->renderer());
            seen << QVariant(drawn == rendering(&expectedIcon)).toString();
            if (auto button = modal->findChild<QAbstractButton *>(answer))
                QTest::mouseClick(button, Qt::LeftButton);
            else
                QTest::keyClick(modal->focusWidget(), QKeySequence(answer)[0].key());
        });
        if (kind == "caution")
            QTEST(CustomMessageBox::showConfirmation(nullptr, text, title), "result");
        else if (kind == "error")
            CustomMessageBox::showError(nullptr, text, title);
        else
            CustomMessageBox::showInformation(nullptr, text, title);
        const QString shown = expected.section(' ', 0, 0);
        QCOMPARE(seen, QStringList({expected, shown, shown, shown, "true", text, "true", "true"}));
    }

    // About: version without its build number lower left, copyright lower right; Legal: read-only.
    void aboutAndLegal()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("1.2.3.4"));
        DialogAbout about(nullptr);
        auto version = about.findChild<QLabel *>(QStringLiteral("versionLabel"));
        auto copyright = about.findChild<QLabel *>(QStringLiteral("copyrightLabel"));
        QCOMPARE(version->text(), QStringLiteral("Quorvane Kiosk Ver.1.2.3"));
        QVERIFY(!copyright->text().contains('\n'));
        showAndWait(&about);
        for (const QLabel *label : {version, copyright})
            QVERIFY(label->isVisible() && label->y() >= about.height() * 9 / 10);
        QVERIFY(version->geometry().right() < about.width() / 2);
        QVERIFY(copyright->geometry().left() > about.width() / 2);
        QTest::mousePress(version, Qt::RightButton);
        QVERIFY(!about.isVisible());

        QFile notices(QStringLiteral(":/legal.txt"));
        QVERIFY(notices.open(QIODevice::ReadOnly) && notices.size() > 0);
        DialogLegal dialog(nullptr);
        auto view = dialog.findChild<QTextEdit *>(QStringLiteral("legalText"));
        showAndWait(&dialog);
        view->setFocus();
        QTest::keyClicks(view, QStringLiteral("typed"));
        QTest::keyClick(view, Qt::Key_Backspace);
        QCOMPARE(view->toPlainText(), QString::fromUtf8(notices.readAll()));
    }

    // A long file name does not widen it; the code goes where the focus starts, hidden, four at most.
    void codeDialogStartsAtPowerUserOnlyWhenPermittedAndTakesAHiddenCode()
    {
        DialogAuthenticate permitted(nullptr, "/srv/kiosk/<em>lobby.qvksk", true);
        QCOMPARE(permitted.accessLevel(), AccessLevel::PowerUser);
        QCOMPARE(permitted.windowTitle(), "Enter code to load <em>lobby.qvksk");
        DialogAuthenticate refused(nullptr, {}, false);
        QCOMPARE(refused.windowTitle(), "Enter code");
        QCOMPARE(refused.accessLevel(), AccessLevel::Administrator);
        QVERIFY(!refused.findChild<QRadioButton *>("powerUserButton")->isEnabled());
        DialogAuthenticate longName(nullptr, "/srv/kiosk/" + QString(200, 'n'), false);
        showAndWait(&longName);
        QString displayed;
        answerModalDialog([&displayed](QWidget *modal) {
            QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12345"));
            displayed = modal->findChild<QLineEdit *>(QStringLiteral("codeEdit"))->displayText();
            QTest::mouseClick(modal->findChild<QWidget *>("cancelButton"), Qt::LeftButton);
        });
        QCOMPARE(refused.exec(), int(QDialog::Rejected));
        QCOMPARE(refused.code(), QStringLiteral("1234"));
        QVERIFY2(!displayed.contains(QLatin1Char('1')), qPrintable(displayed));
        QCOMPARE(longName.size(), refused.size());
    }
};

// Under the program's own application object, so its style is the one the dialogs get.
int main(int argc, char *argv[])
{
    QVKioskApplication application(argc, argv);
    application.setAttribute(Qt::AA_Use96Dpi, true);
    TestDialogs test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_dialogs.moc"
