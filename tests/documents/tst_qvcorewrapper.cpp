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
    QTest::addColumn<int>("status");        // of the kiosk-file test
    QTest::addColumn<int>("version");       // -99: not a kiosk file
    QTest::addColumn<int>("fileOperation"); // -1: the file cannot be opened
    QTest::addColumn<bool>("authenticated");

    const auto admin = AccessLevel::Administrator;
    const auto powerUser = AccessLevel::PowerUser;
    // clang-format off
    QTest::addRow("administrator, right") << QByteArray("lobby.qvksk") << admin << QByteArray("1234") << -1 << 3 << 0 << true;
    QTest::addRow("power user, older version") << QByteArray("olderversion.qvksk") << powerUser << QByteArray("0000") << -1 << 2 << 1 << true;
    QTest::addRow("newer version") << QByteArray("newer.qvksk") << admin << QByteArray("1234") << -1 << 4 << -1 << false;
    QTest::addRow("another format") << QByteArray("otherformat.qvksk") << admin << QByteArray() << -1 << -99 << -1 << false;
    QTest::addRow("missing file") << QByteArray("missing.qvksk") << admin << QByteArray() << 2 << -99 << -1 << false;
    // clang-format on
}

void tst_QVCoreWrapper::openSequence()
{
    QFETCH(QByteArray, file);
    QFETCH(AccessLevel, level);
    QFETCH(QByteArray, code);
    QFETCH(int, status);
    QFETCH(int, version);
    QFETCH(int, fileOperation);
    QFETCH(bool, authenticated);
    const QByteArray path = QByteArray(QVKIOSK_SAMPLES_DIR "/") + file;

    QVCoreWrapper wrapper;
    QCOMPARE(wrapper.getKioskFileVersion(), 3);
    bool isKioskFile = true; // the wrapper clears it before asking
    QCOMPARE(wrapper.isKioskControllerFile(path.constData(), isKioskFile), status);
    QCOMPARE(isKioskFile, version != -99);
    if (!isKioskFile)
        return;
    std::int32_t read = -99;
    QCOMPARE(wrapper.getFileVersion(path.constData(), read), -1);
    QCOMPARE(read, version);

    bool permitted = false;
    std::int32_t operation = -1;
    const bool opens = fileOperation != -1;
    QCOMPARE(wrapper.getFileOperation(path.constData(), permitted, operation), opens);
    QCOMPARE(operation, fileOperation);
    bool opened = !authenticated;
    QCOMPARE(wrapper.checkPassCodeAndFileOperation(path.constData(),
                                                   code.constData(),
                                                   level,
                                                   opened,
                                                   permitted,
                                                   operation),
             opens);
    if (opens)
        QCOMPARE(opened, authenticated);
}

QTEST_GUILESS_MAIN(tst_QVCoreWrapper)
#include "tst_qvcorewrapper.moc"
