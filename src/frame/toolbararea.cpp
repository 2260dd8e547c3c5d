#include "toolbararea.h"

#include "actions.h"
#include "base/widgethelpers.h"
#include "style/customtoolbar.h"

#include <QHBoxLayout>
#include <QLayout>

ToolBarArea::ToolBarArea(Actions *actions)
    : QWidget(nullptr)
{
    QPalette dark = palette();
    dark.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(51, 255)));
    dark.setBrush(QPalette::All, QPalette::ButtonText, QBrush(QColor(0, 0, 0, 0)));
    setPalette(dark);
    setAutoFillBackground(true);
    setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Fixed);

    auto toolBar = new CustomToolBar;
    toolBar->setObjectName(QStringLiteral("toolBar"));
    toolBar->addAction(actions->action(2));

    auto layout = new QHBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolBar);
    setLayout(layout);
}
