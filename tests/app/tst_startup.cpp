#include "app/runapplication.h"
#include "base/resourcestrings.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

class tst_Startup : public QObject
{
    Q_OBJECT

private slots:
    void identityWithoutTranslatorShowsIdentifiers();
    void identityWithTranslator();
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

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
