#pragma once

#include <QString>

QT_BEGIN_NAMESPACE
class QMenu;
class QWidget;
QT_END_NAMESPACE

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
// Gives the menu menuStyleSheet(dark) just before it is first shown: a window polishes all its
// widgets when it is shown, hidden menus too, and a menu under a sheet costs the start the most.
void setMenuStyleSheetOnShow(QMenu *menu, bool dark);

// Gives the widget the sheet when it is first polished (as it is first shown). A widget that has
// a sheet of its own repolishes itself and all its children whenever it is put into a layout or
// under another parent, which a window built from the inside out does several times.
void setStyleSheetWhenPolished(QWidget *widget, const QString &sheet);
QString flatButtonStyleSheet();
