#include "widgethelpers.h"

#include "appfont.h"

#include <QCoreApplication>
#include <QFrame>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

QColor greyColor(int level, int alpha)
{
    return QColor(level, level, level, alpha);
}

static QFrame *line(QFrame::Shape shape, int n, const QColor &color)
{
    auto frame = new QFrame;
    frame->setFrameShadow(QFrame::Plain);
    frame->setFrameShape(shape);
    if (shape == QFrame::HLine)
        frame->setFixedHeight(scaledSize(n));
    else
        frame->setFixedWidth(scaledSize(n));
    QPalette palette;
    palette.setBrush(QPalette::All, QPalette::Window, QBrush(color));
    palette.setBrush(QPalette::All, QPalette::WindowText, QBrush(color));
    frame->setAutoFillBackground(true);
    frame->setPalette(palette);
    return frame;
}

QFrame *horizontalLine(int n, const QColor &color)
{
    return line(QFrame::HLine, n, color);
}

QFrame *verticalLine(int n, const QColor &color)
{
    return line(QFrame::VLine, n, color);
}

bool isControlApplication()
{
    return QCoreApplication::applicationName() == QLatin1String("ID_RESSTR_APPLICATION_QVCONTROL");
}

QString wrapText(const QString &text, int width, int maxLines)
{
    QString wrapped = text;
    if (wrapped.length() <= width || width < 1 || maxLines < 1)
        return wrapped;

    qsizetype pos = width;
    for (int line = 1; line < maxLines; ++line) {
        wrapped.insert(pos, QLatin1Char('\n'));
        pos += width + 1;
        if (pos >= wrapped.length())
            return wrapped;
    }
    // Narrower than the ellipsis itself: keep the ellipsis alone rather than the whole text.
    return wrapped.left(std::max<qsizetype>(pos - 3, 0)) + QStringLiteral("...");
}

void restoreAllOverrideCursors()
{
    while (QGuiApplication::overrideCursor())
        QGuiApplication::restoreOverrideCursor();
}
