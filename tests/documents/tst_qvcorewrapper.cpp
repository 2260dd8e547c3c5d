// The wrapper over the stand-in core library, with the sample files the build made.

#include "documents/qvcorewrapper.h"

#include <QTest>

Q_DECLARE_METATYPE(AccessLevel)

namespace {

QByteArray sample(const char *name)
{
    return QByteArray(QVKIOSK_SAMPLES_DIR "/") + name;
}

} // namespace

class tst_QVCoreWrapper final : public QObject
{
    Q_OBJECT

private slots:
    void hasAnInstanceOfTheStandIn();
    void isKioskControllerFile_data();
    void isKioskControllerFile();
    void getFileVersion_data();
    void getFileVersion();
    void getFileVersionWithNullPathAnswers200();
    void getFileOperation_data();
    void getFileOperation();
    void checkPassCode_data();
    void checkPassCode();
    void checkWithNullPathOrCodeFails();
};

void tst_QVCoreWrapper::hasAnInstanceOfTheStandIn()
{
    QVCoreWrapper wrapper;
    QVERIFY(wrapper.hasInstance());
    QCOMPARE(wrapper.getKioskFileVersion(), 3);
}

void tst_QVCoreWrapper::isKioskControllerFile_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<bool>("isKioskFile");
    QTest::addRow("kiosk file") << sample("lobby.qvksk") << -1 << true;
    QTest::addRow("newer kiosk file") << sample("newer.qvksk") << -1 << true;
    QTest::addRow("another format") << sample("otherformat.qvksk") << -1 << false;
    QTest::addRow("missing field") << sample("invalid.qvksk") << 13 << false;
    QTest::addRow("missing file") << sample("missing.qvksk") << 2 << false;
    QTest::addRow("folder") << QByteArray(QVKIOSK_SAMPLES_DIR) << 5 << false;
}

void tst_QVCoreWrapper::isKioskControllerFile()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(bool, isKioskFile);
    QVCoreWrapper wrapper;
    bool flag = true; // the wrapper clears it before asking
    QCOMPARE(wrapper.isKioskControllerFile(path.constData(), flag), status);
    QCOMPARE(flag, isKioskFile);
}

void tst_QVCoreWrapper::getFileVersion_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<int>("status");
    QTest::addColumn<int>("version");
    QTest::addRow("supported") << sample("lobby.qvksk") << -1 << 3;
    QTest::addRow("older") << sample("olderversion.qvksk") << -1 << 2;
    QTest::addRow("newer") << sample("newer.qvksk") << -1 << 4;
    QTest::addRow("zero") << sample("versionzero.qvksk") << -1 << 0;
    QTest::addRow("missing file keeps version") << sample("missing.qvksk") << 2 << -99;
}

void tst_QVCoreWrapper::getFileVersion()
{
    QFETCH(QByteArray, path);
    QFETCH(int, status);
    QFETCH(int, version);
    QVCoreWrapper wrapper;
    std::int32_t read = -99;
    QCOMPARE(wrapper.getFileVersion(path.constData(), read), status);
    QCOMPARE(read, version);
}

void tst_QVCoreWrapper::getFileVersionWithNullPathAnswers200()
{
    QVCoreWrapper wrapper;
    std::int32_t version = 0;
    QCOMPARE(wrapper.getFileVersion(nullptr, version), 200);
    QCOMPARE(version, 0);
}

void tst_QVCoreWrapper::getFileOperation_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<bool>("result");
    QTest::addColumn<bool>("powerUserPermitted");
    QTest::addColumn<int>("fileOperation");
    QTest::addRow("permitted") << sample("lobby.qvksk") << true << true << 0;
    QTest::addRow("operation 1") << sample("olderversion.qvksk") << true << true << 1;
    QTest::addRow("not permitted") << sample("adminonly.qvksk") << true << false << 0;
    QTest::addRow("newer") << sample("newer.qvksk") << false << false << -1;
    QTest::addRow("missing") << sample("missing.qvksk") << false << false << -1;
}

void tst_QVCoreWrapper::getFileOperation()
{
    QFETCH(QByteArray, path);
    QFETCH(bool, result);
    QFETCH(bool, powerUserPermitted);
    QFETCH(int, fileOperation);
    QVCoreWrapper wrapper;
    bool permitted = false;
    std::int32_t operation = -1;
    QCOMPARE(wrapper.getFileOperation(path.constData(), permitted, operation), result);
    QCOMPARE(permitted, powerUserPermitted);
    QCOMPARE(operation, fileOperation);
}

void tst_QVCoreWrapper::checkPassCode_data()
{
    QTest::addColumn<QByteArray>("path");
    QTest::addColumn<AccessLevel>("level");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<bool>("authenticated");
    QTest::addColumn<bool>("powerUserPermitted");
    const QByteArray lobby = sample("lobby.qvksk");
    QTest::addRow("admin right") << lobby << AccessLevel::Administrator << QByteArray("1234")
                                 << true << true;
    QTest::addRow("admin wrong") << lobby << AccessLevel::Administrator << QByteArray("0000")
                                 << false << true;
    QTest::addRow("power user right")
        << lobby << AccessLevel::PowerUser << QByteArray("0000") << true << true;
    QTest::addRow("power user empty")
        << lobby << AccessLevel::PowerUser << QByteArray() << false << true;
    QTest::addRow("none") << lobby << AccessLevel::None << QByteArray("1234") << false << true;
    QTest::addRow("not permitted") << sample("adminonly.qvksk") << AccessLevel::PowerUser
                                   << QByteArray("1234") << false << false;
    QTest::addRow("no codes") << sample("open.qvksk") << AccessLevel::PowerUser << QByteArray()
                              << true << true;
}

void tst_QVCoreWrapper::checkPassCode()
{
    QFETCH(QByteArray, path);
    QFETCH(AccessLevel, level);
    QFETCH(QByteArray, code);
    QFETCH(bool, authenticated);
    QFETCH(bool, powerUserPermitted);
    QVCoreWrapper wrapper;
    bool permitted = !powerUserPermitted;
    std::int32_t operation = -1;
    bool opened = !authenticated;
    QVERIFY(wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                  code.constData(),
                                                  level,
                                                  opened,
                                                  permitted,
                                                  operation));
    QCOMPARE(opened, authenticated);
    QCOMPARE(permitted, powerUserPermitted);
    QCOMPARE(operation, 0);
}

void tst_QVCoreWrapper::checkWithNullPathOrCodeFails()
{
    QVCoreWrapper wrapper;
    const QByteArray path = sample("open.qvksk"); // opens with any code, so only null can fail
    bool authenticated = false;
    bool permitted = false;
    std::int32_t operation = -1;
    QVERIFY(!wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                   nullptr,
                                                   AccessLevel::Administrator,
                                                   authenticated,
                                                   permitted,
                                                   operation));
    QVERIFY(!wrapper.checkPassCodeAndFileOperation(nullptr,
                                                   "",
                                                   AccessLevel::Administrator,
                                                   authenticated,
                                                   permitted,
                                                   operation));
    QVERIFY(!authenticated);
    QCOMPARE(operation, -1);
    QVERIFY(wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                  "",
                                                  AccessLevel::Administrator,
                                                  authenticated,
                                                  permitted,
                                                  operation));
    QVERIFY(authenticated);
}

QTEST_GUILESS_MAIN(tst_QVCoreWrapper)
#include "tst_qvcorewrapper.moc"
