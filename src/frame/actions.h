#pragma once

#include <QMap>

QT_BEGIN_NAMESPACE
class QAction;
QT_END_NAMESPACE

// The program's commands, each a QAction identified by its number and made on first request,
// so that a command placed in a menu and in a tool bar is one action. The registry knows the
// commands of the whole product family; this program asks for 2 (Open Controller File),
// 9 (Exit), 53 (About) and 54 (Legal).
class Actions
{
public:
    Actions();
    // Deletes the actions it made; the widgets showing them drop them then.
    virtual ~Actions();

    Actions(const Actions &) = delete;
    Actions &operator=(const Actions &) = delete;

    // The action of the number, or null for a number that has none (also remembered).
    QAction *action(int id);

private:
    QMap<int, QAction *> actions;
};
