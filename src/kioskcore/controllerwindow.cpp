#include "controllerwindow.h"

#include "takenrequest.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLabel>
#include <QScreen>
#include <QShortcut>
#include <QVBoxLayout>

namespace {

// Controller files are at most 16 MiB; anything larger is not read for a title.
constexpr qint64 maxControllerFileSize = 16 * 1024 * 1024;

QLabel *makeLabel(const char *objectName, int pointSize, bool bold)
{
    auto *label = new QLabel;
    label->setObjectName(QLatin1String(objectName));
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setPointSize(pointSize);
    font.setBold(bold);
    label->setFont(font);
    return label;
}

} // namespace

ControllerWindow::ControllerWindow()
{
    setObjectName(QStringLiteral("controllerWindow"));
    setWindowTitle(QStringLiteral("Quorvane Kiosk"));
    setStyleSheet(QStringLiteral("QWidget#controllerWindow { background: #202020; }"
                                 "QLabel { color: #f0f0f0; }"));
    setAttribute(Qt::WA_StyledBackground);

    titleLabel = makeLabel("titleLabel", 36, true);
    fileLabel = makeLabel("fileLabel", 16, false);
    levelLabel = makeLabel("levelLabel", 16, false);
    auto *hint = makeLabel("hintLabel", 10, false);
    hint->setText(QStringLiteral("Ctrl+Alt+Q leaves the kiosk"));

    auto *layout = new QVBoxLayout;
    layout->addStretch(2);
    layout->addWidget(titleLabel);
    layout->addSpacing(24);
    layout->addWidget(fileLabel);
    layout->addWidget(levelLabel);
    layout->addStretch(3);
    layout->addWidget(hint);
    setLayout(layout);

    auto *leave = new QShortcut(QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_Q), this);
    leave->setContext(Qt::ApplicationShortcut);
    connect(leave, &QShortcut::activated, this, &ControllerWindow::requestToLeave);
}

void ControllerWindow::showRequest(const TakenRequest &request)
{
    const QString path = QString::fromStdString(request.path);
    titleLabel->setText(controllerTitle(path));
    fileLabel->setText(QStringLiteral("File: %1").arg(QFileInfo(path).fileName()));
    levelLabel->setText(
        QStringLiteral("Access level: %1").arg(QString::fromStdString(request.accessLevel)));
    showFullScreen();
    // Without a window manager (a bare X server, a kiosk session) full screen is only a
    // hint: cover the screen explicitly as well, once the window exists.
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        setGeometry(screen->geometry());
    raise();
    activateWindow();
}

QString ControllerWindow::controllerTitle(const QString &path)
{
    const QString fallback = QFileInfo(path).completeBaseName();
    QFile file(path);
    if (file.size() > maxControllerFileSize || !file.open(QIODevice::ReadOnly))
        return fallback;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    const QString title = document.object().value(QStringLiteral("title")).toString();
    return title.isEmpty() ? fallback : title;
}
