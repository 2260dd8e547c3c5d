#pragma once

#include <QWidget>

class Actions;

// The dark strip under the menu bar with the Open Controller File button.
class ToolBarArea final : public QWidget
{
public:
    explicit ToolBarArea(Actions *actions);
};
