// The "Initializing..." dialog cannot be dismissed by the user, only by its owner.

#include "documents/dialogblockuserinteraction.h"

#include "modaldialoganswerer.h"

#include <QtTest>

#include <QLabel>
#include <QTranslator>

class TestDialogBlockUserInteraction final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void showsInitializing();
    void userCannotCloseIt_data();
    void userCannotCloseIt();

private:
    QTranslator translator;
};

void TestDialogBlockUserInteraction::initTestCase()
{
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QCoreApplication::installTranslator(&translator);
}

void TestDialogBlockUserInteraction::showsInitializing()
{
    DialogBlockUserInteraction dialog(nullptr);
    QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("messageLabel"))->text(),
             QStringLiteral("Initializing..."));
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Quorvane Kiosk"));
    QVERIFY(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
}

void TestDialogBlockUserInteraction::userCannotCloseIt_data()
{
    QTest::addColumn<bool>("titleBarClose");
    QTest::addRow("Escape") << false;
    QTest::addRow("title-bar close button") << true;
}

void TestDialogBlockUserInteraction::userCannotCloseIt()
{
    QFETCH(bool, titleBarClose);
    DialogBlockUserInteraction dialog(nullptr);
    QSignalSpy titleBarCloseSpy(&dialog, &CustomDialog::clickedTitleBarClose);
    bool stillOpen = false;
    answerModalDialog([&](QWidget *modal) {
        if (titleBarClose)
            QTest::mouseClick(modal->findChild<QWidget *>(QStringLiteral("closeButton")),
                              Qt::LeftButton);
        else
            QTest::keyClick(modal, Qt::Key_Escape);
        QCoreApplication::processEvents();
        stillOpen = modal->isVisible();
        // The owner ends it once the runtime is ready.
        static_cast<QDialog *>(modal)->accept();
    });
    QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    QVERIFY(stillOpen);
    QCOMPARE(titleBarCloseSpy.count(), titleBarClose ? 1 : 0);
    QCOMPARE(pendingModalAnswers(), 0);
}

QTEST_MAIN(TestDialogBlockUserInteraction)
#include "tst_dialogblockuserinteraction.moc"
