#pragma once

#include <QToolBar>

// The program's tool bar: a QToolBar whose buttons the application style draws flat.
class CustomToolBar final : public QToolBar
{
public:
    explicit CustomToolBar(QWidget *parent = nullptr);
};
