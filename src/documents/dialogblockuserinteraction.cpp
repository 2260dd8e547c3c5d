#include "dialogblockuserinteraction.h"

#include "base/appfont.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

DialogBlockUserInteraction::DialogBlockUserInteraction(QWidget *parent)
    : CustomDialog(parent, false)
{
    setWindowFlags(windowFlags() | Qt::FramelessWindowHint);

    auto label = new QLabel(QStringLiteral("Initializing..."));
    label->setObjectName(QStringLiteral("messageLabel"));
    label->setAlignment(Qt::AlignCenter);

    auto column = new QVBoxLayout;
    column->setContentsMargins(scaledSize(60), scaledSize(20), scaledSize(60), scaledSize(20));
    column->addWidget(label);
    setDialogLayout(column);

    setTitle(QObject::tr("ID_RESSTR_APPLICATION_QVKIOSK"));
}

DialogBlockUserInteraction::~DialogBlockUserInteraction() = default;

double DialogBlockUserInteraction::aspectRatio() const
{
    return 0;
}

bool DialogBlockUserInteraction::handlesTitleBarClose() const
{
    return true;
}

void DialogBlockUserInteraction::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CustomDialog::keyPressEvent(event);
}

void DialogBlockUserInteraction::closeEvent(QCloseEvent *event)
{
    // Alt+F4 and the window manager's close button arrive as close events, and Qt 6 delivers
    // close() the same way, so no close event ends it; its owner ends it with done().
    event->ignore();
}
