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
    void samePointerForSamePath();
    void missingPathLeavesNoEntry();
    void pointersStayValidThroughLaterInsertions();
    void hoverTwinIsActiveMode_data();
    void hoverTwinIsActiveMode();
    void variantFilesFollowTheRows_data();
    void variantFilesFollowTheRows();
};

void tst_ResourceImagesCache::samePointerForSamePath()
{
    auto cache = ResourceImagesCache::instance();
    QCOMPARE(ResourceImagesCache::instance(), cache);

    QIcon *icon = cache->icon(QStringLiteral(":/images/top_bar_icon/Min.svg"));
    QVERIFY(icon);
    QCOMPARE(cache->icon(QStringLiteral(":/images/top_bar_icon/Min.svg")), icon);

    QPixmap *pixmap = cache->pixmap(QStringLiteral(":/images/splash_qv_kiosk.png"));
    QVERIFY(pixmap);
    QCOMPARE(cache->pixmap(QStringLiteral(":/images/splash_qv_kiosk.png")), pixmap);
    // Paths compare case-sensitively: another spelling is another (missing) resource.
    QCOMPARE(cache->pixmap(QStringLiteral(":/images/SPLASH_QV_KIOSK.png")), nullptr);
}

void tst_ResourceImagesCache::missingPathLeavesNoEntry()
{
    auto cache = ResourceImagesCache::instance();
    const QString missing = QStringLiteral(":/images/no_such_image.svg");
    QCOMPARE(cache->icon(missing), nullptr);
    QCOMPARE(cache->pixmap(missing), nullptr);
    // Asked again, it is tried again and still null rather than a cached empty entry.
    QCOMPARE(cache->icon(missing), nullptr);
    QCOMPARE(cache->pixmap(missing), nullptr);
    QCOMPARE(cache->pixmap(QString()), nullptr);
}

void tst_ResourceImagesCache::pointersStayValidThroughLaterInsertions()
{
    // Widgets keep these pointers for the whole run while other widgets keep adding entries.
    auto cache = ResourceImagesCache::instance();
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

void tst_ResourceImagesCache::hoverTwinIsActiveMode_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QString>("twin");

    QTest::addRow("Max") << ":/images/top_bar_icon/Max.svg"
                         << ":/images/top_bar_icon_black/Max.svg";
    QTest::addRow("Close") << ":/images/top_bar_icon/Close.svg"
                           << ":/images/top_bar_icon_black/Close.svg";
    QTest::addRow("Close_S") << ":/images/side_window_icon/Close_S.svg"
                             << ":/images/side_window_icon_black/Close_S.svg";
}

void tst_ResourceImagesCache::hoverTwinIsActiveMode()
{
    QFETCH(QString, path);
    QFETCH(QString, twin);

    QIcon *icon = ResourceImagesCache::instance()->icon(path);
    QVERIFY(icon);
    const QImage active = rendered(*icon, QIcon::Active);
    QCOMPARE(active, renderedFile(twin));
    QVERIFY(active != rendered(*icon, QIcon::Normal));
}

void tst_ResourceImagesCache::variantFilesFollowTheRows_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<QStringList>("expected"); // "mode file" in the order they are added

    QTest::addRow("window button: hover only")
        << ":/images/top_bar_icon/Reduction.svg"
        << QStringList{"active :/images/top_bar_icon_black/Reduction.svg"};
    QTest::addRow("edit command: disabled, then hover")
        << ":/images/tool_bar_icon/Undo.svg"
        << QStringList{"disabled :/images/tool_bar_icon_disable/Undo.svg",
                       "active :/images/tool_bar_icon_black/Undo.svg"};
    QTest::addRow("first matching row decides")
        << ":/images/tool_bar_icon/OpenProjectFile.svg"
        << QStringList{"active :/images/tool_bar_icon_black/OpenProjectFile.svg"};
    QTest::addRow("kiosk title-bar icon keeps its subfolder")
        << ":/images/top_bar_icon/kiosk/List.svg"
        << QStringList{"active :/images/top_bar_icon_black/kiosk/List.svg"};
    QTest::addRow("last row") << ":/images/top_bar_icon/Min.svg"
                              << QStringList{"active :/images/top_bar_icon_black/Min.svg"};
    QTest::addRow("no row") << ":/images/file_icon/QVKiosk_file_icon.svg" << QStringList{};
    QTest::addRow("case matters") << ":/images/top_bar_icon/max.svg" << QStringList{};
    QTest::addRow("outside the images") << ":/top_bar_icon/Max.svg" << QStringList{};
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
