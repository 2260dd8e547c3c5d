#pragma once

#include <QHash>
#include <QIconEngine>
#include <QPixmap>
#include <QString>

// Draws an icon from SVG files as Qt's SVG icon plug-in does (a file per mode and state, the
// normal file for the others, with the style's generated look for a mode it stands in for), but
// reads a file only when the icon is first drawn, and needs no plug-in: a window's icons are all
// made when it is built, most of them drawn later or never.
class SvgIconEngine final : public QIconEngine
{
public:
    explicit SvgIconEngine(const QString &normalFile);

    void addFile(const QString &fileName,
                 const QSize &size,
                 QIcon::Mode mode,
                 QIcon::State state) override;
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override;
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine *clone() const override;
    bool isNull() override;

private:
    static int keyOf(QIcon::Mode mode, QIcon::State state);

    QHash<int, QString> files;
    QHash<QString, QPixmap> drawn;
};
