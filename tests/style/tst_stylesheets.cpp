#include "base/appfont.h"
#include "style/stylesheets.h"

#include <QRegularExpression>
#include <QTest>

// The expected sheets, rule by rule, as selector " | " declarations joined by "; ". S(n) is
// scaledSize(n); L and T are the menu's background and text levels; "~" marks a fixed-text
// declaration, which the sheet writes with a leading tab.
namespace {

const char *const dialogRules[] = {
    "QDialog | background-color: rgba(180, 180, 180, 255)",
    "QPushButton | background-color: rgba(141, 141, 141, 255); ~border-style: none; min-width: "
    "S(72)px; min-height: S(20)px",
    "QPushButton:focus | background-color: rgba(130, 130, 130, 255); border: S(1)px solid rgba(51, "
    "51, 51, 255)",
    "QPushButton:pressed | background-color: rgba(120, 120, 120, 255)",
    "QRadioButton::indicator:unchecked | ~image: url(:/images/other/box.svg)",
    "QRadioButton::indicator:checked | ~image: url(:/images/other/box_on.svg)",
    "QTextEdit | ~background-color: transparent; border: S(1)px solid rgba(141, 141, 141, 255); "
    "selection-background-color: rgba(141, 141, 141, 255)",
    "QCheckBox::indicator:unchecked | ~image: url(:/images/other/box.svg)",
    "QCheckBox::indicator:checked | ~image: url(:/images/other/box_checkmark.svg)",
    "QListView | ~background-color: transparent; border: S(1)px solid rgba(141, 141, 141, 255); "
    "~outline: 0",
    "QListView:focus | border: S(1)px solid rgba(51, 51, 51, 255)",
    "QListView::item:selected:active | background-color: rgba(234, 234, 234, 255); ~color: black",
    "QListView::item:selected:!active | background-color: rgba(234, 234, 234, 255); ~color: black",
    "QListView::item:hover | background-color: rgba(234, 234, 234, 255)",
    "QTabWidget::pane | ~background-color: transparent; border: S(1)px solid rgba(51, 51, 51, 255)",
    "QTreeWidget | background-color: rgba(180, 180, 180, 255); border: S(1)px solid rgba(141, 141, "
    "141, 255); ~outline: 0",
    "QTreeWidget::item:selected:active | ~background-color: rgb(203, 254, 255); ~color: black",
    "QTreeWidget::item:selected:!active | ~background-color: rgb(203, 254, 255); ~color: black",
    "QTreeWidget::item:hover | ~background-color: rgb(203, 254, 255)",
    "QHeaderView::section | background-color: rgba(180, 180, 180, 255); border: S(1)px solid "
    "rgba(180, 180, 180, 255); border-bottom: S(1)px solid rgba(141, 141, 141, 255); border-right: "
    "S(1)px solid rgba(141, 141, 141, 255); padding-left: S(4)px",
    "QSlider::groove:horizontal | background-color: rgba(141, 141, 141, 255); height: S(2)px",
    "QSlider::handle:horizontal | ~image: url(:/images/other/faderknob.svg); margin-top: S(-10)px; "
    "margin-bottom: S(-10)px",
    "QGroupBox | ~border: 0; margin-top: S(10)px",
    "QGroupBox::title | ~subcontrol-origin: margin",
    "QLineEdit | border: S(1)px solid rgba(141, 141, 141, 255); background-color: rgba(180, 180, "
    "180, 255); selection-background-color: rgba(141, 141, 141, 255)",
    "QLineEdit:focus | border: S(1)px solid rgba(51, 51, 51, 255)",
    "QComboBox | border: S(1)px solid rgba(141, 141, 141, 255); selection-background-color: "
    "rgba(141, 141, 141, 255)",
    "QComboBox:focus | border: S(1)px solid rgba(51, 51, 51, 255)",
    "QComboBox:editable | background-color: rgba(180, 180, 180, 255)",
    "QComboBox:!editable | background-color: rgba(180, 180, 180, 255)",
    "QComboBox::down-arrow | ~image: url(:/images/other/arrow_down.svg)",
    "QComboBox::drop-down:button | background-color: rgba(141, 141, 141, 255)",
    "QComboBox QAbstractItemView | background-color: rgba(180, 180, 180, 255); "
    "selection-background-color: rgba(141, 141, 141, 255)",
    "QSpinBox | background-color: rgba(180, 180, 180, 255); border: S(1)px solid rgba(141, 141, "
    "141, 255); selection-background-color: rgba(141, 141, 141, 255)",
    "QSpinBox:focus | border: S(1)px solid rgba(51, 51, 51, 255)",
    "QSpinBox::down-arrow | ~image: url(:/images/other/arrow_down.svg)",
    "QSpinBox::up-arrow | ~image: url(:/images/other/arrow_up.svg)",
    "QSpinBox::down-button | border: S(1)px solid rgba(141, 141, 141, 255); background-color: "
    "rgba(141, 141, 141, 255)",
    "QSpinBox::up-button | border: S(1)px solid rgba(141, 141, 141, 255); background-color: "
    "rgba(141, 141, 141, 255)",
    "QDoubleSpinBox | background-color: rgba(180, 180, 180, 255); border: S(1)px solid rgba(141, "
    "141, 141, 255); selection-background-color: rgba(141, 141, 141, 255)",
    "QDoubleSpinBox:focus | border: S(1)px solid rgba(51, 51, 51, 255)",
    "QDoubleSpinBox::down-arrow | ~image: url(:/images/other/arrow_down.svg)",
    "QDoubleSpinBox::up-arrow | ~image: url(:/images/other/arrow_up.svg)",
    "QDoubleSpinBox::down-button | border: S(1)px solid rgba(141, 141, 141, 255); "
    "background-color: rgba(141, 141, 141, 255)",
    "QDoubleSpinBox::up-button | border: S(1)px solid rgba(141, 141, 141, 255); background-color: "
    "rgba(141, 141, 141, 255)",
    "QGraphicsView | background-color: rgba(180, 180, 180, 255); ~outline: 0",
};
const char *const scrollBarRules[] = {
    "QScrollBar:horizontal | border: S(2)px solid darkgray; background: rgba(51, 51, 51, 255); "
    "height: S(16)px; margin-top: S(2)px; margin-right: S(20)px; margin-bottom: S(2)px; "
    "margin-left: S(20)px",
    "QScrollBar::handle:horizontal | border: S(3)px solid rgba(51, 51, 51, 255); background: "
    "rgba(51, 51, 51, 255); min-width: S(20)px",
    "QScrollBar::add-line:horizontal | border: S(2)px solid darkgray; ~background: darkgray; "
    "width: S(20)px; margin-top: S(2)px; margin-right: S(0)px; margin-bottom: S(2)px; margin-left: "
    "S(0)px; ~subcontrol-position: right; ~subcontrol-origin: margin",
    "QScrollBar::sub-line:horizontal | border: S(2)px solid darkgray; ~background: darkgray; "
    "width: S(20)px; margin-top: S(2)px; margin-right: S(0)px; margin-bottom: S(2)px; margin-left: "
    "S(0)px; ~subcontrol-position: left; ~subcontrol-origin: margin",
    "QScrollBar::left-arrow:horizontal | ~image: url(:/images/other/arrow_left.svg)",
    "QScrollBar::right-arrow:horizontal | ~image: url(:/images/other/arrow_right.svg)",
    "QScrollBar::sub-page::horizontal | ~background: darkgray",
    "QScrollBar::add-page::horizontal | ~background: darkgray",
    "QScrollBar:vertical | border: S(2)px solid darkgray; background: rgba(51, 51, 51, 255); "
    "width: S(16)px; margin-top: S(20)px; margin-right: S(2)px; margin-bottom: S(20)px; "
    "margin-left: S(2)px",
    "QScrollBar::handle:vertical | border: S(3)px solid rgba(51, 51, 51, 255); background: "
    "rgba(51, 51, 51, 255); min-height: S(20)px",
    "QScrollBar::add-line:vertical | border: S(2)px solid darkgray; ~background: darkgray; height: "
    "S(20)px; margin-top: S(0)px; margin-right: S(2)px; margin-bottom: S(0)px; margin-left: "
    "S(2)px; ~subcontrol-position: bottom; ~subcontrol-origin: margin",
    "QScrollBar::sub-line:vertical | border: S(2)px solid darkgray; ~background: darkgray; height: "
    "S(20)px; margin-top: S(0)px; margin-right: S(2)px; margin-bottom: S(0)px; margin-left: "
    "S(2)px; ~subcontrol-position: top; ~subcontrol-origin: margin",
    "QScrollBar::up-arrow:vertical | ~image: url(:/images/other/arrow_up.svg)",
    "QScrollBar::down-arrow:vertical | ~image: url(:/images/other/arrow_down.svg)",
    "QScrollBar::sub-page::vertical | ~background: darkgray",
    "QScrollBar::add-page::vertical | ~background: darkgray",
};
const char *const tabBarRules[] = {
    "QTabBar::tab | ~background: black; ~border-top-color: darkgray; ~min-width: 16ex; "
    "padding-left: S(6)px; padding-right: S(6)px; padding-top: S(2)px; padding-bottom: S(2)px; "
    "margin-left: S(2)px",
    "QTabBar::tab:selected, QTabBar::tab:hover | background: rgba(51, 51, 51, 255); ~color: white",
    "QTabBar::tab:selected:bottom, QTabBar::tab:hover:bottom | margin-bottom: S(1)px",
    "QTabBar::tab:selected:top, QTabBar::tab:hover:top | margin-top: S(1)px",
    "QTabBar::tab:selected | border-color: rgba(51, 51, 51, 255)",
    "QTabBar::tab:!selected | background: rgba(0, 0, 0, 255); color: rgba(128, 128, 128, 255)",
    "QTabBar::tab:!selected:bottom | ~border-top-color: darkgray; margin-bottom: S(6)px; "
    "margin-top: S(2)px",
    "QTabBar::tab:!selected:top | ~border-bottom-color: darkgray; margin-top: S(6)px; "
    "margin-bottom: S(2)px",
    "QTabBar::tab:first | margin-left: S(0)px",
    "QTabBar::tab:only-one | margin-left: S(0)px",
    "QTabBar QToolButton | ~background-color: darkgray",
};
const char *const menuBarRules[] = {
    "QMenuBar | background-color: rgba(153, 153, 153, 255)",
    "QMenuBar::item | ~background: transparent",
    "QMenuBar::item:selected | background: rgba(168, 168, 168, 255)",
    "QMenuBar::item:pressed | background: rgba(126, 126, 126, 255)",
};
const char *const menuRules[] = {
    "QMenu | background-color: rgba(L, L, L, 255)",
    "QMenu::item:disabled:selected | ~background-color: rgb(115, 142, 142); color: rgba(T, T, T, "
    "100)",
    "QMenu::item:disabled:!selected | color: rgba(T, T, T, 100)",
    "QMenu::item:!disabled:selected | ~background-color: rgb(203, 254, 255); color: rgba(0, 0, 0, "
    "255)",
    "QMenu::item:!disabled:!selected | color: rgba(T, T, T, 255)",
};
const char *const flatButtonRules[] = {
    "QPushButton | ~border: none; ~background-color: transparent; min-width: S(80)px; min-height: "
    "S(20)px",
    "QPushButton:pressed | ~background-color: #f6f7fa",
};
const char *const toolBarRules[] = {
    "QToolBar::separator | ~background-image: url(:/images/tool_bar_icon/PartitionLine.svg); "
    "~background-repeat: repeat-y",
    "QToolButton | border: S(1)px",
    "QToolButton:hover | ~background-color: rgb(203, 254, 255)",
};

template<std::size_t N>
QString expectedSheet(const char *const (&rules)[N], int menuLevel = 0, int textLevel = 0)
{
    static const QRegularExpression scaled(QStringLiteral("S\\((-?\\d+)\\)"));
    QString sheet;
    for (const char *row : rules) {
        const QStringList parts = QString::fromLatin1(row).split(QStringLiteral(" | "));
        sheet += parts.at(0) + QStringLiteral(" {");
        for (QString declaration : parts.at(1).split(QStringLiteral("; "))) {
            if (declaration.startsWith(QLatin1Char('~')))
                declaration.replace(0, 1, QLatin1Char('\t'));
            declaration.replace(QStringLiteral("rgba(L, L, L"),
                                QStringLiteral("rgba(%1, %1, %1").arg(menuLevel));
            declaration.replace(QStringLiteral("rgba(T, T, T"),
                                QStringLiteral("rgba(%1, %1, %1").arg(textLevel));
            QRegularExpressionMatch match;
            while ((match = scaled.match(declaration)).hasMatch()) {
                declaration.replace(match.capturedStart(),
                                    match.capturedLength(),
                                    QString::number(scaledSize(match.captured(1).toInt())));
            }
            sheet += declaration + QLatin1Char(';');
        }
        sheet += QLatin1Char('}');
    }
    return sheet;
}

} // namespace

