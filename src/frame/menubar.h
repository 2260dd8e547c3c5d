#pragma once

#include <QWidget>

QT_BEGIN_NAMESPACE
class QMainWindow;
QT_END_NAMESPACE

class Actions;

// The grey strip under the title bar with the File and About menus. It only places the
// registry's commands; what they do is wired by the central widget.
class MenuBar final : public QWidget
{
    Q_OBJECT

public:
    explicit MenuBar(Actions *actions);

private:
    // Hosts the QMenuBar as an ordinary child widget.
    QMainWindow *host = nullptr;
};
