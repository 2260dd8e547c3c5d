#include "base/appfont.h"
#include "style/stylesheets.h"

#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QWidget>

namespace {

// A rule written as selector " | " declarations joined by "; ", turned into the sheet's text:
// S(n) is scaledSize(n), and "~" marks a fixed-text declaration, which the sheet writes with a
// leading tab.
QString expectedRule(const QString &row)
{
    static const QRegularExpression scaled(QStringLiteral("S\\((-?\\d+)\\)"));
    const QStringList parts = row.split(QStringLiteral(" | "));
    QString rule = parts.at(0) + QStringLiteral(" {");
    for (QString declaration : parts.at(1).split(QStringLiteral("; "))) {
        if (declaration.startsWith(QLatin1Char('~')))
            declaration.replace(0, 1, QLatin1Char('\t'));
        QRegularExpressionMatch match;
        while ((match = scaled.match(declaration)).hasMatch())
            declaration.replace(match.capturedStart(),
                                match.capturedLength(),
                                QString::number(scaledSize(match.captured(1).toInt())));
        rule += declaration + QLatin1Char(';');
    }
    return rule + QLatin1Char('}');
}

} // namespace

class tst_StyleSheets : public QObject
{
    Q_OBJECT

private slots:
    void keyRulesOfTheLook_data();
    void keyRulesOfTheLook();
    void everySheetParsesKeepsItsRulesAndFindsItsImages_data();
    void everySheetParsesKeepsItsRulesAndFindsItsImages();
};

// The rules whose loss or change a user sees first: colours, focus and selection, indicator
// images, scaled lengths (negative ones too) and sided borders.
void tst_StyleSheets::keyRulesOfTheLook_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<QString>("rule");
    const QString dialog = dialogStyleSheet();
    const QString darkMenu = menuStyleSheet(true);
    // clang-format off
    QTest::addRow("dialog background") << dialog << "QDialog | background-color: rgba(180, 180, 180, 255)";
    QTest::addRow("button") << dialog << "QPushButton | background-color: rgba(141, 141, 141, 255); ~border-style: none; min-width: S(72)px; min-height: S(20)px";
    QTest::addRow("focused button") << dialog << "QPushButton:focus | background-color: rgba(130, 130, 130, 255); border: S(1)px solid rgba(51, 51, 51, 255)";
    QTest::addRow("pressed button") << dialog << "QPushButton:pressed | background-color: rgba(120, 120, 120, 255)";
    QTest::addRow("checked radio button") << dialog << "QRadioButton::indicator:checked | ~image: url(:/images/other/box_on.svg)";
    QTest::addRow("checked check box") << dialog << "QCheckBox::indicator:checked | ~image: url(:/images/other/box_checkmark.svg)";
    QTest::addRow("inactive list selection") << dialog << "QListView::item:selected:!active | background-color: rgba(234, 234, 234, 255); ~color: black";
    QTest::addRow("tree selection") << dialog << "QTreeWidget::item:selected:active | ~background-color: rgb(203, 254, 255); ~color: black";
    QTest::addRow("header with sided borders") << dialog << "QHeaderView::section | background-color: rgba(180, 180, 180, 255); border: S(1)px solid rgba(180, 180, 180, 255); border-bottom: S(1)px solid rgba(141, 141, 141, 255); border-right: S(1)px solid rgba(141, 141, 141, 255); padding-left: S(4)px";
    QTest::addRow("slider knob, negative lengths") << dialog << "QSlider::handle:horizontal | ~image: url(:/images/other/faderknob.svg); margin-top: S(-10)px; margin-bottom: S(-10)px";
    QTest::addRow("focused line edit") << dialog << "QLineEdit:focus | border: S(1)px solid rgba(51, 51, 51, 255)";
    QTest::addRow("second spin box") << dialog << "QDoubleSpinBox::up-arrow | ~image: url(:/images/other/arrow_up.svg)";
    QTest::addRow("vertical scroll bar") << scrollBarStyleSheet() << "QScrollBar:vertical | border: S(2)px solid darkgray; background: rgba(51, 51, 51, 255); width: S(16)px; margin-top: S(20)px; margin-right: S(2)px; margin-bottom: S(20)px; margin-left: S(2)px";
    QTest::addRow("scroll bar left button") << scrollBarStyleSheet() << "QScrollBar::sub-line:horizontal | border: S(2)px solid darkgray; ~background: darkgray; width: S(20)px; margin-top: S(2)px; margin-right: S(0)px; margin-bottom: S(2)px; margin-left: S(0)px; ~subcontrol-position: left; ~subcontrol-origin: margin";
    QTest::addRow("selected tab") << tabBarStyleSheet() << "QTabBar::tab:selected, QTabBar::tab:hover | background: rgba(51, 51, 51, 255); ~color: white";
    QTest::addRow("other tabs") << tabBarStyleSheet() << "QTabBar::tab:!selected | background: rgba(0, 0, 0, 255); color: rgba(128, 128, 128, 255)";
    QTest::addRow("menu bar") << menuBarStyleSheet() << "QMenuBar | background-color: rgba(153, 153, 153, 255)";
    QTest::addRow("menu bar item") << menuBarStyleSheet() << "QMenuBar::item:selected | background: rgba(168, 168, 168, 255)";
    QTest::addRow("dark menu") << darkMenu << "QMenu | background-color: rgba(41, 41, 41, 255)";
    QTest::addRow("dark menu, disabled item") << darkMenu << "QMenu::item:disabled:!selected | color: rgba(204, 204, 204, 100)";
    QTest::addRow("dark menu, selected item") << darkMenu << "QMenu::item:!disabled:selected | ~background-color: rgb(203, 254, 255); color: rgba(0, 0, 0, 255)";
    QTest::addRow("dark menu, item") << darkMenu << "QMenu::item:!disabled:!selected | color: rgba(204, 204, 204, 255)";
    QTest::addRow("light menu") << menuStyleSheet(false) << "QMenu | background-color: rgba(240, 240, 240, 255)";
    QTest::addRow("light menu, item") << menuStyleSheet(false) << "QMenu::item:!disabled:!selected | color: rgba(0, 0, 0, 255)";
    QTest::addRow("flat button") << flatButtonStyleSheet() << "QPushButton | ~border: none; ~background-color: transparent; min-width: S(80)px; min-height: S(20)px";
    QTest::addRow("tool button hover") << toolBarStyleSheet() << "QToolButton:hover | ~background-color: rgb(203, 254, 255)";
    // clang-format on
}

