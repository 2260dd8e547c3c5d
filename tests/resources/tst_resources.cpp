// The resources linked into an executable hold what the program asks for by path and identifier.

#include "base/resourcestrings.h"
#include "style/resourceimagescache.h"
#include "style/stylesheets.h"

#include <QtTest>

#include <QtGui>

namespace {

// Every match of pattern in the front end's sources.
QStringList matchesInTheCode(const QString &pattern)
{
    QStringList found;
    const QRegularExpression expression(pattern);
    QDirIterator files(QVKIOSK_SRC_DIR, {"*.cpp", "*.h"}, QDir::Files, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        QFile file(files.next());
        if (!file.open(QIODevice::ReadOnly))
            qFatal("cannot read %s", qPrintable(file.fileName()));
        for (const QRegularExpressionMatch &match : expression.globalMatch(file.readAll()))
            found << match.captured(1);
    }
    found.removeDuplicates();
    return found;
}

// Lightness of the drawn pixels' mean colour (transparent ones weigh nothing); -1: none drawn.
double meanLightness(const QString &path)
{
    const QImage image = QIcon(path).pixmap(24).toImage();
    const QColor mean = image.scaled(1, 1, Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                            .pixelColor(0, 0);
    return mean.alpha() > 0 ? mean.lightnessF() : -1;
}

} // namespace

class TestResources final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(installResourceStrings(*new QTranslator(qApp))); }

    void everyIdentifierInTheCodeIsInTheTable()
    {
        // A missing text shows its identifier; those built at run time (ending in "_") are not.
        QStringList missing = matchesInTheCode("\\b(ID_RESSTR_[A-Z0-9_]*[A-Z0-9])\\b");
        QVERIFY(missing.size() > 10);
        missing.removeIf([](const QString &id) { return QObject::tr(id.toLatin1()) != id; });
        QCOMPARE(missing, QStringList());
    }

    // Every image the code or a sheet names loads, so does its twin of dark strokes for the hover.
    void everyImageTheCodeNamesLoadsWithADarkerHoverTwin()
    {
        auto found = matchesInTheCode("\"(:/images/[^\"]+\\.(svg|png))\"");
        QVERIFY(found.size() > 10);
        static const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
        const QString sheets = dialogStyleSheet() + scrollBarStyleSheet() + menuStyleSheet(true)
                               + flatButtonStyleSheet();
        for (const QRegularExpressionMatch &match : url.globalMatch(sheets))
            found << match.captured(1);
        int twins = 0;
        for (const QString &path : found) {
            QVERIFY2(!QPixmap(path).isNull(), qPrintable(path));
            QString hovered = path; // what the cache's icon shows under the mouse
            for (const auto &[mode, twin] : ResourceImagesCache::variantFiles(path)) {
                QVERIFY2(!QPixmap(twin).isNull(), qPrintable(twin));
                if (mode != QIcon::Active)
                    continue;
                ++twins;
                hovered = twin;
                QVERIFY2(meanLightness(path) > 0.7, qPrintable(path));
                QVERIFY2(meanLightness(twin) >= 0 && meanLightness(twin) < 0.3, qPrintable(twin));
            }
            const QIcon *icon = ResourceImagesCache::instance()->icon(path);
            const QImage shown = icon ? icon->pixmap(32, QIcon::Active).toImage() : QImage();
            QVERIFY2(shown == QIcon(hovered).pixmap(32).toImage(), qPrintable(path));
        }
        QVERIFY(twins >= 5);
    }
};

QTEST_MAIN(TestResources)
#include "tst_resources.moc"
