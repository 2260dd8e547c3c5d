#include "customdialogtitlebar.h"

#include "base/appfont.h"
#include "base/widgethelpers.h"
#include "style/customtoolbar.h"
#include "style/resourceimagescache.h"

#include <QAction>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QSpacerItem>

void elideLabel(QLabel *label, int width)
{
    const QString text = label->text();
    const QFontMetrics metrics(label->font());
    for (qsizetype n = text.size(); n >= 1; --n) {
        const QString prefix = text.left(n);
        if (metrics.horizontalAdvance(prefix) <= width) {
            if (prefix != text)
                label->setText(prefix + QStringLiteral("..."));
            return;
        }
    }
}

CustomDialogTitleBar::CustomDialogTitleBar()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("titleBar"));

    QPalette darkPalette = palette();
    darkPalette.setBrush(QPalette::All, QPalette::WindowText, QBrush(Qt::white));
    darkPalette.setBrush(QPalette::All, QPalette::Window, QBrush(greyColor(51, 255)));
    setAutoFillBackground(true);
    setPalette(darkPalette);

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);

    label = new QLabel;
    label->setObjectName(QStringLiteral("titleLabel"));
    label->setTextFormat(Qt::PlainText); // titles carry file names, never markup
    label->setPalette(darkPalette);
    applyAppFont(label, 9);
    // A long title is elided when shown; its full width must never become the dialog's
    // minimum width, which would push the dialog (and its close button) off the screen.
    label->setMinimumWidth(1);

    auto spacer = new QSpacerItem(scaledSize(5),
                                  scaledSize(5),
                                  QSizePolicy::Fixed,
                                  QSizePolicy::Fixed);

    auto closeAction = new QAction;
    closeAction->setObjectName(QStringLiteral("closeAction"));
    if (const QIcon *icon = ResourceImagesCache::instance()->icon(
            QStringLiteral(":/images/side_window_icon/Close_S.svg")))
        closeAction->setIcon(*icon);
    closeAction->setText(QObject::tr("ID_RESSTR_DOCKWIDGETTITLEBAR_TOOLTIPCLOSEWINDOW"));
    connect(closeAction, &QAction::triggered, this, &CustomDialogTitleBar::clickedClose_);

    toolBar = new CustomToolBar;
    toolBar->setObjectName(QStringLiteral("titleToolBar"));
    toolBar->addAction(closeAction);
    // The tool bar does not own actions it is given; tie the action's life to it.
    closeAction->setParent(toolBar);
    if (QWidget *button = toolBar->widgetForAction(closeAction))
        button->setObjectName(QStringLiteral("closeButton"));

    auto row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addItem(spacer);
    row->addWidget(label);
    row->addStretch();
    row->addWidget(toolBar);
    setLayout(row);
}

void CustomDialogTitleBar::mousePressEvent(QMouseEvent *event)
{
    QWidget::mousePressEvent(event);
    if (event->button() == Qt::LeftButton) {
        const QPoint global = event->globalPosition().toPoint();
        emit startToMoveDialog(global.x(), global.y());
        event->setAccepted(true);
    }
}

void CustomDialogTitleBar::mouseMoveEvent(QMouseEvent *event)
{
    QWidget::mouseMoveEvent(event);
    if (event->buttons() == Qt::LeftButton) {
        const QPoint global = event->globalPosition().toPoint();
        emit moveDialog(global.x(), global.y());
        event->setAccepted(true);
    }
}

void CustomDialogTitleBar::showEvent(QShowEvent *event)
{
    const int parentWidth = parentWidget() ? parentWidget()->width() : width();
    const int available = static_cast<int>(parentWidth - 1.5 * toolBar->width());
    elideLabel(label, available);
    QWidget::showEvent(event);
}

void CustomDialogTitleBar::clickedClose_()
{
    emit clickedClose();
}
