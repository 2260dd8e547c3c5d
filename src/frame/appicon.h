#pragma once

#include <QPoint>
#include <QSvgWidget>
#include <QTimer>

// The application icon at the left of the title bar: a click opens the window's system menu
// at the click point, a double click closes the program.
class AppIcon final : public QSvgWidget
{
    Q_OBJECT

public:
    AppIcon();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private slots:
    void sysMenu();

private:
    QPoint pressPosition;
    // Waits out the double-click interval, so that a double click can still cancel the menu.
    QTimer menuTimer;
};
