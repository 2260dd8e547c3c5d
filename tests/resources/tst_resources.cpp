// The resources compiled into the front-end library: they must reach an executable that
// links it, and hold what the program asks for by path and identifier.

#include <QtTest>

#include <QFontDatabase>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QTranslator>

class TestResources final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void translation_data();
    void translation();
    void missingIdentifierShowsItself();

    void fontRegistersWithAFamily();
    void legalNamesEachComponent_data();
    void legalNamesEachComponent();

private:
    QTranslator translator;
};

void TestResources::initTestCase()
{
    // Loaded exactly as the program loads it: resource path, default delimiters and suffix.
    QVERIFY(translator.load(QStringLiteral(":/resource_strings_en")));
    QVERIFY(QCoreApplication::installTranslator(&translator));
}

void TestResources::translation_data()
{
    QTest::addColumn<QByteArray>("id");
    QTest::addColumn<QString>("text");
    QTest::addRow("application name")
        << QByteArray("ID_RESSTR_APPLICATION_QVKIOSK") << "Quorvane Kiosk";
    QTest::addRow("organisation") << QByteArray("ID_RESSTR_APPLICATION_ORGANIZATION")
                                  << "Brennix Corporation";
    QTest::addRow("line break and placeholder")
        << QByteArray("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEFAILEDTOOPENFILE")
        << "Failed to open file.\nError code : %1";
    QTest::addRow("two placeholders")
        << QByteArray("ID_RESSTR_DOCUMENTSMANAGER_MESSAGEUNSUPPORTEDVERSION")
        << "%1 created using a newer version of %2.\nPlease download and install "
           "the latest version to open this file.";
    QTest::addRow("leading and trailing line breaks")
        << QByteArray("ID_RESSTR_RECENTFILESAREA_SUFFIX") << "\n\nSelected file:\n";
    QTest::addRow("trailing blank")
        << QByteArray("ID_RESSTR_DIALOGAUTHENTICATE_TITLE2") << "Enter code to load ";
    QTest::addRow("accelerator") << QByteArray("ID_RESSTR_ACTIONS_FILEEXIT") << "E&xit";
    QTest::addRow("version format")
        << QByteArray("ID_RESSTR_DIALOGABOUT_VERSIONFORMAT") << "%1 Ver.%2";
    QTest::addRow("sibling application")
        << QByteArray("ID_RESSTR_APPLICATION_QVCONTROL") << "Quorvane Control PLUS";
}

void TestResources::translation()
{
    QFETCH(QByteArray, id);
    QFETCH(QString, text);
    QCOMPARE(QObject::tr(id.constData()), text);
}

void TestResources::missingIdentifierShowsItself()
{
    QCOMPARE(QObject::tr("ID_RESSTR_NOSUCHAREA_NOSUCHKEY"),
             QStringLiteral("ID_RESSTR_NOSUCHAREA_NOSUCHKEY"));
    // The copyright notice is our own wording, so only its presence and shape are fixed.
    const QString copyright = QObject::tr("ID_RESSTR_DIALOGABOUT_COPYRIGHT");
    QVERIFY(copyright.contains(QLatin1String("Brennix Corporation")));
    QVERIFY(!copyright.contains(QLatin1Char('\n')));
}

void TestResources::fontRegistersWithAFamily()
{
    const int id = QFontDatabase::addApplicationFont(
        QStringLiteral(":/fonts/NotoSans-Regular.ttf"));
    QVERIFY(id != -1);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    QVERIFY(!families.isEmpty());
    QCOMPARE(families.first(), QStringLiteral("Noto Sans"));
}

void TestResources::legalNamesEachComponent_data()
{
    QTest::addColumn<QString>("component");
    QTest::addColumn<QString>("licence");
    QTest::addRow("Qt") << "Qt 6"
                        << "GNU Lesser General Public License";
    QTest::addRow("Boost") << "Boost"
                           << "Boost Software License";
    QTest::addRow("Noto Sans") << "Noto Sans"
                               << "SIL OPEN FONT LICENSE Version 1.1";
    QTest::addRow("libsodium") << "libsodium"
                               << "ISC License";
    QTest::addRow("JSON for Modern C++") << "JSON for Modern C++"
                                         << "MIT License";
}

void TestResources::legalNamesEachComponent()
{
    QFETCH(QString, component);
    QFETCH(QString, licence);
    QFile file(QStringLiteral(":/legal.txt"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    // Each component has a heading of its own, followed (somewhere) by its licence text.
    const qsizetype heading = text.indexOf(
        QRegularExpression(QStringLiteral("^\\d+\\. %1$").arg(QRegularExpression::escape(component)),
                           QRegularExpression::MultilineOption));
    QVERIFY2(heading >= 0, qPrintable(component));
    QVERIFY(text.indexOf(licence, heading) > heading);
}

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
