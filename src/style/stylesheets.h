#pragma once

#include <QString>

// Builders of the program's dark-grey look as Qt style-sheet text. Every length is
// scaledSize() of a design value, so the sheets follow the user's font metrics.

// "rgba(level, level, level, alpha)".
QString grey(int level, int alpha);

// "border[-side]: <scaledSize(width)>px <style> <color>;".
QString borderDeclaration(int width,
                          const QString &style,
                          const QString &color,
                          const QString &side = QString());

QString dialogStyleSheet();
QString lineEditStyleSheet();
QString comboBoxStyleSheet();
QString spinBoxStyleSheet();
QString doubleSpinBoxStyleSheet();
QString scrollBarStyleSheet();
QString tabBarStyleSheet();
QString menuBarStyleSheet();
QString menuStyleSheet(bool dark);
QString flatButtonStyleSheet();
QString toolBarStyleSheet();
