#include "customtoolbar.h"

#include "stylesheets.h"

CustomToolBar::CustomToolBar(QWidget *parent)
    : QToolBar(parent)
{
    setStyleSheetWhenPolished(this, toolBarStyleSheet());
}
