#include "svgiconengine.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>
#include <QSvgRenderer>

SvgIconEngine::SvgIconEngine(const QString &normalFile)
{
    files.insert(keyOf(QIcon::Normal, QIcon::Off), normalFile);
}

int SvgIconEngine::keyOf(QIcon::Mode mode, QIcon::State state)
{
    return (int(mode) << 4) | int(state);
}

void SvgIconEngine::addFile(const QString &fileName,
                            const QSize &,
                            QIcon::Mode mode,
                            QIcon::State state)
{
    if (!fileName.isEmpty()) {
        files.insert(keyOf(mode, state), fileName);
        drawn.clear();
    }
}

QPixmap SvgIconEngine::pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    const QString cacheKey
        = QStringLiteral("%1x%2/%3").arg(size.width()).arg(size.height()).arg(keyOf(mode, state));
    const auto found = drawn.constFind(cacheKey);
    if (found != drawn.constEnd())
        return found.value();

    // The file of the mode, in this state or else the other; else the normal one, likewise.
    const QIcon::State other = state == QIcon::Off ? QIcon::On : QIcon::Off;
    QIcon::Mode loaded = mode;
    QString file = files.value(keyOf(mode, state), files.value(keyOf(mode, other)));
    if (file.isEmpty()) {
        loaded = QIcon::Normal;
        file = files.value(keyOf(QIcon::Normal, state), files.value(keyOf(QIcon::Normal, other)));
    }

    QPixmap pixmap;
    QSvgRenderer renderer(file);
    if (renderer.isValid()) {
        QSize shown = renderer.defaultSize();
        if (!shown.isNull())
            shown.scale(size, Qt::KeepAspectRatio);
        if (!shown.isEmpty()) {
            QImage image(shown, QImage::Format_ARGB32_Premultiplied);
            image.fill(0);
            QPainter painter(&image);
            renderer.render(&painter);
            painter.end();
            pixmap = QPixmap::fromImage(image);
            if (loaded != mode && mode != QIcon::Normal) {
                QStyleOption option;
                option.palette = QGuiApplication::palette();
                const QPixmap generated = QApplication::style()->generatedIconPixmap(mode,
                                                                                     pixmap,
                                                                                     &option);
                if (!generated.isNull())
                    pixmap = generated;
            }
        }
    }
    drawn.insert(cacheKey, pixmap);
    return pixmap;
}

void SvgIconEngine::paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state)
{
    QSize size = rect.size();
    if (painter->device() != nullptr)
        size *= painter->device()->devicePixelRatio();
    painter->drawPixmap(rect, pixmap(size, mode, state));
}

QSize SvgIconEngine::actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state)
{
    const QPixmap drawnPixmap = pixmap(size, mode, state);
    return drawnPixmap.isNull() ? QSize() : drawnPixmap.size();
}

QString SvgIconEngine::key() const
{
    return QStringLiteral("svg");
}

QIconEngine *SvgIconEngine::clone() const
{
    return new SvgIconEngine(*this);
}

bool SvgIconEngine::isNull()
{
    return files.isEmpty();
}
