#include "splashscreen.h"

#include "base/appfont.h"
#include "dialogs/splashimagesize.h"
#include "style/resourceimagescache.h"

#include <QApplication>
#include <QPainter>
#include <QTimer>
#include <QWindow>

SplashScreen::SplashScreen()
    : QSplashScreen(QPixmap(), Qt::WindowFlags())
{
    if (const QPixmap *picture = ResourceImagesCache::instance()->pixmap(
            QStringLiteral(":/images/splash_qv_kiosk.png")))
        setPixmap(picture->scaled(splashImageSize(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    applyAppFont(this, 0);
}

void SplashScreen::showMapped()
{
    show();
    // Bounded: a compositor that never maps it must not hold up the start.
    QTimer bound;
    bound.setSingleShot(true);
    bound.start(1000);
    while (bound.isActive() && !(windowHandle() != nullptr && windowHandle()->isExposed()))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

void SplashScreen::drawContents(QPainter *painter)
{
    painter->setPen(QColor(1, 62, 45, 255));
    const int h = height();
    const int w = width();
    // The texts sit on the coloured band along the bottom tenth of the picture.
    const int top = static_cast<int>(h * 0.9);
    const int band = static_cast<int>(h - h * 0.9);
    painter->drawText(QRect(10, top, 400, band), Qt::AlignLeft, splashVersionLine());
    painter->drawText(QRect(w - 410, top, 400, band),
                      Qt::AlignRight,
                      QObject::tr("ID_RESSTR_DIALOGABOUT_COPYRIGHT"));
}

void SplashScreen::showEvent(QShowEvent *event)
{
    qApp->installEventFilter(this);
    QSplashScreen::showEvent(event);
}

void SplashScreen::hideEvent(QHideEvent *event)
{
    qApp->removeEventFilter(this);
    QSplashScreen::hideEvent(event);
}

bool SplashScreen::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched != this && watched->isWidgetType()) {
        const auto widget = static_cast<QWidget *>(watched);
        if (widget->isWindow() && widget->isModal())
            close();
    }
    return QSplashScreen::eventFilter(watched, event);
}