void tst_StyleSheets::keyRulesOfTheLook()
{
    QFETCH(QString, sheet);
    QFETCH(QString, rule);
    const QString expected = expectedRule(rule);
    const QString selector = expected.left(expected.indexOf(QStringLiteral(" {")) + 2);
    const qsizetype start = sheet.startsWith(selector)
                                ? 0
                                : sheet.indexOf(QLatin1Char('}') + selector) + 1;
    QVERIFY2(start >= 0 && sheet.mid(start).startsWith(selector), qPrintable(selector));
    QCOMPARE(sheet.mid(start, sheet.indexOf(QLatin1Char('}'), start) + 1 - start), expected);
}

// The other rules: each sheet parses, keeps its number of rules, and every image it names is
// one of our resources.
void tst_StyleSheets::everySheetParsesKeepsItsRulesAndFindsItsImages_data()
{
    QTest::addColumn<QString>("sheet");
    QTest::addColumn<int>("rules");
    QTest::addRow("dialog") << dialogStyleSheet() << 46;
    QTest::addRow("scroll bar") << scrollBarStyleSheet() << 16;
    QTest::addRow("tab bar") << tabBarStyleSheet() << 11;
    QTest::addRow("menu bar") << menuBarStyleSheet() << 4;
    QTest::addRow("dark menu") << menuStyleSheet(true) << 5;
    QTest::addRow("light menu") << menuStyleSheet(false) << 5;
    QTest::addRow("flat button") << flatButtonStyleSheet() << 2;
    QTest::addRow("tool bar") << toolBarStyleSheet() << 3;
}

void tst_StyleSheets::everySheetParsesKeepsItsRulesAndFindsItsImages()
{
    QFETCH(QString, sheet);
    QFETCH(int, rules);
    QCOMPARE(sheet.count(QLatin1Char('}')), rules);
    QCOMPARE(sheet.count(QLatin1Char('{')), rules);

    QTest::failOnWarning(QRegularExpression(QStringLiteral("parse")));
    QWidget widget;
    widget.setStyleSheet(sheet);
    widget.ensurePolished();

    static const QRegularExpression url(QStringLiteral("url\\((:/[^)]+)\\)"));
    for (const QRegularExpressionMatch &match : url.globalMatch(sheet))
        QVERIFY2(QFile::exists(match.captured(1)), qPrintable(match.captured(1)));
}

QTEST_MAIN(tst_StyleSheets)
#include "tst_stylesheets.moc"
