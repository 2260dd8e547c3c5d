#pragma once

#include <QWidget>

QT_BEGIN_NAMESPACE
class QLabel;
QT_END_NAMESPACE

struct TakenRequest;

// The stand-in for a running controller: full screen, the controller's title, its file name
// and the access level. Ctrl+Alt+Q leaves it.
class ControllerWindow final : public QWidget
{
    Q_OBJECT

public:
    ControllerWindow();

    void showRequest(const TakenRequest &request);

    // The "title" of a controller file, or its base name when the file cannot be read.
    static QString controllerTitle(const QString &path);

signals:
    void requestToLeave();

private:
    QLabel *titleLabel = nullptr;
    QLabel *fileLabel = nullptr;
    QLabel *levelLabel = nullptr;
};
