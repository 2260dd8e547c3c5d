#pragma once

#include <QSize>
#include <QString>

// The size of the product picture on the splash screen and the about dialog: scaledSize(800)
// by scaledSize(400), never smaller than 800 x 400 pixels. Fixed on the first call.
QSize splashImageSize();

// The version line under the product picture: "<name> Ver.<major>.<minor>.<patch>", the build
// number left out. A version part that does not exist counts as empty.
QString splashVersionLine();
