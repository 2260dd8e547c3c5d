// The code-entry dialog: levels, the code field, title, and how it ends.

#include "documents/dialogauthenticate.h"

#include "dialogs/customdialogtitlebar.h"
#include "modaldialoganswerer.h"

#include <QtTest>

#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTranslator>

namespace {

QRadioButton *powerUser(QWidget *dialog)
{
    return dialog->findChild<QRadioButton *>(QStringLiteral("powerUserButton"));
}

QRadioButton *administrator(QWidget *dialog)
{
    return dialog->findChild<QRadioButton *>(QStringLiteral("administratorButton"));
}

QLineEdit *codeEdit(QWidget *dialog)
{
    return dialog->findChild<QLineEdit *>(QStringLiteral("codeEdit"));
}

} // namespace

class TestDialogAuthenticate final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();

    void levels_data();
    void levels();

    void codeTakesAtMostFourHiddenCharacters_data();
    void codeTakesAtMostFourHiddenCharacters();

    void title_data();
    void title();

    void acceptedReadsBackLevelAndCode();
    void returnInCodeFieldMovesOn();

    void rejects_data();
    void rejects();

private:
    QTranslator translator;
};

void TestDialogAuthenticate::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
}

void TestDialogAuthenticate::cleanup()
{
    QCOMPARE(pendingModalAnswers(), 0);
}

void TestDialogAuthenticate::levels_data()
{
    QTest::addColumn<bool>("permitted");
    QTest::addColumn<AccessLevel>("initial");
    QTest::addColumn<AccessLevel>("afterClickingTheOther");
    QTest::addRow("Power User permitted: starts there, can switch")
        << true << AccessLevel::PowerUser << AccessLevel::Administrator;
    QTest::addRow("Power User not permitted: Administrator only")
        << false << AccessLevel::Administrator << AccessLevel::Administrator;
}

void TestDialogAuthenticate::levels()
{
    QFETCH(bool, permitted);
    QFETCH(AccessLevel, initial);
    QFETCH(AccessLevel, afterClickingTheOther);

    DialogAuthenticate dialog(nullptr, QString(), permitted);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QCOMPARE(powerUser(&dialog)->text(), QStringLiteral("Power User"));
    QCOMPARE(administrator(&dialog)->text(), QStringLiteral("Administrator"));
    QCOMPARE(powerUser(&dialog)->isEnabled(), permitted);
    QVERIFY(administrator(&dialog)->isEnabled());
    QCOMPARE(dialog.accessLevel(), initial);

    QRadioButton *other = permitted ? administrator(&dialog) : powerUser(&dialog);
    QTest::mouseClick(other, Qt::LeftButton);
    QCOMPARE(dialog.accessLevel(), afterClickingTheOther);
    QVERIFY(powerUser(&dialog)->isChecked() != administrator(&dialog)->isChecked());
}

void TestDialogAuthenticate::codeTakesAtMostFourHiddenCharacters_data()
{
    QTest::addColumn<bool>("paste");
    QTest::addRow("typed") << false;
    QTest::addRow("pasted") << true;
}

void TestDialogAuthenticate::codeTakesAtMostFourHiddenCharacters()
{
    QFETCH(bool, paste);
    DialogAuthenticate dialog(nullptr, QString(), true);
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QLineEdit *edit = codeEdit(&dialog);
    if (paste) {
        QGuiApplication::clipboard()->setText(QStringLiteral("12345"));
        edit->paste();
    } else {
        QTest::keyClicks(edit, QStringLiteral("12345"));
    }
    QCOMPARE(dialog.code(), QStringLiteral("1234"));
    QCOMPARE(edit->echoMode(), QLineEdit::Password);
    QVERIFY(!edit->displayText().contains(QLatin1Char('1')));
}

void TestDialogAuthenticate::title_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("expected");
    QTest::addRow("no path") << ""
                             << "Enter code";
    QTest::addRow("file name without its folder") << "/srv/kiosk/lobby.qvksk"
                                                  << "Enter code to load lobby.qvksk";
}

void TestDialogAuthenticate::title()
{
    QFETCH(QString, path);
    QFETCH(QString, expected);
    DialogAuthenticate dialog(nullptr, path, false);
    QCOMPARE(dialog.windowTitle(), expected);
    QCOMPARE(dialog.findChild<CustomDialogTitleBar *>()->titleLabel()->toolTip(), expected);
}

void TestDialogAuthenticate::acceptedReadsBackLevelAndCode()
{
    DialogAuthenticate dialog(nullptr, QStringLiteral("/srv/kiosk/lobby.qvksk"), true);
    answerModalDialog([](QWidget *modal) {
        QTest::keyClicks(codeEdit(modal), QStringLiteral("42"));
        QTest::mouseClick(administrator(modal), Qt::LeftButton);
        QTest::mouseClick(modal->findChild<QAbstractButton *>(QStringLiteral("okButton")),
                          Qt::LeftButton);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QCOMPARE(dialog.accessLevel(), AccessLevel::Administrator);
    QCOMPARE(dialog.code(), QStringLiteral("42"));
}

void TestDialogAuthenticate::returnInCodeFieldMovesOn()
{
    DialogAuthenticate dialog(nullptr, QString(), true);
    bool focusedAtStart = false;
    bool stillOpen = false;
    bool focusLeftCodeField = false;
    answerModalDialog([&](QWidget *modal) {
        focusedAtStart = QApplication::focusWidget() == codeEdit(modal);
        QTest::keyClick(codeEdit(modal), Qt::Key_Return);
        stillOpen = modal->isVisible();
        focusLeftCodeField = QApplication::focusWidget() != codeEdit(modal);
        QTest::keyClick(modal, Qt::Key_Escape);
    });
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
    QVERIFY(focusedAtStart);
    QVERIFY(stillOpen);
    QVERIFY(focusLeftCodeField);
}

void TestDialogAuthenticate::rejects_data()
{
    QTest::addColumn<QString>("button");
    QTest::addRow("Cancel") << "cancelButton";
    QTest::addRow("title-bar close") << "closeButton";
    QTest::addRow("Escape") << "";
}

void TestDialogAuthenticate::rejects()
{
    QFETCH(QString, button);
    DialogAuthenticate dialog(nullptr, QString(), true);
    if (button.isEmpty())
        pressKeyInModalDialog(Qt::Key_Escape);
    else
        clickInModalDialog(button);
    QCOMPARE(dialog.exec(), int(QDialog::Rejected));
}

QTEST_MAIN(TestDialogAuthenticate)
#include "tst_dialogauthenticate.moc"
