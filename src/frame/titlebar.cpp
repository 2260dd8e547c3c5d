#include "titlebar.h"

#include "appicon.h"
#include "base/appfont.h"
#include "base/controllerfacade.h"
#include "style/customtoolbar.h"
#include "style/resourceimagescache.h"

#include <QAction>
#include <QHBoxLayout>
#include <QSvgWidget>
#include <QVBoxLayout>

namespace {

QAction *makeButtonAction(const QString &iconPath, const QString &text, const QString &name)
{
    auto action = new QAction;
    action->setObjectName(name);
    if (const QIcon *icon = ResourceImagesCache::instance()->icon(iconPath))
        action->setIcon(*icon);
    action->setText(text);
    return action;
}

QBoxLayout *tightLayout(QBoxLayout *layout)
{
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

TitleBar::TitleBar()
    : QWidget(nullptr)
{
    setObjectName(QStringLiteral("titleBar"));
    ResourceImagesCache *images = ResourceImagesCache::instance();
    maximizeIcon = images->icon(QStringLiteral(":/images/top_bar_icon/Max.svg"));
    restoreIcon = images->icon(QStringLiteral(":/images/top_bar_icon/Reduction.svg"));

    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(true);
    QPalette black;
    black.setBrush(QPalette::All, QPalette::Window, QBrush(Qt::black));
    setPalette(black);

    QBoxLayout *mainRow = tightLayout(new QHBoxLayout);

    appIcon = new AppIcon;
    appIcon->setObjectName(QStringLiteral("appIcon"));
    nonCaptionWidgets.append(appIcon);
    appIcon->setFixedWidth(scaledSize(35));
    appIcon->load(QStringLiteral(":/images/top_bar_icon/QV_Logo.svg"));

    auto logoText = new QSvgWidget;
    logoText->setObjectName(QStringLiteral("logoText"));
    logoText->load(QStringLiteral(":/images/top_bar_icon/kiosk/QV_LogoTextKiosk.svg"));
    logoText->setFixedWidth(scaledSize(140));

    QBoxLayout *logoRow = tightLayout(new QHBoxLayout);
    logoRow->addSpacing(scaledSize(4));
    logoRow->addWidget(appIcon);
    logoRow->addWidget(logoText);
    logoRow->addSpacing(scaledSize(30));

    QBoxLayout *logoColumn = tightLayout(new QVBoxLayout);
    logoColumn->addSpacing(scaledSize(4));
    logoColumn->addLayout(logoRow);
    logoColumn->addSpacing(scaledSize(4));
    mainRow->addLayout(logoColumn);

    auto buttons = new CustomToolBar;
    buttons->setObjectName(QStringLiteral("titleButtons"));
    nonCaptionWidgets.append(buttons);
    buttons->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);

    minimizeAction = makeButtonAction(QStringLiteral(":/images/top_bar_icon/Min.svg"),
                                      QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPMINIMIZE"),
                                      QStringLiteral("minimizeAction"));
    connect(minimizeAction, &QAction::triggered, this, &TitleBar::clickedMinimize);
    buttons->addAction(minimizeAction);
    maximizeAction = makeButtonAction(QStringLiteral(":/images/top_bar_icon/Max.svg"),
                                      QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPMAXIMIZE"),
                                      QStringLiteral("maximizeAction"));
    connect(maximizeAction, &QAction::triggered, this, &TitleBar::clickedMaximize);
    buttons->addAction(maximizeAction);
    closeAction = makeButtonAction(QStringLiteral(":/images/top_bar_icon/Close.svg"),
                                   QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPCLOSE"),
                                   QStringLiteral("closeAction"));
    connect(closeAction, &QAction::triggered, this, &TitleBar::clickedClose);
    buttons->addAction(closeAction);

    QBoxLayout *buttonRow = tightLayout(new QHBoxLayout);
    buttonRow->setAlignment(Qt::AlignRight);
    buttonRow->addWidget(buttons);

    mainRow->addSpacing(scaledSize(5));
    mainRow->addLayout(buttonRow);
    setLayout(mainRow);
}

TitleBar::~TitleBar()
{
    delete closeAction;
    delete maximizeAction;
    delete minimizeAction;
}

bool TitleBar::isCaptionAt(int x, int y) const
{
    const QPoint global(x, y);
    if (!rect().contains(mapFromGlobal(global)))
        return false;
    for (const QWidget *widget : nonCaptionWidgets) {
        QRect area = widget->geometry();
        area.moveTopLeft(mapToGlobal(area.topLeft()));
        if (area.contains(global))
            return false;
    }
    return true;
}

void TitleBar::setMaximizedLook(bool maximized)
{
    const QIcon *icon = maximized ? restoreIcon : maximizeIcon;
    if (icon != nullptr)
        maximizeAction->setIcon(*icon);
    maximizeAction->setToolTip(maximized ? QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPRESTOREDOWN")
                                         : QObject::tr("ID_RESSTR_TITLEBAR_TOOLTIPMAXIMIZE"));
}

void TitleBar::clickedMinimize()
{
    ControllerFacade::instance().requestToMinimize();
}

void TitleBar::clickedMaximize()
{
    ControllerFacade::instance().requestToMaximize();
}

void TitleBar::clickedClose()
{
    ControllerFacade::instance().requestToClose();
}
