#pragma once

#include <QProxyStyle>

// The application's style: the platform's own, except that dialog buttons never carry the
// desktop theme's stock icons, which the flat grey look of the dialogs does not have, and that
// the tool-bar extension icons are loaded only when first drawn, and that the buttons of tool bars
// marked with flatToolButtonsProperty are flat: only their icon, on a light cyan ground while the
// mouse is over them.
class AppStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    explicit AppStyle(const QString &baseStyleName);

    static const char *const flatToolButtonsProperty;

    int styleHint(StyleHint hint,
                  const QStyleOption *option,
                  const QWidget *widget,
                  QStyleHintReturn *returnData) const override;

    void drawComplexControl(ComplexControl control,
                            const QStyleOptionComplex *option,
                            QPainter *painter,
                            const QWidget *widget) const override;

    QSize sizeFromContents(ContentsType type,
                           const QStyleOption *option,
                           const QSize &contentsSize,
                           const QWidget *widget) const override;

    QIcon standardIcon(StandardPixmap standardIcon,
                       const QStyleOption *option,
                       const QWidget *widget) const override;
};
