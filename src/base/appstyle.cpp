#include "appstyle.h"

#include <QGuiApplication>
#include <QIconEngine>
#include <QPainter>
#include <QPointer>
#include <QStyleOption>
#include <QWidget>

namespace {

// Every tool bar and menu bar builds a hidden extension button, whose icon the base style
// decodes from image files (loading the image format plug-ins) on each build and style change.
// The button is seldom shown: its icon is asked of the base style when it is first drawn.
class DeferredIconEngine final : public QIconEngine
{
public:
    DeferredIconEngine(const QProxyStyle *style,
                       QStyle::StandardPixmap standardIcon,
                       Qt::LayoutDirection direction)
        : style(const_cast<QProxyStyle *>(style))
        , standardIcon(standardIcon)
        , direction(direction)
    {}

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        icon().paint(painter, rect, Qt::AlignCenter, mode, state);
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().pixmap(size, 1.0, mode, state);
    }

    QPixmap scaledPixmap(const QSize &size,
                         QIcon::Mode mode,
                         QIcon::State state,
                         qreal scale) override
    {
        return icon().pixmap(size / scale, scale, mode, state);
    }

    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return icon().actualSize(size, mode, state);
    }

    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return icon().availableSizes(mode, state);
    }

    bool isNull() override { return loaded && icon().isNull(); }

    QString key() const override { return QStringLiteral("DeferredIconEngine"); }

    QIconEngine *clone() const override
    {
        auto copy = new DeferredIconEngine(style, standardIcon, direction);
        copy->loaded = loaded;
        copy->real = real;
        return copy;
    }

private:
    const QIcon &icon()
    {
        if (!loaded) {
            loaded = true;
            if (style != nullptr) {
                QStyleOption option;
                option.direction = direction;
                real = style->QProxyStyle::standardIcon(standardIcon, &option, nullptr);
            }
        }
        return real;
    }

    QPointer<QProxyStyle> style;
    QStyle::StandardPixmap standardIcon;
    Qt::LayoutDirection direction;
    bool loaded = false;
    QIcon real;
};

bool isFlatToolButton(const QWidget *widget)
{
    return widget != nullptr && widget->parentWidget() != nullptr
           && widget->parentWidget()->property(AppStyle::flatToolButtonsProperty).toBool();
}

} // namespace

const char *const AppStyle::flatToolButtonsProperty = "flatToolButtons";

AppStyle::AppStyle(const QString &baseStyleName)
    : QProxyStyle(baseStyleName)
{}

int AppStyle::styleHint(StyleHint hint,
                        const QStyleOption *option,
                        const QWidget *widget,
                        QStyleHintReturn *returnData) const
{
    if (hint == SH_DialogButtonBox_ButtonsHaveIcons)
        return 0;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

QIcon AppStyle::standardIcon(StandardPixmap standardIcon,
                             const QStyleOption *option,
                             const QWidget *widget) const
{
    if (standardIcon == SP_ToolBarHorizontalExtensionButton
        || standardIcon == SP_ToolBarVerticalExtensionButton) {
        const Qt::LayoutDirection direction = option != nullptr ? option->direction
                                              : widget != nullptr
                                                  ? widget->layoutDirection()
                                                  : QGuiApplication::layoutDirection();
        return QIcon(new DeferredIconEngine(this, standardIcon, direction));
    }
    return QProxyStyle::standardIcon(standardIcon, option, widget);
}

// Drawn here rather than through a style sheet, which would be parsed and applied to each tool
// bar and its buttons as the window is built.
void AppStyle::drawComplexControl(ComplexControl control,
                                  const QStyleOptionComplex *option,
                                  QPainter *painter,
                                  const QWidget *widget) const
{
    const auto tool = qstyleoption_cast<const QStyleOptionToolButton *>(option);
    if (control != CC_ToolButton || tool == nullptr || !isFlatToolButton(widget)) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const bool hovered = tool->state.testFlag(State_MouseOver);
    if (hovered)
        painter->fillRect(tool->rect, QColor(203, 254, 255));
    const QIcon::Mode mode = !tool->state.testFlag(State_Enabled)               ? QIcon::Disabled
                             : hovered && tool->state.testFlag(State_AutoRaise) ? QIcon::Active
                                                                                : QIcon::Normal;
    const QIcon::State state = tool->state.testFlag(State_On) ? QIcon::On : QIcon::Off;
    const QPixmap pixmap = tool->icon.pixmap(tool->rect.size().boundedTo(tool->iconSize),
                                             painter->device()->devicePixelRatio(),
                                             mode,
                                             state);
    drawItemPixmap(painter, tool->rect, Qt::AlignCenter, pixmap);
}

QSize AppStyle::sizeFromContents(ContentsType type,
                                 const QStyleOption *option,
                                 const QSize &contentsSize,
                                 const QWidget *widget) const
{
    if (type == CT_ToolButton && isFlatToolButton(widget))
        return contentsSize + QSize(3, 3);
    return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
}
