// The look as drawn: the style sheets' colours on real widgets, and the icon cache's pictures.

#include "base/appstyle.h"
#include "style/resourceimagescache.h"
#include "style/stylesheets.h"

#include <QtTest>

#include <QDialog>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabBar>

namespace {

QImage rendered(const QIcon &icon, QIcon::Mode mode = QIcon::Normal)
{
    return icon.pixmap(QSize(32, 32), mode, QIcon::Off).toImage();
}

} // namespace

class TestStyle final : public QObject
{
    Q_OBJECT

private slots:
    // A sheet that no longer parses, or a rule lost or changed, shows here as another colour.
    void sheetsPaintTheirColours_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QColor>("colour"); // just inside the widget's top-left corner
        QTest::addRow("dialog") << "dialog" << QColor(180, 180, 180);
        QTest::addRow("dialog's button") << "button" << QColor(141, 141, 141);
        QTest::addRow("unselected tab") << "tab" << QColor(0, 0, 0);
        QTest::addRow("menu bar") << "menubar" << QColor(153, 153, 153);
        QTest::addRow("dark menu") << "dark menu" << QColor(41, 41, 41);
        QTest::addRow("light menu") << "light menu" << QColor(240, 240, 240);
    }

    void sheetsPaintTheirColours()
    {
        QFETCH(QString, widget);
        QFETCH(QColor, colour);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("parse")));
        QDialog dialog;
        dialog.setStyleSheet(dialogStyleSheet() + scrollBarStyleSheet() + tabBarStyleSheet());
        QWidget *shown = &dialog;
        if (widget == "button") {
            shown = new QPushButton(QStringLiteral("OK"), &dialog);
        } else if (widget == "tab") {
            auto tabs = new QTabBar(&dialog);
            tabs->addTab(QStringLiteral("one"));
            tabs->addTab(QStringLiteral("two"));
            tabs->setCurrentIndex(0);
            shown = tabs;
        } else if (widget == "menubar") {
            auto bar = new QMenuBar(&dialog);
            setStyleSheetWhenPolished(bar, menuBarStyleSheet());
            bar->addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
            shown = bar;
        } else if (widget.endsWith("menu")) {
            auto menu = new QMenu(&dialog);
            setMenuStyleSheetOnShow(menu, widget.startsWith("dark"));
            menu->addAction(QStringLiteral("Entry"));
            menu->popup(QPoint());
            shown = menu;
        }
        dialog.resize(300, 200);
        shown->adjustSize();
        if (widget == "menubar")
            shown->resize(200, shown->height());
        const QImage image = shown->grab().toImage();
        // Beside the last tab or menu, or in a corner.
        const QPoint sample = widget == "tab" || widget == "menubar"
                                  ? QPoint(image.width() - 2, image.height() / 2)
                                  : QPoint(4, 4);
        QCOMPARE(image.pixelColor(sample), colour);
    }

    void everyImageASheetNamesExists()
    {
        static const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
        const QString sheets = dialogStyleSheet() + scrollBarStyleSheet() + menuStyleSheet(true)
                               + flatButtonStyleSheet() + toolBarStyleSheet();
        int images = 0;
        for (const QRegularExpressionMatch &match : url.globalMatch(sheets)) {
            QVERIFY2(QFile::exists(match.captured(1)), qPrintable(match.captured(1)));
            ++images;
        }
        QVERIFY(images > 10);
    }

    void missingPathGivesNullAndIsTriedAgain()
    {
        auto cache = ResourceImagesCache::instance();
        // Paths compare case-sensitively: another spelling is another (missing) resource.
        for (const QString missing :
             {":/images/no_such_image.svg", ":/images/SPLASH_QV_KIOSK.png"}) {
            for (int attempt = 0; attempt < 2; ++attempt) { // no cached empty entry either
                QCOMPARE(cache->icon(missing), nullptr);
                QCOMPARE(cache->pixmap(missing), nullptr);
            }
        }
    }

    // Widgets keep these pointers for the whole run while other widgets keep adding entries.
    void pointersStayValidThroughLaterInsertions()
    {
        auto cache = ResourceImagesCache::instance();
        QIcon *icon = cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg"));
        QPixmap *pixmap = cache->pixmap(QStringLiteral(":/images/other/box.svg"));
        QVERIFY(icon && pixmap);
        const qint64 iconKey = icon->cacheKey();
        // Every spelling is a key of its own, and each loads: the resource system cleans it.
        for (int n = 1; n <= 1000; ++n) {
            const QString spelling = QStringLiteral(":/images/") + QStringLiteral("./").repeated(n);
            QVERIFY(cache->icon(spelling + QStringLiteral("top_bar_icon/Min.svg")));
            QVERIFY(cache->pixmap(spelling + QStringLiteral("other/box_on.svg")));
        }
        QCOMPARE(cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg")), icon);
        QCOMPARE(cache->pixmap(QStringLiteral(":/images/other/box.svg")), pixmap);
        QCOMPARE(icon->cacheKey(), iconKey);
    }

    // Hovered, a button's icon turns dark; a file icon stays as it is.
    void hoveredIconsShowTheirTwins_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("twin"); // empty: none
        QTest::addRow("title bar") << ":/images/top_bar_icon/Close.svg"
                                   << ":/images/top_bar_icon_black/Close.svg";
        QTest::addRow("tool bar") << ":/images/tool_bar_icon/OpenProjectFile.svg"
                                  << ":/images/tool_bar_icon_black/OpenProjectFile.svg";
        QTest::addRow("file") << ":/images/file_icon/QVKiosk_file_icon.svg"
                              << "";
    }

    void hoveredIconsShowTheirTwins()
    {
        QFETCH(QString, path);
        QFETCH(QString, twin);
        QIcon *icon = ResourceImagesCache::instance()->icon(path);
        QVERIFY(icon);
        QCOMPARE(rendered(*icon, QIcon::Active), rendered(QIcon(twin.isEmpty() ? path : twin)));
        QCOMPARE(rendered(*icon, QIcon::Active) == rendered(*icon), twin.isEmpty());
    }

    // Read only when first drawn, the tool-bar extension arrows are still the base style's.
    void extensionIconsAreTheBaseStyles()
    {
        const AppStyle style(QStringLiteral("Fusion"));
        const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const auto icon : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage expected = rendered(base->standardIcon(icon));
            QVERIFY(!expected.isNull());
            QCOMPARE(rendered(style.standardIcon(icon, nullptr, nullptr)), expected);
        }
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
