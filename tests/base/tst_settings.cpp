#include "base/settings.h"

#include "capturedoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QTest>

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void filePathFollowsMajorMinor_data();
    void filePathFollowsMajorMinor();
    // First to open the store, which is opened once per process.
    void damagedFileIsKeptAsideNotWrittenOver();
    void valuesReachTheFileAndDefaultsStandIn();
    void unwritableFileIsReportedOnce();
};

void tst_Settings::filePathFollowsMajorMinor_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("folder");
    // clang-format off
    QTest::addRow("build numbers left out") << "2.1.5.3" << "V2.1";
    QTest::addRow("two-digit numbers") << "10.12.0.1" << "V10.12";
    QTest::addRow("major only") << "7" << "V7.0";
    QTest::addRow("empty") << "" << "V0.0";
    QTest::addRow("leading dot") << ".5" << "V0.5";
    // clang-format on
}

void tst_Settings::filePathFollowsMajorMinor()
{
    QFETCH(QString, version);
    QFETCH(QString, folder);

    const QString saved = QCoreApplication::applicationVersion();
    QCoreApplication::setApplicationVersion(version);
    const QString path = settingsFilePath();
    QCoreApplication::setApplicationVersion(saved);

    QCOMPARE(path,
             qEnvironmentVariable("XDG_CONFIG_HOME") + "/Brennix/QVKiosk/" + folder
                 + "/tst_settings.ini");
}

void tst_Settings::damagedFileIsKeptAsideNotWrittenOver()
{
    const QString path = settingsFilePath();
    QFile::remove(QFileInfo(path).path()); // left by a failed run of the unwritable test
    QVERIFY(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray damaged = QByteArray(200 * 1024, '\xff')
                               + "\n[General]\nRecentlyUsedFiles=kept\n";
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(damaged);
    file.close();

    QByteArray printed;
    QVariant value;
    printed = capturedOutput(1, [&] { value = settingsValue(QStringLiteral("RecentlyUsedFiles")); });
    QCOMPARE(value, QVariant());
    const QStringList aside = QDir(QFileInfo(path).path())
                                  .entryList({QFileInfo(path).fileName() + ".damaged-*"});
    QCOMPARE(aside.size(), 1);
    QFile kept(QFileInfo(path).path() + "/" + aside.first());
    QVERIFY(kept.open(QIODevice::ReadOnly));
    QCOMPARE(kept.readAll(), damaged);
    QVERIFY2(printed.contains(path.toLocal8Bit()) && printed.contains(aside.first().toLocal8Bit()),
             printed.constData());
    QVERIFY(kept.remove());
}

void tst_Settings::valuesReachTheFileAndDefaultsStandIn()
{
    QCOMPARE(settingsValue(QStringLiteral("NeverWritten"), 42), QVariant(42));
    const QRect geometry(10, 20, 640, 480);
    setSettingsValue(QStringLiteral("GeometryMainWindow"), geometry);
    settings().sync();

    const QString path = settingsFilePath();
    QVERIFY(path.endsWith(QStringLiteral("/V2.0/tst_settings.ini")));
    QCOMPARE(QSettings(path, QSettings::IniFormat).value("GeometryMainWindow").toRect(), geometry);
}

void tst_Settings::unwritableFileIsReportedOnce()
{
    // A file where the settings folder should be: not even root can write there.
    const QString folder = QFileInfo(settingsFilePath()).path();
    QVERIFY(QDir(folder).removeRecursively());
    QFile blocker(folder);
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();

    const QByteArray printed = capturedOutput(1, [] {
        setSettingsValue(QStringLiteral("StateMainWindowMaximized"), true);
        setSettingsValue(QStringLiteral("StateMainWindowMaximized"), false);
    });
    QCOMPARE(printed.count("cannot be written"), 1);
    QVERIFY(printed.contains(settingsFilePath().toLocal8Bit()));
    QVERIFY(blocker.remove());
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    tst_Settings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
