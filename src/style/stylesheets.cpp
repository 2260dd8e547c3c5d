#include "stylesheets.h"

#include "base/appfont.h"

#include <QEvent>
#include <QMenu>

namespace {

// Declarations whose text is fixed carry a leading tab; generated ones (greys, lengths,
// borders) do not.
QString fixed(const char *name, const char *value)
{
    return QStringLiteral("\t%1: %2;").arg(QLatin1String(name), QLatin1String(value));
}

QString property(const char *name, const QString &value)
{
    return QLatin1String(name) + QStringLiteral(": ") + value + QLatin1Char(';');
}

QString length(const char *name, int n)
{
    return property(name, QString::number(scaledSize(n)) + QStringLiteral("px"));
}

QString rule(const char *selector, const QString &declarations)
{
    return QLatin1String(selector) + QStringLiteral(" {") + declarations + QLatin1Char('}');
}

QString border(int width, const QString &color, const QString &side = QString())
{
    return borderDeclaration(width, QStringLiteral("solid"), color, side);
}

QString image(const char *name)
{
    return QStringLiteral("\timage: url(:/images/other/%1);").arg(QLatin1String(name));
}

QString background(int level)
{
    return property("background-color", grey(level, 255));
}

QString selectionBackground(int level)
{
    return property("selection-background-color", grey(level, 255));
}

// The four sides of a margin, in the order top, right, bottom, left.
QString margins(int top, int right, int bottom, int left)
{
    return length("margin-top", top) + length("margin-right", right)
           + length("margin-bottom", bottom) + length("margin-left", left);
}

QString focusRule(const char *selector)
{
    return rule(selector, border(1, grey(51, 255)));
}

// The rules shared by the integer and floating-point spin boxes, for the class name box.
QString spinBoxRules(const QByteArray &box)
{
    // The temporaries live until the end of the full expression that uses them.
    auto selector = [&box](const char *part) { return QByteArray(box + part); };
    const QString button = border(1, grey(141, 255)) + background(141);
    return rule(box.constData(),
                background(180) + border(1, grey(141, 255)) + selectionBackground(141))
           + focusRule(selector(":focus").constData())
           + rule(selector("::down-arrow").constData(), image("arrow_down.svg"))
           + rule(selector("::up-arrow").constData(), image("arrow_up.svg"))
           + rule(selector("::down-button").constData(), button)
           + rule(selector("::up-button").constData(), button);
}

QString scrollBarLine(
    const char *sizeName, int top, int right, int bottom, int left, const char *position)
{
    return border(2, QStringLiteral("darkgray")) + fixed("background", "darkgray")
           + length(sizeName, 20) + margins(top, right, bottom, left)
           + fixed("subcontrol-position", position) + fixed("subcontrol-origin", "margin");
}

// Sets the sheet on the Polish event, before the widget's own polish, then goes.
class SheetOnPolish final : public QObject
{
public:
    SheetOnPolish(QWidget *widget, const QString &sheet)
        : QObject(widget)
        , sheet(sheet)
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Polish) {
            auto widget = static_cast<QWidget *>(watched);
            widget->removeEventFilter(this);
            widget->setStyleSheet(widget->styleSheet() + sheet);
            deleteLater();
        }
        return false;
    }

private:
    QString sheet;
};

} // namespace

QString grey(int level, int alpha)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(level).arg(level).arg(level).arg(alpha);
}

QString borderDeclaration(int width, const QString &style, const QString &color, const QString &side)
{
    QString text = QStringLiteral("border");
    if (!side.isEmpty())
        text += QLatin1Char('-') + side;
    return text + QStringLiteral(": ") + QString::number(scaledSize(width)) + QStringLiteral("px ")
           + style + QLatin1Char(' ') + color + QLatin1Char(';');
}

