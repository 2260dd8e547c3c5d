// The wrapper against a core library that records how it is called, linked in place of the real
// one: what the wrapper asks, and what it answers without asking.

#include "documents/qvcorewrapper.h"
#include "qvcore.h"

#include <QStringList>
#include <QTest>

struct QVCoreInstance
{
} instance;

namespace {

bool createSucceeds = true;
QStringList calls;

} // namespace

extern "C" {
QVCoreInstance *QVCoreCreateInstance(const char *, const char *, const char *)
{
    calls << "create";
    return createSucceeds ? &instance : nullptr;
}
void QVCoreReleaseInstance(QVCoreInstance **released)
{
    calls << "release";
    *released = nullptr;
}
int32_t QVCoreIsQVKIOSKControllerFile(const char *, bool *isKioskFile)
{
    calls << QStringLiteral("isKiosk %1").arg(*isKioskFile);
    return 5;
}
int32_t QVCoreGetConstantskQVCKioskFileVersion(const QVCoreInstance *)
{
    return 3;
}
int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *, const char *, int32_t *)
{
    calls << "fileVersion";
    return -1;
}
bool QVCoreGetBqvcFileOperation(const char *, bool *, int32_t *)
{
    return false;
}
bool QVCoreCheckBqvcFilePassCodeAndFileOperation(
    const char *, const char *, int32_t, bool *, bool *, int32_t *)
{
    calls << "check";
    return true;
}
}

class tst_QVCoreWrapperFallback final : public QObject
{
    Q_OBJECT

private slots:
    // With an instance and without one.
    void answersWithoutAsking()
    {
        for (const bool withInstance : {true, false}) {
            calls.clear();
            createSucceeds = withInstance;
            {
                QVCoreWrapper wrapper;
                bool isKioskFile = true; // cleared before asking
                QCOMPARE(wrapper.isKioskControllerFile("/f.qvksk", isKioskFile), 5);
                bool flag = false;
                std::int32_t value = 0;
                const auto level = AccessLevel::Administrator;
                QVERIFY(wrapper.checkPassCodeAndFileOperation("/f", "1", level, flag, flag, value));
                QVERIFY(
                    !wrapper.checkPassCodeAndFileOperation(nullptr, "1", level, flag, flag, value));
                QVERIFY(
                    !wrapper.checkPassCodeAndFileOperation("/f", nullptr, level, flag, flag, value));
                QCOMPARE(wrapper.getFileVersion(nullptr, value), 200);
                QCOMPARE(wrapper.getKioskFileVersion(), withInstance ? 3 : 0);
                QCOMPARE(wrapper.getFileVersion("/f.qvksk", value), withInstance ? -1 : 200);
            }
            QCOMPARE(calls.join(", "),
                     withInstance ? "create, isKiosk 0, check, fileVersion, release"
                                  : "create, isKiosk 0, check");
        }
    }
};

QTEST_GUILESS_MAIN(tst_QVCoreWrapperFallback)
#include "tst_qvcorewrapperfallback.moc"
