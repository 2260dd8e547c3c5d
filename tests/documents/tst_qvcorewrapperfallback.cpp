// The wrapper against a core library that records its calls, linked in place of a real one,
// which may not refuse a missing instance as the stand-in does.

#include "documents/qvcorewrapper.h"
#include "qvcore.h"

#include <QStringList>
#include <QTest>

struct QVCoreInstance
{
} instance;

static bool createSucceeds = true;
static QStringList calls;

extern "C" {
QVCoreInstance *QVCoreCreateInstance(const char *, const char *, const char *)
{
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
    return true;
}
}

class tst_QVCoreWrapperFallback final : public QObject
{
    Q_OBJECT

private slots:
    // A failed instance is never handed to the core library.
    void withAndWithoutAnInstance()
    {
        for (const bool withInstance : {true, false}) {
            calls.clear();
            createSucceeds = withInstance;
            {
                QVCoreWrapper wrapper;
                bool isKioskFile = true; // cleared before asking
                QCOMPARE(wrapper.isKioskControllerFile("/f.qvksk", isKioskFile), 5);
                std::int32_t version = 0;
                QCOMPARE(wrapper.getKioskFileVersion(), withInstance ? 3 : 0);
                QCOMPARE(wrapper.getFileVersion("/f.qvksk", version), withInstance ? -1 : 200);
            }
            QCOMPARE(calls.join(", "),
                     withInstance ? "isKiosk 0, fileVersion, release" : "isKiosk 0");
        }
    }
};

QTEST_GUILESS_MAIN(tst_QVCoreWrapperFallback)
#include "tst_qvcorewrapperfallback.moc"
