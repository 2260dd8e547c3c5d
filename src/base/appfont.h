#pragma once

#include <QSize>
#include <QString>

QT_BEGIN_NAMESPACE
class QWidget;
QT_END_NAMESPACE

// The length unit of the whole user interface: n tenths of the width of "@" in the measuring
// font "Noto Sans,8", in pixels, truncated toward zero. Measured once per process, on the first
// call, with the application font registered first.
int scaledSize(int n);

// The message-box icon size: scaledSize(40) square.
QSize iconSizeDefault();

// Gives the widget the application font's family (registered from the resources on the first
// call; never retried) and, when pointSize >= 1, that point size.
void applyAppFont(QWidget *widget, int pointSize);

// applyAppFont with 9 points on the widget and every descendant widget.
void applyAppFontTree(QWidget *widget);

// The family of the registered application font; empty when registration failed.
QString appFontFamily();

// Registers a font file and returns its first family, or an empty string when the file
// could not be registered.
QString registerApplicationFont(const QString &path);

// Sets family (when not empty) and pointSize (when >= 1) on the widget's font; the widget is
// left alone when neither applies.
void applyFont(QWidget *widget, const QString &family, int pointSize);
