#include "appfont.h"

#include <QFont>
#include <QFontDatabase>
#include <QLabel>
#include <QWidget>

namespace {

int measureAtWidth()
{
    // Until the bundled font is registered, "Noto Sans" resolves to another family and every
    // size of the first dialogs of a run would differ from the later ones.
    appFontFamily();
    QFont font;
    font.fromString(QStringLiteral("Noto Sans,8"));
    // A label rather than bare QFontMetrics, so the font resolves as a widget's does.
    QLabel label;
    label.setFont(font);
    return label.fontMetrics().horizontalAdvance(QLatin1Char('@'));
}

} // namespace

int scaledSize(int n)
{
    // Measured once: a label built for each of the many sizes a window asks for slows its start.
    static const int at = measureAtWidth();
    return static_cast<int>(static_cast<double>(at * n) * 0.1);
}

QSize iconSizeDefault()
{
    return QSize(scaledSize(40), scaledSize(40));
}

QString registerApplicationFont(const QString &path)
{
    const int id = QFontDatabase::addApplicationFont(path);
    if (id == -1)
        return QString();
    return QFontDatabase::applicationFontFamilies(id).value(0);
}

QString appFontFamily()
{
    static const QString family = registerApplicationFont(
        QStringLiteral(":/fonts/NotoSans-Regular.ttf"));
    return family;
}

void applyFont(QWidget *widget, const QString &family, int pointSize)
{
    QFont font = widget->font();
    bool changed = false;
    if (!family.isEmpty()) {
        font.setFamily(family);
        changed = true;
    }
    if (pointSize >= 1) {
        font.setPointSize(pointSize);
        changed = true;
    }
    if (changed)
        widget->setFont(font);
}

void applyAppFont(QWidget *widget, int pointSize)
{
    applyFont(widget, appFontFamily(), pointSize);
}

void applyAppFontTree(QWidget *widget)
{
    applyAppFont(widget, 9);
    const QList<QWidget *> descendants = widget->findChildren<QWidget *>();
    for (QWidget *child : descendants)
        applyAppFont(child, 9);
}
