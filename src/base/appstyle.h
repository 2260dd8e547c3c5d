#pragma once

#include <QProxyStyle>

// The application's style: the platform's own, except that dialog buttons never carry the
// desktop theme's stock icons, which the flat grey look of the dialogs does not have, and that
// the tool-bar extension icons are loaded only when first drawn.
class AppStyle final : public QProxyStyle
{
    Q_OBJECT

public:
    explicit AppStyle(const QString &baseStyleName);

    int styleHint(StyleHint hint,
                  const QStyleOption *option,
                  const QWidget *widget,
                  QStyleHintReturn *returnData) const override;

    QIcon standardIcon(StandardPixmap standardIcon,
                       const QStyleOption *option,
                       const QWidget *widget) const override;
};
