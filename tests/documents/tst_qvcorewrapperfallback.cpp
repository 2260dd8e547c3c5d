// The wrapper against a recording stand-in: what it asks the library, and what it answers
// without asking.

#include "documents/qvcorewrapper.h"
#include "fakeqvcore.h"

#include <QTest>

using Calls = std::vector<std::string>;

class tst_QVCoreWrapperFallback final : public QObject
{
    Q_OBJECT

private slots:
    void init() { fakeqvcore::reset(); }

    void createsWithAnyAndReleasesOnce();
    void withoutInstanceAnswersFallbacksWithoutAsking();
    void nullPathOfVersionQueryAnswers200WithoutAsking();
    void nullPathOrCodeOfCheckFailsWithoutAsking();
    void clearsTheKioskFlagBeforeAsking();
    void passesTheLevelAsItsNumber();
};

void tst_QVCoreWrapperFallback::createsWithAnyAndReleasesOnce()
{
    {
        QVCoreWrapper wrapper;
        QCOMPARE(fakeqvcore::state().createArguments, (Calls{"ANY", "ANY", "ANY"}));
    }
    QCOMPARE(fakeqvcore::state().calls, (Calls{"create", "release"}));
    QVERIFY(fakeqvcore::state().releasedAddress != nullptr);
}

void tst_QVCoreWrapperFallback::withoutInstanceAnswersFallbacksWithoutAsking()
{
    fakeqvcore::state().createSucceeds = false;
    {
        QVCoreWrapper wrapper;
        QVERIFY(!wrapper.hasInstance());
        QCOMPARE(wrapper.getKioskFileVersion(), 0);
        std::int32_t version = 0;
        QCOMPARE(wrapper.getFileVersion("/some/file.qvksk", version), 200);
        QCOMPARE(version, 0);
    }
    // No instance: nothing asked, and nothing released.
    QCOMPARE(fakeqvcore::state().calls, Calls{"create"});
}

void tst_QVCoreWrapperFallback::nullPathOfVersionQueryAnswers200WithoutAsking()
{
    QVCoreWrapper wrapper;
    std::int32_t version = 0;
    QCOMPARE(wrapper.getFileVersion(nullptr, version), 200);
    QCOMPARE(version, 0);
    QCOMPARE(wrapper.getFileVersion("/some/file.qvksk", version), -1);
    QCOMPARE(version, 3);
    QCOMPARE(fakeqvcore::state().calls, (Calls{"create", "fileVersion"}));
}

void tst_QVCoreWrapperFallback::nullPathOrCodeOfCheckFailsWithoutAsking()
{
    QVCoreWrapper wrapper;
    bool authenticated = false;
    bool permitted = false;
    std::int32_t operation = -1;
    QVERIFY(!wrapper.checkPassCodeAndFileOperation(nullptr,
                                                   "1234",
                                                   AccessLevel::Administrator,
                                                   authenticated,
                                                   permitted,
                                                   operation));
    QVERIFY(!wrapper.checkPassCodeAndFileOperation("/f.qvksk",
                                                   nullptr,
                                                   AccessLevel::Administrator,
                                                   authenticated,
                                                   permitted,
                                                   operation));
    QVERIFY(!authenticated);
    QCOMPARE(fakeqvcore::state().calls, Calls{"create"});
}

void tst_QVCoreWrapperFallback::clearsTheKioskFlagBeforeAsking()
{
    QVCoreWrapper wrapper;
    fakeqvcore::state().status = 5;
    bool isKioskFile = true;
    QCOMPARE(wrapper.isKioskControllerFile("/f.qvksk", isKioskFile), 5);
    QCOMPARE(fakeqvcore::state().flagOnEntry, false);
}

void tst_QVCoreWrapperFallback::passesTheLevelAsItsNumber()
{
    QVCoreWrapper wrapper;
    bool authenticated = false;
    bool permitted = false;
    std::int32_t operation = -1;
    QVERIFY(wrapper.checkPassCodeAndFileOperation("/f.qvksk",
                                                  "0000",
                                                  AccessLevel::PowerUser,
                                                  authenticated,
                                                  permitted,
                                                  operation));
    QCOMPARE(fakeqvcore::state().levelOnEntry, 2);
    QVERIFY(wrapper.getFileOperation("/f.qvksk", permitted, operation));
    QVERIFY(permitted);
    QCOMPARE(operation, 9);
}

QTEST_GUILESS_MAIN(tst_QVCoreWrapperFallback)
#include "tst_qvcorewrapperfallback.moc"
