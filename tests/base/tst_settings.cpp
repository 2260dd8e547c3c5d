#include "base/settings.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>
#include <QTest>

class tst_Settings : public QObject
{
    Q_OBJECT

private slots:
    void filePathFollowsMajorMinor_data();
    void filePathFollowsMajorMinor();
    void defaultsAndStoredValues();
    void valuesReachTheFile();

private:
    QString configFolder() const
    {
        return qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Brennix/QVKiosk");
    }
};

void tst_Settings::filePathFollowsMajorMinor_data()
{
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("folder");

    QTest::addRow("2.0.0.11") << "2.0.0.11"
                              << "V2.0";
    QTest::addRow("2.1.5.3") << "2.1.5.3"
                             << "V2.1";
    QTest::addRow("2.0.7.1 shares 2.0") << "2.0.7.1"
                                        << "V2.0";
    QTest::addRow("two-digit major") << "10.2.0.1"
                                     << "V10.2";
    QTest::addRow("two-digit minor") << "3.12.0.0"
                                     << "V3.12";
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

    QCOMPARE(path, configFolder() + QLatin1Char('/') + folder + QStringLiteral("/tst_settings.ini"));
}

void tst_Settings::defaultsAndStoredValues()
{
    QCOMPARE(settingsValue(QStringLiteral("NeverWritten"), 42), QVariant(42));
    QVERIFY(!settingsValue(QStringLiteral("NeverWritten")).isValid());

    // A stored empty value is a value: the caller's default must not replace it.
    setSettingsValue(QStringLiteral("RecentlyUsedFiles"), QString());
    QCOMPARE(settingsValue(QStringLiteral("RecentlyUsedFiles"), QStringLiteral("default")).toString(),
             QString());

    setSettingsValue(QStringLiteral("StateMainWindowMaximized"), true);
    QCOMPARE(settingsValue(QStringLiteral("StateMainWindowMaximized"), false).toBool(), true);
}

void tst_Settings::valuesReachTheFile()
{
    const QRect geometry(10, 20, 640, 480);
    setSettingsValue(QStringLiteral("GeometryMainWindow"), geometry);
    settings().sync();

    // The folder did not exist before the first write; the store made it.
    const QString path = settingsFilePath();
    QCOMPARE(settings().fileName(), path);
    QVERIFY(QFileInfo::exists(path));
    QSettings reader(path, QSettings::IniFormat);
    QCOMPARE(reader.value(QStringLiteral("GeometryMainWindow")).toRect(), geometry);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationVersion(QStringLiteral("2.0.0.11"));
    tst_Settings test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_settings.moc"
