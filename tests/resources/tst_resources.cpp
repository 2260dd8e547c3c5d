// The resources compiled into the front-end library: they must reach an executable that
// links it, and hold what the program asks for by path and identifier.

#include <QtTest>

#include <QDirIterator>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QRegularExpression>
#include <QTranslator>

class TestResources final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();

    void translation_data();
    void translation();
    void missingIdentifierShowsItself();
    void everyIdentifierInTheCodeIsInTheTable();

    void imageLoads_data();
    void imageLoads();
    void hoverTwinIsADarkerRendition_data();
    void hoverTwinIsADarkerRendition();
    void splashIsLogoOnWhiteWithABand();

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

void TestResources::everyIdentifierInTheCodeIsInTheTable()
{
    // A missing text shows its identifier to the user; catch it here instead. Identifiers put
    // together at run time (a prefix ending in "_") are left out.
    static const QRegularExpression identifier(
        QStringLiteral("\\bID_RESSTR_[A-Z0-9_]*[A-Z0-9]\\b"));
    QStringList missing;
    int found = 0;
    QDirIterator files(QStringLiteral(QVKIOSK_SOURCE_DIR "/src"),
                       {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                       QDir::Files,
                       QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QString code = QString::fromUtf8(file.readAll());
        for (const QRegularExpressionMatch &match : identifier.globalMatch(code)) {
            ++found;
            const QString id = match.captured();
            if (QObject::tr(id.toLatin1().constData()) == id)
                missing << files.fileName() + QLatin1String(": ") + id;
        }
    }
    QVERIFY(found > 10);
    missing.removeDuplicates();
    QCOMPARE(missing, QStringList());
}

// Every image the program asks for by path.
static const char *const imagePaths[] = {
    ":/images/splash_qv_kiosk.png",
    ":/images/confirmation_icon/caution.svg",
    ":/images/confirmation_icon/error.svg",
    ":/images/confirmation_icon/info.svg",
    ":/images/file_icon/QVKiosk_file_icon.svg",
    ":/images/file_icon/QVKiosk_file_fix_icon.svg",
    ":/images/other/arrow_up.svg",
    ":/images/other/arrow_down.svg",
    ":/images/other/arrow_left.svg",
    ":/images/other/arrow_right.svg",
    ":/images/other/box.svg",
    ":/images/other/box_on.svg",
    ":/images/other/box_checkmark.svg",
    ":/images/other/faderknob.svg",
    ":/images/tool_bar_icon/PartitionLine.svg",
    ":/images/top_bar_icon/QV_Logo.svg",
    ":/images/top_bar_icon/kiosk/QV_LogoTextKiosk.svg",
};

// Icons shown on tool buttons and menus: each has a hover twin for the light-cyan hover background.
static const char *const hoverIconPaths[] = {
    ":/images/side_window_icon/Close_S.svg",
    ":/images/tool_bar_icon/OpenProjectFile.svg",
    ":/images/top_bar_icon/Close.svg",
    ":/images/top_bar_icon/Max.svg",
    ":/images/top_bar_icon/Min.svg",
    ":/images/top_bar_icon/Reduction.svg",
};

// ":/images/top_bar_icon/Max.svg" -> ":/images/top_bar_icon_black/Max.svg"
static QString hoverTwinPath(const QString &path)
{
    const qsizetype folderEnd = path.indexOf(QLatin1Char('/'), int(qstrlen(":/images/")));
    return path.left(folderEnd) + QLatin1String("_black") + path.mid(folderEnd);
}

// Mean lightness of the drawn (non-transparent) pixels, weighted by their opacity.
static double meanLightness(const QIcon &icon)
{
    const QImage image = icon.pixmap(QSize(24, 24)).toImage().convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    double weight = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor colour = image.pixelColor(x, y);
            sum += colour.lightnessF() * colour.alphaF();
            weight += colour.alphaF();
        }
    }
    return weight > 0 ? sum / weight : -1;
}

void TestResources::imageLoads_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path : imagePaths)
        QTest::newRow(path) << QString::fromLatin1(path);
    for (const char *path : hoverIconPaths) {
        QTest::newRow(path) << QString::fromLatin1(path);
        const QString twin = hoverTwinPath(QString::fromLatin1(path));
        QTest::newRow(qPrintable(twin)) << twin;
    }
}

void TestResources::imageLoads()
{
    QFETCH(QString, path);
    QVERIFY(QFile::exists(path));
    QVERIFY(!QPixmap(path).isNull());
    QVERIFY(!QIcon(path).pixmap(QSize(24, 24)).isNull());
}

void TestResources::hoverTwinIsADarkerRendition_data()
{
    QTest::addColumn<QString>("path");
    for (const char *path : hoverIconPaths)
        QTest::newRow(path) << QString::fromLatin1(path);
}

void TestResources::hoverTwinIsADarkerRendition()
{
    QFETCH(QString, path);
    const double normal = meanLightness(QIcon(path));
    const double hover = meanLightness(QIcon(hoverTwinPath(path)));
    // Light strokes for the dark bars, dark ones for the light hover background.
    QVERIFY2(normal > 0.7, qPrintable(QString::number(normal)));
    QVERIFY2(hover >= 0 && hover < 0.3, qPrintable(QString::number(hover)));
}

void TestResources::splashIsLogoOnWhiteWithABand()
{
    const QImage splash(QStringLiteral(":/images/splash_qv_kiosk.png"));
    QCOMPARE(splash.size(), QSize(800, 400));
    QCOMPARE(splash.pixelColor(0, 320), QColor(Qt::white));
    // The name, version and copyright are drawn in dark green over the bottom tenth.
    const QColor band = splash.pixelColor(400, 380);
    QVERIFY(band != QColor(Qt::white));
    QVERIFY(band.lightnessF() > 0.75);
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
