#include "centralwidget.h"

#include "initialarea.h"

#include "base/controllerfacade.h"
#include "base/settings.h"
#include "dialogs/dialogabout.h"
#include "dialogs/dialoglegal.h"
#include "documents/documentsmanager.h"
#include "frame/actions.h"
#include "frame/mainwindowbase.h"
#include "recentfiles/crecentfilesmodel.h"

#include <QAction>

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

} // namespace

CentralWidget::CentralWidget(MainWindowBase *mainWindow)
    : CentralWidgetBase(mainWindow)
    , actions(new Actions)
    , startPage(new InitialArea(actions))
    , border(this, mainWindow, startPage)
{
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
    delete actions;
}

bool CentralWidget::isCaptionAt(int x, int y)
{
    return startPage->isCaptionAt(x, y);
}

void CentralWidget::showResizeHandles()
{
    border.setVisible(true);
}

void CentralWidget::hideResizeHandles()
{
    border.setVisible(false);
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
    border.setUpperHeight(startPage->titleBarHeight());
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
