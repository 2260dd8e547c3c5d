#include "style/resourceimagescache.h"

#include <QTest>

namespace {

QImage rendered(const QIcon &icon, QIcon::Mode mode)
{
    return icon.pixmap(QSize(32, 32), mode, QIcon::Off).toImage();
}

QImage renderedFile(const QString &path)
{
    return QIcon(path).pixmap(QSize(32, 32)).toImage();
}

} // namespace

class tst_ResourceImagesCache : public QObject
{
    Q_OBJECT

private slots:
    void missingPathGivesNullAndIsTriedAgain();
    void pointersStayValidThroughLaterInsertions();
    void iconShowsItsHoverTwinWhenActive();
    void variantFilesFollowTheRows_data();
    void variantFilesFollowTheRows();
};

void tst_ResourceImagesCache::missingPathGivesNullAndIsTriedAgain()
{
    auto cache = ResourceImagesCache::instance();
    // Paths compare case-sensitively: another spelling is another (missing) resource.
    for (const QString &missing : {QStringLiteral(":/images/no_such_image.svg"),
                                   QStringLiteral(":/images/SPLASH_QV_KIOSK.png")}) {
        // Asked twice: the second time must not find a cached empty entry either.
        for (int attempt = 0; attempt < 2; ++attempt) {
            QCOMPARE(cache->icon(missing), nullptr);
            QCOMPARE(cache->pixmap(missing), nullptr);
        }
    }
}

void tst_ResourceImagesCache::pointersStayValidThroughLaterInsertions()
{
    // Widgets keep these pointers for the whole run while other widgets keep adding entries.
    auto cache = ResourceImagesCache::instance();
    QCOMPARE(ResourceImagesCache::instance(), cache);
    QIcon *icon = cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg"));
    QPixmap *pixmap = cache->pixmap(QStringLiteral(":/images/other/box.svg"));
    QVERIFY(icon && pixmap);
    const qint64 iconKey = icon->cacheKey();
    const qint64 pixmapKey = pixmap->cacheKey();
    // Every spelling is a key of its own, and each loads: the resource system cleans the path.
    for (int n = 1; n <= 1000; ++n) {
        const QString spelling = QStringLiteral(":/images/") + QStringLiteral("./").repeated(n);
        QVERIFY(cache->icon(spelling + QStringLiteral("top_bar_icon/Min.svg")));
        QVERIFY(cache->pixmap(spelling + QStringLiteral("other/box_on.svg")));
    }
    QCOMPARE(cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg")), icon);
    QCOMPARE(cache->pixmap(QStringLiteral(":/images/other/box.svg")), pixmap);
    QCOMPARE(icon->cacheKey(), iconKey);
    QCOMPARE(pixmap->cacheKey(), pixmapKey);
}

// Which twins a path gets is checked on variantFiles; here, that the icon shows them.
void tst_ResourceImagesCache::iconShowsItsHoverTwinWhenActive()
{
    QIcon *icon = ResourceImagesCache::instance()->icon(
        QStringLiteral(":/images/top_bar_icon/Close.svg"));
    QVERIFY(icon);
    const QImage active = rendered(*icon, QIcon::Active);
    QCOMPARE(active, renderedFile(QStringLiteral(":/images/top_bar_icon_black/Close.svg")));
    QVERIFY(active != rendered(*icon, QIcon::Normal));
}

void tst_ResourceImagesCache::variantFilesFollowTheRows_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected"); // "mode file" in the order they are added

    // clang-format off
    QTest::addRow("window button: hover only") << ":/images/top_bar_icon/Reduction.svg" << QStringList{"active :/images/top_bar_icon_black/Reduction.svg"};
    QTest::addRow("edit command: disabled, then hover") << ":/images/tool_bar_icon/Undo.svg" << QStringList{"disabled :/images/tool_bar_icon_disable/Undo.svg", "active :/images/tool_bar_icon_black/Undo.svg"};
    QTest::addRow("kiosk title-bar icon keeps its subfolder (last row)") << ":/images/top_bar_icon/kiosk/List.svg" << QStringList{"active :/images/top_bar_icon_black/kiosk/List.svg"};
    QTest::addRow("no row") << ":/images/file_icon/QVKiosk_file_icon.svg" << QStringList{};
    QTest::addRow("case matters") << ":/images/top_bar_icon/max.svg" << QStringList{};
    QTest::addRow("outside the images") << ":/top_bar_icon/Max.svg" << QStringList{};
    // clang-format on
}

void tst_ResourceImagesCache::variantFilesFollowTheRows()
{
    QFETCH(QString, path);
    QFETCH(QStringList, expected);

    QStringList actual;
    const auto files = ResourceImagesCache::variantFiles(path);
    for (const auto &[mode, file] : files)
        actual << (mode == QIcon::Disabled ? "disabled "
                   : mode == QIcon::Active ? "active "
                                           : "other ")
                      + file;
    QCOMPARE(actual, expected);
}

QTEST_MAIN(tst_ResourceImagesCache)
#include "tst_resourceimagescache.moc"
