#pragma once

#include <QColor>
#include <QString>

QT_BEGIN_NAMESPACE
class QFrame;
QT_END_NAMESPACE

// A grey of the given level (0-255) in all three channels, with the given alpha.
QColor greyColor(int level, int alpha);

// Separators of thickness scaledSize(n) filled with the colour; the caller takes ownership.
QFrame *horizontalLine(int n, const QColor &color);
QFrame *verticalLine(int n, const QColor &color);

// Whether this program is the sibling control application (it never is: kept so the shared
// code paths read the same in both programs).
bool isControlApplication();

// Breaks text into lines of at most width characters, at most maxLines lines; a text still
// too long then ends in "...". A width or line limit below 1 returns the text unchanged.
QString wrapText(const QString &text, int width, int maxLines);

// Pops every override cursor of the application.
void restoreAllOverrideCursors();