class tst_StyleSheets : public QObject
{
    Q_OBJECT

private slots:
    void sheetMatchesRules_data();
    void sheetMatchesRules();
    void borderDeclaration_data();
    void borderDeclaration();
};

void tst_StyleSheets::sheetMatchesRules_data()
{
    QTest::addColumn<QString>("actual");
    QTest::addColumn<QString>("expected");

    QTest::addRow("dialog") << dialogStyleSheet() << expectedSheet(dialogRules);
    QTest::addRow("scroll bar") << scrollBarStyleSheet() << expectedSheet(scrollBarRules);
    QTest::addRow("tab bar") << tabBarStyleSheet() << expectedSheet(tabBarRules);
    QTest::addRow("menu bar") << menuBarStyleSheet() << expectedSheet(menuBarRules);
    QTest::addRow("dark menu") << menuStyleSheet(true) << expectedSheet(menuRules, 41, 204);
    QTest::addRow("light menu") << menuStyleSheet(false) << expectedSheet(menuRules, 240, 0);
    QTest::addRow("flat button") << flatButtonStyleSheet() << expectedSheet(flatButtonRules);
    QTest::addRow("tool bar") << toolBarStyleSheet() << expectedSheet(toolBarRules);
}

void tst_StyleSheets::sheetMatchesRules()
{
    QFETCH(QString, actual);
    QFETCH(QString, expected);

    // Compare rule by rule first, so a failure names the rule that differs.
    const QStringList actualRules = actual.split(QLatin1Char('}'));
    const QStringList expectedRules = expected.split(QLatin1Char('}'));
    for (qsizetype i = 0; i < qMin(actualRules.size(), expectedRules.size()); ++i)
        QCOMPARE(actualRules.at(i), expectedRules.at(i));
    QCOMPARE(actual, expected);
}

void tst_StyleSheets::borderDeclaration_data()
{
    QTest::addColumn<int>("width");
    QTest::addColumn<QString>("side");
    QTest::addColumn<QString>("expected");

    QTest::addRow("all sides") << 1 << QString()
                               << QStringLiteral("border: %1px solid rgba(141, 141, 141, 255);")
                                      .arg(scaledSize(1));
    QTest::addRow("bottom") << 2 << QStringLiteral("bottom")
                            << QStringLiteral("border-bottom: %1px solid rgba(141, 141, 141, 255);")
                                   .arg(scaledSize(2));
    QTest::addRow("negative width")
        << -3 << QStringLiteral("left")
        << QStringLiteral("border-left: %1px solid rgba(141, 141, 141, 255);").arg(scaledSize(-3));
}

void tst_StyleSheets::borderDeclaration()
{
    QFETCH(int, width);
    QFETCH(QString, side);
    QFETCH(QString, expected);

    QCOMPARE(::borderDeclaration(width, QStringLiteral("solid"), grey(141, 255), side), expected);
}

QTEST_MAIN(tst_StyleSheets)
#include "tst_stylesheets.moc"
