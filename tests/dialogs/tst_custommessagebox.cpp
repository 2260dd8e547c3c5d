// The message box: answers, titles, icons and buttons of its three kinds.

#include "dialogs/customdialogtitlebar.h"
#include "dialogs/custommessagebox.h"

#include "modaldialoganswerer.h"

#include <QtTest>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QSvgRenderer>
#include <QSvgWidget>
#include <QTranslator>

namespace {

enum Kind { Confirmation, Error, Information };

struct Seen
{
    QString titleText;
    QString titleToolTip;
    QString windowTitle;
    QString text;
    QStringList buttons;
    bool iconValid = false;
};

// Records what the modal box shows, then presses its first button (OK for error and
// information).
void inspectModalBox(Seen &seen)
{
    answerModalDialog([&seen](QWidget *modal) {
        auto titleLabel = modal->findChild<CustomDialogTitleBar *>()->titleLabel();
        seen.titleText = titleLabel->text();
        seen.titleToolTip = titleLabel->toolTip();
        seen.windowTitle = modal->windowTitle();
        seen.text = modal->findChild<QLabel *>(QStringLiteral("textLabel"))->text();
        const auto buttons = modal->findChild<QDialogButtonBox *>()->buttons();
        for (const QAbstractButton *button : buttons)
            seen.buttons << button->objectName() + '=' + button->text();
        seen.buttons.sort();
        seen.iconValid = modal->findChild<QSvgWidget *>()->renderer()->isValid();
        QTest::mouseClick(buttons.value(0), Qt::LeftButton);
    });
}

void show(Kind kind, const QString &text, const QString &title)
{
    switch (kind) {
    case Confirmation:
        CustomMessageBox::showConfirmation(nullptr, text, title);
        break;
    case Error:
        CustomMessageBox::showError(nullptr, text, title);
        break;
    case Information:
        CustomMessageBox::showInformation(nullptr, text, title);
        break;
    }
}

} // namespace

class TestCustomMessageBox final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void confirmationAnswers_data();
    void confirmationAnswers();

    void kindsShowTitleTextIconButtons_data();
    void kindsShowTitleTextIconButtons();

    void unknownButtonCodesGiveNoButtons();

private:
    QTranslator translator;
};

void TestCustomMessageBox::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
}

void TestCustomMessageBox::cleanup()
{
    QCOMPARE(pendingModalAnswers(), 0);
}

void TestCustomMessageBox::confirmationAnswers_data()
{
    QTest::addColumn<QString>("button"); // empty: press the key instead
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("expected");
    QTest::addRow("Yes") << "yesButton" << 0 << CustomMessageBox::Yes;
    QTest::addRow("No") << "noButton" << 0 << CustomMessageBox::No;
    QTest::addRow("title-bar close") << "closeButton" << 0 << CustomMessageBox::Closed;
    QTest::addRow("Escape") << "" << int(Qt::Key_Escape) << CustomMessageBox::Closed;
    QTest::addRow("Return right after opening answers No")
        << "" << int(Qt::Key_Return) << CustomMessageBox::No;
    QTest::addRow("Enter right after opening answers No")
        << "" << int(Qt::Key_Enter) << CustomMessageBox::No;
}

void TestCustomMessageBox::confirmationAnswers()
{
    QFETCH(QString, button);
    QFETCH(int, key);
    QFETCH(int, expected);
    if (button.isEmpty())
        pressKeyInModalDialog(Qt::Key(key));
    else
        clickInModalDialog(button);
    QCOMPARE(CustomMessageBox::showConfirmation(nullptr, "Remove it?", QString()), expected);
}

void TestCustomMessageBox::kindsShowTitleTextIconButtons_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("expectedTitle");
    QTest::addColumn<QStringList>("expectedButtons");

    const QStringList yesNo{"noButton=No", "yesButton=Yes"};
    const QStringList ok{"okButton=OK"};
    QTest::addRow("confirmation, default title") << int(Confirmation) << ""
                                                 << "Confirmation" << yesNo;
    QTest::addRow("confirmation, given title") << int(Confirmation) << "Remove"
                                               << "Remove" << yesNo;
    QTest::addRow("error, default title") << int(Error) << ""
                                          << "Error" << ok;
    QTest::addRow("error, given title") << int(Error) << "Open failed"
                                        << "Open failed" << ok;
    QTest::addRow("information, default title") << int(Information) << ""
                                                << "Information" << ok;
    QTest::addRow("information, given title") << int(Information) << "Note"
                                              << "Note" << ok;
}

void TestCustomMessageBox::kindsShowTitleTextIconButtons()
{
    QFETCH(int, kind);
    QFETCH(QString, title);
    QFETCH(QString, expectedTitle);
    QFETCH(QStringList, expectedButtons);

    // Line breaks stay and a long text is not shortened.
    const QString text = QStringLiteral("Failed to open file.\nError code : 5 ")
                         + QString(QLatin1Char('x')).repeated(300);
    Seen seen;
    inspectModalBox(seen);
    show(Kind(kind), text, title);

    QCOMPARE(seen.titleText, expectedTitle);
    QCOMPARE(seen.titleToolTip, expectedTitle);
    QCOMPARE(seen.windowTitle, expectedTitle);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.buttons, expectedButtons);
    QVERIFY2(seen.iconValid, "the kind's icon is missing from the resources");
}

void TestCustomMessageBox::unknownButtonCodesGiveNoButtons()
{
    CustomMessageBox box(nullptr, {0, 3, -1}, nullptr);
    QVERIFY(box.findChild<QDialogButtonBox *>()->buttons().isEmpty());
    pressKeyInModalDialog(Qt::Key_Escape);
    QCOMPARE(box.exec(), CustomMessageBox::Closed);
}

QTEST_MAIN(TestCustomMessageBox)
#include "tst_custommessagebox.moc"