QString dialogStyleSheet()
{
    const QString hoverLight = background(234);
    const QString cyan = fixed("background-color", "rgb(203, 254, 255)");
    const QString black = fixed("color", "black");

    QString sheet;
    sheet += rule("QDialog", background(180));
    sheet += rule("QPushButton",
                  background(141) + fixed("border-style", "none") + length("min-width", 72)
                      + length("min-height", 20));
    sheet += rule("QPushButton:focus", background(130) + border(1, grey(51, 255)));
    sheet += rule("QPushButton:pressed", background(120));
    sheet += rule("QRadioButton::indicator:unchecked", image("box.svg"));
    sheet += rule("QRadioButton::indicator:checked", image("box_on.svg"));
    sheet += rule("QTextEdit",
                  fixed("background-color", "transparent") + border(1, grey(141, 255))
                      + selectionBackground(141));
    sheet += rule("QCheckBox::indicator:unchecked", image("box.svg"));
    sheet += rule("QCheckBox::indicator:checked", image("box_checkmark.svg"));
    sheet += rule("QListView",
                  fixed("background-color", "transparent") + border(1, grey(141, 255))
                      + fixed("outline", "0"));
    sheet += focusRule("QListView:focus");
    sheet += rule("QListView::item:selected:active", hoverLight + black);
    sheet += rule("QListView::item:selected:!active", hoverLight + black);
    sheet += rule("QListView::item:hover", hoverLight);
    sheet += rule("QTabWidget::pane",
                  fixed("background-color", "transparent") + border(1, grey(51, 255)));
    sheet += rule("QTreeWidget",
                  background(180) + border(1, grey(141, 255)) + fixed("outline", "0"));
    sheet += rule("QTreeWidget::item:selected:active", cyan + black);
    sheet += rule("QTreeWidget::item:selected:!active", cyan + black);
    sheet += rule("QTreeWidget::item:hover", cyan);
    sheet += rule("QHeaderView::section",
                  background(180) + border(1, grey(180, 255))
                      + border(1, grey(141, 255), QStringLiteral("bottom"))
                      + border(1, grey(141, 255), QStringLiteral("right"))
                      + length("padding-left", 4));
    sheet += rule("QSlider::groove:horizontal", background(141) + length("height", 2));
    sheet += rule("QSlider::handle:horizontal",
                  image("faderknob.svg") + length("margin-top", -10) + length("margin-bottom", -10));
    sheet += rule("QGroupBox", fixed("border", "0") + length("margin-top", 10));
    sheet += rule("QGroupBox::title", fixed("subcontrol-origin", "margin"));
    sheet += lineEditStyleSheet();
    sheet += comboBoxStyleSheet();
    sheet += spinBoxStyleSheet();
    sheet += doubleSpinBoxStyleSheet();
    sheet += rule("QGraphicsView", background(180) + fixed("outline", "0"));
    return sheet;
}

QString lineEditStyleSheet()
{
    return rule("QLineEdit", border(1, grey(141, 255)) + background(180) + selectionBackground(141))
           + focusRule("QLineEdit:focus");
}

QString comboBoxStyleSheet()
{
    return rule("QComboBox", border(1, grey(141, 255)) + selectionBackground(141))
           + focusRule("QComboBox:focus") + rule("QComboBox:editable", background(180))
           + rule("QComboBox:!editable", background(180))
           + rule("QComboBox::down-arrow", image("arrow_down.svg"))
           + rule("QComboBox::drop-down:button", background(141))
           + rule("QComboBox QAbstractItemView", background(180) + selectionBackground(141));
}

QString spinBoxStyleSheet()
{
    return spinBoxRules("QSpinBox");
}

QString doubleSpinBoxStyleSheet()
{
    return spinBoxRules("QDoubleSpinBox");
}

QString scrollBarStyleSheet()
{
    const QString darkgray = QStringLiteral("darkgray");
    const QString page = fixed("background", "darkgray");
    const QString bar = property("background", grey(51, 255));
    const QString handle = border(3, grey(51, 255)) + bar;

    QString sheet;
    sheet += rule("QScrollBar:horizontal",
                  border(2, darkgray) + bar + length("height", 16) + margins(2, 20, 2, 20));
    sheet += rule("QScrollBar::handle:horizontal", handle + length("min-width", 20));
    sheet += rule("QScrollBar::add-line:horizontal", scrollBarLine("width", 2, 0, 2, 0, "right"));
    sheet += rule("QScrollBar::sub-line:horizontal", scrollBarLine("width", 2, 0, 2, 0, "left"));
    sheet += rule("QScrollBar::left-arrow:horizontal", image("arrow_left.svg"));
    sheet += rule("QScrollBar::right-arrow:horizontal", image("arrow_right.svg"));
    sheet += rule("QScrollBar::sub-page::horizontal", page);
    sheet += rule("QScrollBar::add-page::horizontal", page);
    sheet += rule("QScrollBar:vertical",
                  border(2, darkgray) + bar + length("width", 16) + margins(20, 2, 20, 2));
    sheet += rule("QScrollBar::handle:vertical", handle + length("min-height", 20));
    sheet += rule("QScrollBar::add-line:vertical", scrollBarLine("height", 0, 2, 0, 2, "bottom"));
    sheet += rule("QScrollBar::sub-line:vertical", scrollBarLine("height", 0, 2, 0, 2, "top"));
    sheet += rule("QScrollBar::up-arrow:vertical", image("arrow_up.svg"));
    sheet += rule("QScrollBar::down-arrow:vertical", image("arrow_down.svg"));
    sheet += rule("QScrollBar::sub-page::vertical", page);
    sheet += rule("QScrollBar::add-page::vertical", page);
    return sheet;
}

