#include "actions.h"

#include "base/resourcestrings.h"
#include "style/resourceimagescache.h"

#include <QAction>
#include <QKeySequence>

#include <array>
#include <variant>

namespace {

enum class State { Plain, Checked, Unchecked, Disabled };

using Shortcut = std::variant<std::monostate, QKeySequence::StandardKey, const char *>;

struct Row
{
    const char *text; // after "ID_RESSTR_ACTIONS_"; null: the number has no action
    const char *icon; // under ":/images/"
    Shortcut shortcut = {};
    State state = State::Plain;
};

// Indexed by number.
const std::array<Row, 85> rows{{
    {"FILENEW", "tool_bar_icon/NewProjectFile.svg", QKeySequence::New},
    {"FILEOPENPROJECT", "tool_bar_icon/OpenProjectFile.svg", QKeySequence::Open},
    {"FILEOPENCONTROLLER", "tool_bar_icon/OpenProjectFile.svg", QKeySequence::Open},
    {"FILESAVE", "tool_bar_icon/Save.svg", QKeySequence::Save},
    {"FILESAVEAS", "tool_bar_icon/Save.svg"},
    {"FILEEXPORTMASTERSTYLE", "pull_down_menu/ExportStyle.svg"},
    {"FILEIMPORTMASTERSTYLE", "pull_down_menu/ImportStyle.svg"},
    {"FILECLOSEPROJECT", nullptr},
    {"FILETRANSFER", nullptr},
    {"FILEEXIT", "top_bar_icon/Close.svg", "Alt+F4"},
    {"EDITUNDO", "tool_bar_icon/Undo.svg", QKeySequence::Undo},
    {"EDITREDO", "tool_bar_icon/Redo.svg", QKeySequence::Redo},
    {"EDITREPEAT", "pull_down_menu/Repeat.svg", "F4"},
    {"EDITCUT", "pull_down_menu/Cut.svg", QKeySequence::Cut},
    {"EDITCOPY", "pull_down_menu/Copy.svg", QKeySequence::Copy},
    {"EDITPASTE", "pull_down_menu/Paste.svg", QKeySequence::Paste, State::Disabled},
    {"EDITCOPYSTYLE", "pull_down_menu/CopyFormat.svg"},
    {"EDITPASTESTYLE", "pull_down_menu/PasteFormat.svg"},
    {"EDITSAVEASMASTERSTYLE", "tool_bar_icon/SaveStyle.svg"},
    {"EDITAPPLYMASTERSTYLE", nullptr},
    {"EDITDUPLICATE", "pull_down_menu/Duplicate.svg", "Ctrl+D"},
    {"EDITDUPLICATEOTHERCHANNELS", "pull_down_menu/DuplicateOtherCh.svg", "Ctrl+Shift+D"},
    {"EDITDELETE", nullptr, QKeySequence::Delete},
    {"EDITSELECTALL", nullptr, QKeySequence::SelectAll},
    {"EDITPROJECTFILEIMAGES", nullptr},
    {"EDITCREATEMASTERBUTTON", nullptr},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {nullptr, nullptr},
    {"VIEWACTIONS", nullptr, {}, State::Unchecked},
    {"VIEWFINDER", nullptr, {}, State::Unchecked},
    {"VIEWTOOLBAR", nullptr, {}, State::Checked},
    {"VIEWDOCKWINDOWALL", nullptr},
    {"ARRANGEALIGNLEFT", "tool_bar_icon/AlignLeft.svg"},
    {"ARRANGEALIGNRIGHT", "tool_bar_icon/AlignRight.svg"},
    {"ARRANGEALIGNTOP", "tool_bar_icon/AlignTop.svg"},
    {"ARRANGEALIGNBOTTOM", "tool_bar_icon/AlignBottom.svg"},
    {"ARRANGEALIGNHCENTER", "tool_bar_icon/AlignHorizontalCenter.svg"},
    {"ARRANGEALIGNVCENTER", "tool_bar_icon/AlignVerticalCenter.svg"},
    {"ARRANGEDISTRIBUTEH", "tool_bar_icon/DistributeHorizontal.svg"},
    {"ARRANGEDISTRIBUTEV", "tool_bar_icon/DistributeVertically.svg"},
    {"ARRANGEBRINGTOFRONT", "tool_bar_icon/BringToFront.svg"},
    {"ARRANGEBRINGFORWARD", "tool_bar_icon/BringToForward.svg"},
    {"ARRANGESENDBACKWARD", "tool_bar_icon/SendBackward.svg"},
    {"ARRANGESENDTOBACK", "tool_bar_icon/SendToBack.svg"},
    {"ARRANGEGROUP", "pull_down_menu/Group.svg", "Ctrl+G"},
    {"ARRANGEUNGROUP", "pull_down_menu/UnGroup.svg", "Ctrl+Shift+G"},
    {"SETUPNETWORK", nullptr},
    {"SETUPSECURITY", nullptr},
    {"SETUPMASTERSTYLE", nullptr},
    {"SETUPOTHERS", nullptr},
    {"SETUPLOG", nullptr},
    {"ABOUTQVKIOSK", nullptr},
    {"ABOUTLEGAL", nullptr},
    {"TOOLNEWPROJECTWIZARD", "tool_bar_icon/NewProjectWizard.svg"},
    {"TOOLZOOMORIGIN", "tool_bar_icon/ZoomOrigin.svg"},
    {"TOOLZOOMIN", "tool_bar_icon/ZoomIn.svg"},
    {"TOOLZOOMOUT", "tool_bar_icon/ZoomOut.svg"},
    {"TOOLZOOMFIT", "tool_bar_icon/FitToScreen.svg"},
    {"TOOLOPENMASTERSTYLE", "tool_bar_icon/OpenMasterStyle.svg"},
    {"DEVICESADD", "side_window_icon/AddDevice.svg"},
    {"DEVICESREMOVE", "side_window_pull_down_menu_icon/DeviceCancel.svg", QKeySequence::Delete},
    {"DEVICESREGISTER", "side_window_pull_down_menu_icon/DeviceRegister.svg"},
    {"DEVICESSORTASCENDING", "side_window_icon/SortAscending.svg"},
    {"CONTROLLERSMOVEPAGEUP", "side_window_icon/MovePageUP.svg"},
    {"CONTROLLERSMOVEPAGEDOWN", "side_window_icon/MovePageDown.svg"},
    {"CONTROLLERSADDCONTROLLER", "side_window_icon/AddController.svg"},
    {"CONTROLLERSADDPAGE", "side_window_pull_down_menu_icon/AddPage.svg"},
    {"CONTROLLERSREMOVE",
     "side_window_pull_down_menu_icon/DeleteController.svg",
     QKeySequence::Delete},
    {"CONTROLLERSREMOVE", "side_window_pull_down_menu_icon/PageDelete.svg", QKeySequence::Delete},
    {"CONTROLLERSRENAME", "side_window_pull_down_menu_icon/Rename.svg", "F2"},
    {"CONTROLLERSSETASHOME", "side_window_pull_down_menu_icon/SetAsHome.svg"},
    {"CONTROLLERSDUPLICATE", "side_window_pull_down_menu_icon/ControllerDuplicate.svg", "Ctrl+D"},
    {"CONTROLLERSDUPLICATE", "side_window_pull_down_menu_icon/PageDuplicate.svg", "Ctrl+D"},
    {"CONTROLLERSEXPORT", "side_window_pull_down_menu_icon/ExportControllerFile.svg"},
    {"CONTROLLERSEXPORT", "tool_bar_icon/ExportControllerFile.svg"},
    {"CONTROLLERSRUN", "side_window_pull_down_menu_icon/RunControllerFile.svg", {}, State::Disabled},
    {"CONTROLLERSRUN", "tool_bar_icon/RunControllerFile.svg", {}, State::Disabled},
    {"TOOLCOLLAPSETREE", "side_window_icon/CollapseAll.svg"},
    {"TOOLEXPANDTREE", "side_window_icon/ExpandAll.svg"},
    {"TOOLCOLLAPSETREE", "side_window_icon/CollapseAll.svg"},
    {"TOOLEXPANDTREE", "side_window_icon/ExpandAll.svg"},
    {"TOOLCOLLAPSETREE", "side_window_icon/CollapseAll.svg"},
    {"TOOLEXPANDTREE", "side_window_icon/ExpandAll.svg"},
}};

constexpr int aboutNumber = 53;

QAction *makeAction(int id)
{
    // Negative numbers are outside the table like numbers past its end.
    if (id < 0 || id >= int(rows.size()) || rows[size_t(id)].text == nullptr)
        return nullptr;
    const Row &row = rows[size_t(id)];

    QString text = translateText(QStringLiteral("ID_RESSTR_ACTIONS_") + QLatin1String(row.text));
    if (id == aboutNumber)
        text = text.arg(translateText(QStringLiteral("ID_RESSTR_APPLICATION_QVKIOSK")));

    auto action = new QAction(text);
    if (row.icon != nullptr) {
        const QString path = QStringLiteral(":/images/") + QLatin1String(row.icon);
        if (const QIcon *icon = ResourceImagesCache::instance()->icon(path))
            action->setIcon(*icon);
    }

    if (const auto *standard = std::get_if<QKeySequence::StandardKey>(&row.shortcut))
        action->setShortcuts(*standard);
    else if (const auto *keys = std::get_if<const char *>(&row.shortcut))
        action->setShortcut(QKeySequence(QLatin1String(*keys)));

    switch (row.state) {
    case State::Checked:
    case State::Unchecked:
        action->setCheckable(true);
        action->setChecked(row.state == State::Checked);
        break;
    case State::Disabled:
        action->setEnabled(false);
        break;
    case State::Plain:
        break;
    }
    return action;
}

} // namespace

Actions::Actions() = default;

Actions::~Actions()
{
    qDeleteAll(actions);
}

QAction *Actions::action(int id)
{
    const auto found = actions.constFind(id);
    if (found != actions.constEnd())
        return found.value();
    QAction *made = makeAction(id);
    actions.insert(id, made);
    return made;
}
