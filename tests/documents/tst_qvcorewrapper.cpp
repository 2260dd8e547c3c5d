// The wrapper over the stand-in core library, walked through one open of each sample file in the
// order the document manager calls it.

#include "documents/qvcorewrapper.h"

#include <QTest>

Q_DECLARE_METATYPE(AccessLevel)

class tst_QVCoreWrapper final : public QObject
{
    Q_OBJECT

private slots:
    void openSequence_data();
    void openSequence();
};

void tst_QVCoreWrapper::openSequence_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<AccessLevel>("level");
    QTest::addColumn<QByteArray>("code");
    QTest::addColumn<int>("status"); // of the kiosk-file test
    QTest::addColumn<bool>("isKioskFile");
    QTest::addColumn<int>("version"); // -99: not read
    QTest::addColumn<bool>("powerUserPermitted");
    QTest::addColumn<int>("fileOperation"); // -1: not read
    QTest::addColumn<bool>("authenticated");

    const auto admin = AccessLevel::Administrator;
    const auto powerUser = AccessLevel::PowerUser;
    QTest::addRow("administrator right") << QByteArray("lobby.qvksk") << admin << QByteArray("1234")
                                         << -1 << true << 3 << true << 0 << true;
    QTest::addRow("administrator wrong") << QByteArray("lobby.qvksk") << admin << QByteArray("0000")
                                         << -1 << true << 3 << true << 0 << false;
    QTest::addRow("power user empty") << QByteArray("lobby.qvksk") << powerUser << QByteArray()
                                      << -1 << true << 3 << true << 0 << false;
    QTest::addRow("older version") << QByteArray("olderversion.qvksk") << powerUser
                                   << QByteArray("0000") << -1 << true << 2 << true << 1 << true;
    QTest::addRow("not permitted") << QByteArray("adminonly.qvksk") << powerUser
                                   << QByteArray("1234") << -1 << true << 3 << false << 0 << false;
    QTest::addRow("no codes") << QByteArray("open.qvksk") << powerUser << QByteArray() << -1 << true
                              << 3 << true << 0 << true;
    QTest::addRow("newer version") << QByteArray("newer.qvksk") << admin << QByteArray("1234") << -1
                                   << true << 4 << false << -1 << false;
    QTest::addRow("version zero") << QByteArray("versionzero.qvksk") << admin << QByteArray() << -1
                                  << true << 0 << false << -1 << false;
    QTest::addRow("another format") << QByteArray("otherformat.qvksk") << admin << QByteArray()
                                    << -1 << false << -99 << false << -1 << false;
    QTest::addRow("missing field") << QByteArray("invalid.qvksk") << admin << QByteArray() << 13
                                   << false << -99 << false << -1 << false;
    QTest::addRow("missing file") << QByteArray("missing.qvksk") << admin << QByteArray() << 2
                                  << false << -99 << false << -1 << false;
}

void tst_QVCoreWrapper::openSequence()
{
    QFETCH(QByteArray, file);
    QFETCH(AccessLevel, level);
    QFETCH(QByteArray, code);
    QFETCH(int, status);
    QFETCH(bool, isKioskFile);
    QFETCH(int, version);
    QFETCH(bool, powerUserPermitted);
    QFETCH(int, fileOperation);
    QFETCH(bool, authenticated);
    const QByteArray path = QByteArray(QVKIOSK_SAMPLES_DIR "/") + file;

    QVCoreWrapper wrapper;
    QVERIFY(wrapper.hasInstance());
    bool kiosk = true; // the wrapper clears it before asking
    QCOMPARE(wrapper.isKioskControllerFile(path.constData(), kiosk), status);
    QCOMPARE(kiosk, isKioskFile);
    if (!kiosk)
        return;

    QCOMPARE(wrapper.getKioskFileVersion(), 3);
    std::int32_t read = -99;
    QCOMPARE(wrapper.getFileVersion(path.constData(), read), -1);
    QCOMPARE(read, version);
    QCOMPARE(wrapper.getFileVersion(nullptr, read), 200);

    bool permitted = false;
    std::int32_t operation = -1;
    const bool readable = wrapper.getFileOperation(path.constData(), permitted, operation);
    QCOMPARE(readable, fileOperation != -1);
    QCOMPARE(permitted, powerUserPermitted);
    QCOMPARE(operation, fileOperation);

    bool opened = !authenticated;
    QCOMPARE(wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                   code.constData(),
                                                   level,
                                                   opened,
                                                   permitted,
                                                   operation),
             readable);
    if (readable)
        QCOMPARE(opened, authenticated);
    // A null code never reaches the library, even for a file that needs none.
    opened = false;
    QVERIFY(!wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                   nullptr,
                                                   level,
                                                   opened,
                                                   permitted,
                                                   operation));
    QVERIFY(!opened);
}

QTEST_GUILESS_MAIN(tst_QVCoreWrapper)
#include "tst_qvcorewrapper.moc"
