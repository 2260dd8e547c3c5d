// The style sheets' colours on real widgets, and the icon cache.

#include "base/appstyle.h"
#include "style/customtoolbar.h"
#include "style/resourceimagescache.h"
#include "style/stylesheets.h"

#include <QtTest>

#include <QtWidgets>

class TestStyle final : public QObject
{
    Q_OBJECT

private slots:
    // A sheet that no longer parses, or a rule lost or changed, shows here as another colour.
    void sheetsPaintTheirColours_data()
    {
        QTest::addColumn<QString>("widget");
        QTest::addColumn<QColor>("colour"); // near the right edge, half-way down (beside the menu)
        QTest::addRow("dialog") << "dialog" << QColor(180, 180, 180);
        QTest::addRow("dialog's button") << "button" << QColor(141, 141, 141);
        QTest::addRow("menu bar") << "menubar" << QColor(153, 153, 153);
        QTest::addRow("dark menu") << "dark menu" << QColor(41, 41, 41);
        QTest::addRow("light menu") << "light menu" << QColor(240, 240, 240);
    }

    void sheetsPaintTheirColours()
    {
        QFETCH(QString, widget);
        QTest::failOnWarning(QRegularExpression(QStringLiteral("parse")));
        QDialog dialog;
        dialog.resize(300, 200);
        dialog.setStyleSheet(dialogStyleSheet() + scrollBarStyleSheet() + tabBarStyleSheet());
        QPushButton button(QStringLiteral("OK"), &dialog);
        QMenuBar bar(&dialog);
        setStyleSheetWhenPolished(&bar, menuBarStyleSheet());
        bar.addMenu(QStringLiteral("File"))->addAction(QStringLiteral("Exit"));
        QMenu menu(&dialog);
        setMenuStyleSheetOnShow(&menu, widget.startsWith("dark"));
        menu.addAction(QStringLiteral("Entry"));
        const QHash<QString, QWidget *> all{{"button", &button}, {"menubar", &bar}, {"menu", &menu}};
        QWidget *shown = all.value(widget.section(' ', -1), &dialog);
        if (shown == &menu)
            menu.popup(QPoint()); // its sheet comes with its first show
        if (shown != &dialog)
            shown->resize(shown == &bar ? 200 : shown->sizeHint().width(),
                          shown->sizeHint().height());
        const QImage image = shown->grab().toImage();
        QTEST(image.pixelColor(image.width() - 2, image.height() / 2), "colour");
    }

    // Widgets keep these pointers for the whole run while others keep adding entries.
    void cacheHandsOutLastingPointers()
    {
        auto cache = ResourceImagesCache::instance();
        QIcon *icon = cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg"));
        QPixmap *pixmap = cache->pixmap(QStringLiteral(":/images/other/box.svg"));
        QVERIFY(icon && pixmap);
        // Every spelling is a key of its own, and each loads: the resource system cleans it.
        for (int n = 1; n <= 1000; ++n) {
            const QString spelling = QStringLiteral(":/images/") + QStringLiteral("./").repeated(n);
            QVERIFY(cache->icon(spelling + QStringLiteral("top_bar_icon/Min.svg")));
            QVERIFY(cache->pixmap(spelling + QStringLiteral("other/box_on.svg")));
        }
        QCOMPARE(cache->icon(QStringLiteral(":/images/top_bar_icon/Max.svg")), icon);
        QCOMPARE(cache->pixmap(QStringLiteral(":/images/other/box.svg")), pixmap);
    }

    // Read only when first drawn, the tool-bar extension arrows are still the base style's.
    void extensionIconsAreTheBaseStyles()
    {
        const AppStyle style(QStringLiteral("Fusion"));
        const std::unique_ptr<QStyle> base(QStyleFactory::create(QStringLiteral("Fusion")));
        for (const auto icon : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                QStyle::SP_ToolBarVerticalExtensionButton}) {
            const QImage expected = base->standardIcon(icon).pixmap(32).toImage();
            QVERIFY(!expected.isNull());
            QCOMPARE(style.standardIcon(icon, nullptr, nullptr).pixmap(32).toImage(), expected);
        }
    }

    // Tool-bar buttons: flat, light cyan under the mouse, a pixel and a half around the icon.
    void flatToolButtons()
    {
        const AppStyle style(QStringLiteral("Fusion"));
        CustomToolBar bar;
        const QWidget *button = bar.widgetForAction(bar.addAction(QStringLiteral("A")));
        QStyleOptionToolButton option;
        option.rect = QRect(0, 0, 27, 27);
        option.state = QStyle::State_Enabled | QStyle::State_AutoRaise;
        for (const QColor ground : {QColor(Qt::red), QColor(203, 254, 255)}) {
            QImage image(27, 27, QImage::Format_ARGB32);
            image.fill(Qt::red);
            QPainter painter(&image);
            style.drawComplexControl(QStyle::CC_ToolButton, &option, &painter, button);
            painter.end();
            QCOMPARE(image.pixelColor(0, 0), ground);
            QCOMPARE(style.sizeFromContents(QStyle::CT_ToolButton, &option, QSize(24, 24), button),
                     QSize(27, 27));
            option.state |= QStyle::State_MouseOver;
        }
    }
};

QTEST_MAIN(TestStyle)
#include "tst_style.moc"
