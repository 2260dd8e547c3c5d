#pragma once

#include <QToolBar>

// The program's tool bar: a QToolBar carrying the tool-bar style sheet.
class CustomToolBar final : public QToolBar
{
public:
    explicit CustomToolBar(QWidget *parent = nullptr);
};
