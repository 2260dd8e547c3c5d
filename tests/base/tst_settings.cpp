#include "base/settings.h"

#include <QCoreApplication>
#include <QSettings>
#include <QTest>

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void filePathFollowsMajorMinor_data();
    void filePathFollowsMajorMinor();
    void valuesReachTheFileAndDefaultsStandIn();
};

void tst_Settings::filePathFollowsMajorMinor_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("folder");
    QTest::addRow("build numbers left out") << "2.1.5.3"
                                            << "V2.1";
    QTest::addRow("two-digit numbers") << "10.12.0.1"
                                       << "V10.12";
    QTest::addRow("major only") << "7"
                                << "V7.0";
    QTest::addRow("empty") << ""
                           << "V0.0";
    QTest::addRow("leading dot") << ".5"
                                 << "V0.5";
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

void tst_Settings::valuesReachTheFileAndDefaultsStandIn()
{
    QCOMPARE(settingsValue(QStringLiteral("NeverWritten"), 42), QVariant(42));
    const QRect geometry(10, 20, 640, 480);
    setSettingsValue(QStringLiteral("GeometryMainWindow"), geometry);
    settings().sync();

    // The folder did not exist before the first write; the store made it.
    const QString path = settingsFilePath();
    QVERIFY(path.endsWith(QStringLiteral("/V2.0/tst_settings.ini")));
    QCOMPARE(QSettings(path, QSettings::IniFormat).value("GeometryMainWindow").toRect(), geometry);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    tst_Settings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
