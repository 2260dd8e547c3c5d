#include "customtoolbar.h"

#include "base/appstyle.h"

CustomToolBar::CustomToolBar(QWidget *parent)
    : QToolBar(parent)
{
    setProperty(AppStyle::flatToolButtonsProperty, true);
}
