#include "app/commandline.h"
#include "app/relaystart.h"
#include "app/runapplication.h"
#include "base/resourcestrings.h"
#include "documents/documentsmanager.h"

#include "capturedoutput.h"

#include <QCoreApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

Q_DECLARE_METATYPE(CommandLine::Start)

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void identityWithoutTranslatorShowsIdentifiers();
    void identityWithTranslator();
    void commandLineStarts_data();
    void commandLineStarts();
    void relativeFileIsLeftToTheFileSystem();
    void relayBlockOfABadSizeIsLeftAlone();
};

void tst_Startup::identityWithoutTranslatorShowsIdentifiers()
{
    setApplicationIdentity("ID_RESSTR_APPLICATION_QVKIOSK", QStringLiteral("2.0.0.11"));
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("ID_RESSTR_APPLICATION_QVKIOSK"));
    QCOMPARE(QCoreApplication::organizationName(),
             QStringLiteral("ID_RESSTR_APPLICATION_ORGANIZATION"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("2.0.0.11"));
}

void tst_Startup::identityWithTranslator()
{
    QTranslator translator;
    QVERIFY(installResourceStrings(translator));
    setApplicationIdentity("ID_RESSTR_APPLICATION_QVKIOSK", QString());
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Quorvane Kiosk"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Brennix Corporation"));
    QCOMPARE(QCoreApplication::applicationVersion(), QString());
    QCoreApplication::removeTranslator(&translator);
}

void tst_Startup::commandLineStarts_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<CommandLine::Start>("start");
    using Start = CommandLine::Start;
    QTest::addRow("none") << QStringList() << Start::Plain;
    QTest::addRow("nonSplash") << QStringList{"nonSplash"} << Start::NonSplash;
    QTest::addRow("NONSPLASH is a file") << QStringList{"NONSPLASH"} << Start::File;
    QTest::addRow("three: ignored") << QStringList{"a", "b", "c"} << Start::Plain;
    QTest::addRow("four: relay") << QStringList{"a", "b", "c", "d"} << Start::Relay;
}

void tst_Startup::commandLineStarts()
{
    QFETCH(QStringList, arguments);
    QFETCH(CommandLine::Start, start);
    const CommandLine commandLine(QStringList{"qvkiosk"} + arguments);
    QCOMPARE(commandLine.start(), start);
    QCOMPARE(commandLine.showsSplash(), start != CommandLine::Start::NonSplash);
}

void tst_Startup::relativeFileIsLeftToTheFileSystem()
{
    // link -> real/inner, so link/.. is real, where the text alone says the current folder.
    const QTemporaryDir scratch;
    QVERIFY(QDir().mkpath(scratch.filePath("real/inner")));
    QVERIFY(QDir().mkpath(scratch.filePath("dir.qvksk")));
    QFile file(scratch.filePath("real/a.qvksk"));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(QFile::link(scratch.filePath("real/inner"), scratch.filePath("link")));
    const QString started = QDir::currentPath();
    QVERIFY(QDir::setCurrent(scratch.path()));

    const CommandLine throughLink({"qvkiosk", "link/../a.qvksk"});
    const CommandLine folder({"qvkiosk", "dir.qvksk/"});
    QDir::setCurrent(started);
    QCOMPARE(QFileInfo(throughLink.filePath()).canonicalFilePath(),
             QFileInfo(file).canonicalFilePath());
    // A trailing separator names a folder, not a controller file.
    QVERIFY(!DocumentsManager::isControllerFileName(folder.filePath()));
}

void tst_Startup::relayBlockOfABadSizeIsLeftAlone()
{
    const QString name = QStringLiteral("tstStartupCaller_%1")
                             .arg(QCoreApplication::applicationPid());
    QFile caller(QStringLiteral("/dev/shm/") + name);
    QVERIFY(caller.open(QIODevice::WriteOnly));
    caller.write("\xa5\x5a\xc3\x3c");
    caller.close();
    const CommandLine relayLine({"qvkiosk", "a1", "a2", name, "4"});
    RelayStart relay(relayLine);
    // "5": more than the block holds.
    for (const char *size : {"4x", "3", "5"}) {
        const QByteArray printed = capturedOutput(1, [&] {
            relay.reportRelayedProcessId(name.toStdString(), size);
        });
        QVERIFY2(printed.startsWith("Process id not reported"), size);
    }
    QVERIFY(caller.open(QIODevice::ReadOnly));
    QCOMPARE(caller.readAll(), QByteArray("\xa5\x5a\xc3\x3c"));
    QVERIFY(caller.remove());
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
