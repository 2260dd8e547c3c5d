#pragma once

#include <QSplashScreen>

// The product picture shown while the launcher starts, with the name and version in its lower
// left corner and the copyright notice in its lower right corner. It closes as soon as a modal
// box appears, so that no start-up message hides behind it.
class SplashScreen final : public QSplashScreen
{
public:
    SplashScreen();

    // Shows the splash and lets the window system map it before start-up blocks the thread: a
    // Wayland compositor maps a window only once it has drawn after the compositor's first
    // answer, which a sleeping thread never reads.
    void showMapped();

protected:
    void drawContents(QPainter *painter) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
