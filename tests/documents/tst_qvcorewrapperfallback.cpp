// The wrapper against a core library that records how it is called, linked in place of the real
// one: what the wrapper asks, and what it answers without asking.

#include "documents/qvcorewrapper.h"
#include "qvcore.h"

#include <QStringList>
#include <QTest>

struct QVCoreInstance
{
    int unused = 0;
};

namespace {

bool createSucceeds = true;
QStringList calls; // each with the arguments that matter
QVCoreInstance fakeInstance;

bool check(QVCoreWrapper &wrapper, const char *path, const char *code, AccessLevel level)
{
    bool flag = false;
    std::int32_t value = 0;
    return wrapper.checkPassCodeAndFileOperation(path, code, level, flag, flag, value);
}

} // namespace

extern "C" {

QVCoreInstance *QVCoreCreateInstance(const char *application, const char *edition, const char *key)
{
    calls << QStringLiteral("create %1 %2 %3").arg(application, edition, key);
    return createSucceeds ? &fakeInstance : nullptr;
}

void QVCoreReleaseInstance(QVCoreInstance **instance)
{
    calls << QStringLiteral("release");
    *instance = nullptr;
}

int32_t QVCoreIsQVKIOSKControllerFile(const char *, bool *isKioskFile)
{
    calls << QStringLiteral("isKiosk %1").arg(*isKioskFile ? "true" : "false");
    return 5;
}

int32_t QVCoreGetConstantskQVCKioskFileVersion(const QVCoreInstance *)
{
    return 3;
}

int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *, const char *, int32_t *version)
{
    calls << QStringLiteral("fileVersion");
    *version = 3;
    return -1;
}

bool QVCoreGetBqvcFileOperation(const char *, bool *, int32_t *)
{
    return false;
}

bool QVCoreCheckBqvcFilePassCodeAndFileOperation(
    const char *, const char *, int32_t level, bool *, bool *, int32_t *)
{
    calls << QStringLiteral("check %1").arg(level);
    return true;
}

} // extern "C"

class tst_QVCoreWrapperFallback final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        createSucceeds = true;
        calls.clear();
    }

    void asksWithClearedFlagAndLevelNumber()
    {
        {
            QVCoreWrapper wrapper;
            bool isKioskFile = true;
            QCOMPARE(wrapper.isKioskControllerFile("/f.qvksk", isKioskFile), 5);
            QVERIFY(check(wrapper, "/f.qvksk", "0000", AccessLevel::PowerUser));
            QVERIFY(check(wrapper, "/f.qvksk", "1234", AccessLevel::Administrator));
            // A null path or code is answered without asking.
            QVERIFY(!check(wrapper, nullptr, "1234", AccessLevel::Administrator));
            QVERIFY(!check(wrapper, "/f.qvksk", nullptr, AccessLevel::Administrator));
            std::int32_t version = 0;
            QCOMPARE(wrapper.getFileVersion(nullptr, version), 200);
            QCOMPARE(wrapper.getFileVersion("/f.qvksk", version), -1);
            QCOMPARE(version, 3);
        }
        QCOMPARE(calls,
                 (QStringList{"create ANY ANY ANY",
                              "isKiosk false", // cleared before asking
                              "check 2",
                              "check 1",
                              "fileVersion",
                              "release"}));
    }

    void withoutInstanceAnswersFallbacksWithoutAsking()
    {
        createSucceeds = false;
        {
            QVCoreWrapper wrapper;
            QCOMPARE(wrapper.getKioskFileVersion(), 0);
            std::int32_t version = 0;
            QCOMPARE(wrapper.getFileVersion("/f.qvksk", version), 200);
        }
        // Nothing asked, and nothing released.
        QCOMPARE(calls, QStringList{"create ANY ANY ANY"});
    }
};

QTEST_GUILESS_MAIN(tst_QVCoreWrapperFallback)
#include "tst_qvcorewrapperfallback.moc"