QString tabBarStyleSheet()
{
    QString sheet;
    sheet += rule("QTabBar::tab",
                  fixed("background", "black") + fixed("border-top-color", "darkgray")
                      + fixed("min-width", "16ex") + length("padding-left", 6)
                      + length("padding-right", 6) + length("padding-top", 2)
                      + length("padding-bottom", 2) + length("margin-left", 2));
    sheet += rule("QTabBar::tab:selected, QTabBar::tab:hover",
                  property("background", grey(51, 255)) + fixed("color", "white"));
    sheet += rule("QTabBar::tab:selected:bottom, QTabBar::tab:hover:bottom",
                  length("margin-bottom", 1));
    sheet += rule("QTabBar::tab:selected:top, QTabBar::tab:hover:top", length("margin-top", 1));
    sheet += rule("QTabBar::tab:selected", property("border-color", grey(51, 255)));
    sheet += rule("QTabBar::tab:!selected",
                  property("background", grey(0, 255)) + property("color", grey(128, 255)));
    sheet += rule("QTabBar::tab:!selected:bottom",
                  fixed("border-top-color", "darkgray") + length("margin-bottom", 6)
                      + length("margin-top", 2));
    sheet += rule("QTabBar::tab:!selected:top",
                  fixed("border-bottom-color", "darkgray") + length("margin-top", 6)
                      + length("margin-bottom", 2));
    sheet += rule("QTabBar::tab:first", length("margin-left", 0));
    sheet += rule("QTabBar::tab:only-one", length("margin-left", 0));
    sheet += rule("QTabBar QToolButton", fixed("background-color", "darkgray"));
    return sheet;
}

QString menuBarStyleSheet()
{
    return rule("QMenuBar", background(153))
           + rule("QMenuBar::item", fixed("background", "transparent"))
           + rule("QMenuBar::item:selected", property("background", grey(168, 255)))
           + rule("QMenuBar::item:pressed", property("background", grey(126, 255)));
}

QString menuStyleSheet(bool dark)
{
    const int menuLevel = dark ? 41 : 240;
    const int textLevel = dark ? 204 : 0;
    const QString disabledText = property("color", grey(textLevel, 100));
    return rule("QMenu", background(menuLevel))
           + rule("QMenu::item:disabled:selected",
                  fixed("background-color", "rgb(115, 142, 142)") + disabledText)
           + rule("QMenu::item:disabled:!selected", disabledText)
           + rule("QMenu::item:!disabled:selected",
                  fixed("background-color", "rgb(203, 254, 255)") + property("color", grey(0, 255)))
           + rule("QMenu::item:!disabled:!selected", property("color", grey(textLevel, 255)));
}

void setMenuStyleSheetOnShow(QMenu *menu, bool dark)
{
    QObject::connect(menu, &QMenu::aboutToShow, menu, [menu, dark] {
        if (menu->styleSheet().isEmpty())
            menu->setStyleSheet(menuStyleSheet(dark));
    });
}

void setStyleSheetWhenPolished(QWidget *widget, const QString &sheet)
{
    new SheetOnPolish(widget, sheet);
}

QString flatButtonStyleSheet()
{
    return rule("QPushButton",
                fixed("border", "none") + fixed("background-color", "transparent")
                    + length("min-width", 80) + length("min-height", 20))
           + rule("QPushButton:pressed", fixed("background-color", "#f6f7fa"));
}
