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
QStringList calls;
QVCoreInstance fakeInstance;

bool check(QVCoreWrapper &wrapper, const char *path, const char *code)
{
    bool flag = false;
    std::int32_t value = 0;
    return wrapper
        .checkPassCodeAndFileOperation(path, code, AccessLevel::Administrator, flag, flag, value);
}

} // namespace

extern "C" {

QVCoreInstance *QVCoreCreateInstance(const char *, const char *, const char *)
{
    calls << QStringLiteral("create");
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

int32_t QVCoreGetBqvcFileVersion(const QVCoreInstance *, const char *, int32_t *)
{
    calls << QStringLiteral("fileVersion");
    return -1;
}

bool QVCoreGetBqvcFileOperation(const char *, bool *, int32_t *)
{
    return false;
}

bool QVCoreCheckBqvcFilePassCodeAndFileOperation(
    const char *, const char *, int32_t, bool *, bool *, int32_t *)
{
    calls << QStringLiteral("check");
    return true;
}

} // extern "C"

class tst_QVCoreWrapperFallback final : public QObject
{
    Q_OBJECT

private slots:
    void init() { calls.clear(); }

    // What the wrapper answers without asking, with an instance (true) and without (false).
    void answersWithoutAsking_data()
    {
        QTest::addColumn<bool>("instance");
        QTest::addColumn<QStringList>("asked");
        QTest::newRow("instance") << true
                                  << QStringList{"create", "isKiosk false", "check", "release"};
        QTest::newRow("none") << false << QStringList{"create", "isKiosk false", "check"};
    }

    void answersWithoutAsking()
    {
        QFETCH(bool, instance);
        QFETCH(QStringList, asked);
        createSucceeds = instance;
        {
            QVCoreWrapper wrapper;
            bool isKioskFile = true; // cleared before asking
            QCOMPARE(wrapper.isKioskControllerFile("/f.qvksk", isKioskFile), 5);
            QVERIFY(check(wrapper, "/f.qvksk", "1234"));
            QVERIFY(!check(wrapper, nullptr, "1234"));
            QVERIFY(!check(wrapper, "/f.qvksk", nullptr));
            std::int32_t version = 0;
            QCOMPARE(wrapper.getFileVersion(nullptr, version), 200);
            if (!instance) {
                QCOMPARE(wrapper.getKioskFileVersion(), 0);
                QCOMPARE(wrapper.getFileVersion("/f.qvksk", version), 200);
            }
        }
        QCOMPARE(calls, asked);
    }
};

QTEST_GUILESS_MAIN(tst_QVCoreWrapperFallback)
#include "tst_qvcorewrapperfallback.moc"
