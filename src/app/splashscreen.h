#pragma once

#include <QSplashScreen>

// The product picture shown while the launcher starts, with the name and version in its lower
// left corner and the copyright notice in its lower right corner. It closes as soon as a modal
// box appears, so that no start-up message hides behind it.
class SplashScreen final : public QSplashScreen
{
public:
    SplashScreen();

protected:
    void drawContents(QPainter *painter) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
};
