#include "centralwidget.h"

#include "initialarea.h"

#include "base/controllerfacade.h"
#include "base/settings.h"
#include "base/widgethelpers.h"
#include "dialogs/dialogabout.h"
#include "dialogs/dialoglegal.h"
#include "documents/documentsmanager.h"
#include "frame/actions.h"
#include "frame/mainwindowbase.h"
#include "frame/resizehandle.h"
#include "recentfiles/crecentfilesmodel.h"

#include <QAction>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

QString recentFilesKey()
{
    return QStringLiteral("RecentlyUsedFiles");
}

// Command numbers of the registry.
constexpr int openControllerFileId = 2;
constexpr int exitId = 9;
constexpr int aboutId = 53;
constexpr int legalId = 54;

QVBoxLayout *column()
{
    auto layout = new QVBoxLayout;
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

} // namespace

CentralWidget::CentralWidget(MainWindowBase *mainWindow)
    : CentralWidgetBase(mainWindow)
{
    using Edge = ResizeHandle::Edge;
    const auto handle = [this, mainWindow](Edge edge, bool black) {
        auto made = black ? new ResizeHandle(this, mainWindow, edge)
                          : new ResizeHandle(this, mainWindow, edge, greyColor(153, 255), 5);
        connect(made, &ResizeHandle::resized, mainWindow, &MainWindowBase::changedGeometry);
        handles << made;
        return made;
    };

    auto left = column();
    left->addWidget(handle(Edge::TopLeft, true));
    left->addWidget(handle(Edge::LeftUpper, true));
    left->addWidget(handle(Edge::Left, false));
    left->addWidget(handle(Edge::BottomLeft, false));

    auto middle = column();
    ResizeHandle *top = handle(Edge::Top, true);
    ResizeHandle *bottom = handle(Edge::Bottom, false);
    actions = new Actions;
    startPage = new InitialArea(actions);
    middle->addWidget(top);
    middle->addWidget(startPage);
    middle->addWidget(bottom);

    auto right = column();
    right->addWidget(handle(Edge::TopRight, true));
    right->addWidget(handle(Edge::RightUpper, true));
    right->addWidget(handle(Edge::Right, false));
    right->addWidget(handle(Edge::BottomRight, false));

    auto row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    row->addLayout(left);
    row->addLayout(middle);
    row->addLayout(right);
    setLayout(row);

    const QVariant stored = settingsValue(recentFilesKey());
    listStored = stored.isValid();
    if (!stored.toString().isEmpty())
        startPage->recentFilesModel()->fromString(stored.toString());

    connect(actions->action(openControllerFileId),
            &QAction::triggered,
            this,
            &CentralWidget::triggeredOpenControllerFile);
    connect(actions->action(exitId), &QAction::triggered, this, &CentralWidget::triggeredExit);
    connect(actions->action(aboutId), &QAction::triggered, this, &CentralWidget::triggeredAbout);
    connect(actions->action(legalId), &QAction::triggered, this, &CentralWidget::triggeredLegal);
}

CentralWidget::~CentralWidget()
{
    // Written back only when this run changed it (or nothing was stored yet), so a copy that
    // merely showed the list does not overwrite what another copy saved meanwhile.
    const CRecentFilesModel *model = startPage->recentFilesModel();
    if (model->isChanged() || !listStored)
        setSettingsValue(recentFilesKey(), QVariant(model->toString()));
    handles.clear();
    delete actions;
}

bool CentralWidget::isCaptionAt(int x, int y)
{
    return startPage->isCaptionAt(x, y);
}

void CentralWidget::showResizeHandles()
{
    for (ResizeHandle *handle : std::as_const(handles))
        handle->show();
}

void CentralWidget::hideResizeHandles()
{
    for (ResizeHandle *handle : std::as_const(handles))
        handle->hide();
}

void CentralWidget::setMaximizedLook(bool maximized)
{
    startPage->setMaximizedLook(maximized);
}

void CentralWidget::changedFilePath()
{
    const QString path = QString::fromStdU16String(ControllerFacade::instance().filePath());
    DocumentsManager::instance().setCurrentFile(path);
    if (!path.isEmpty())
        startPage->recentFilesModel()->addFile(path);
}

void CentralWidget::showEvent(QShowEvent *event)
{
    // The black parts of the side borders are exactly as tall as the title bar.
    for (ResizeHandle *handle : std::as_const(handles)) {
        if (handle->edge() == ResizeHandle::Edge::LeftUpper
            || handle->edge() == ResizeHandle::Edge::RightUpper)
            handle->setEdgeHeight(startPage->titleBarHeight());
    }
    QWidget::showEvent(event);
}

void CentralWidget::triggeredOpenControllerFile()
{
    bool launchFailed = false;
    if (DocumentsManager::instance().openControllerFile(this, launchFailed, QString(), false))
        ControllerFacade::instance().requestToClose();
}

void CentralWidget::triggeredExit()
{
    ControllerFacade::instance().requestToClose();
}

void CentralWidget::triggeredAbout()
{
    DialogAbout dialog(this);
    dialog.exec();
}

void CentralWidget::triggeredLegal()
{
    DialogLegal dialog(this);
    dialog.exec();
}
