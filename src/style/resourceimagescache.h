#pragma once

#include <QIcon>
#include <QMap>
#include <QPixmap>
#include <QString>

// The one place widgets take their icons and pictures from. Each resource is loaded at most
// once per process; callers get pointers that stay valid until the process ends.
class ResourceImagesCache
{
public:
    virtual ~ResourceImagesCache();

    static ResourceImagesCache *instance();

    // The icon for a resource path, with its hover ("_black") and disabled ("_disable") twins
    // attached where the path has them; null when nothing could be made of the path.
    QIcon *icon(const QString &path);

    // The picture for a resource path; null when it cannot be loaded.
    QPixmap *pixmap(const QString &path);

    // The twin files attached to the icon of a path, in the order they are added.
    static QList<QPair<QIcon::Mode, QString>> variantFiles(const QString &path);

private:
    ResourceImagesCache() = default;

    QMap<QString, QIcon> icons;
    QMap<QString, QPixmap> pixmaps;
};
