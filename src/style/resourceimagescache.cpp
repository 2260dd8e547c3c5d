#include "resourceimagescache.h"

#include "svgiconengine.h"

#include <QFile>

#include <array>
#include <initializer_list>

namespace {

struct VariantRow
{
    std::initializer_list<const char *> images; // relative to ":/images/"
    bool disabled;                              // a "_disable" twin besides the "_black" one
};

// In lookup order: the first row that names a path decides its variants.
const std::array<VariantRow, 12> variantRows{{
    {{"side_window_icon/UnDock.svg",
      "side_window_icon/Dock.svg",
      "side_window_icon/Close_S.svg",
      "top_bar_icon/Max.svg",
      "top_bar_icon/Reduction.svg"},
     false},
    {{"tool_bar_icon/NewProjectFile.svg",
      "tool_bar_icon/OpenProjectFile.svg",
      "tool_bar_icon/Save.svg",
      "pull_down_menu/ExportStyle.svg",
      "pull_down_menu/ImportStyle.svg",
      "top_bar_icon/Close.svg"},
     false},
    {{"tool_bar_icon/Undo.svg",
      "tool_bar_icon/Redo.svg",
      "pull_down_menu/Repeat.svg",
      "pull_down_menu/Cut.svg",
      "pull_down_menu/Copy.svg",
      "pull_down_menu/Paste.svg",
      "pull_down_menu/CopyFormat.svg",
      "pull_down_menu/PasteFormat.svg",
      "tool_bar_icon/SaveStyle.svg",
      "pull_down_menu/Duplicate.svg",
      "pull_down_menu/DuplicateOtherCh.svg"},
     true},
    {{"tool_bar_icon/AlignLeft.svg",
      "tool_bar_icon/AlignRight.svg",
      "tool_bar_icon/AlignTop.svg",
      "tool_bar_icon/AlignBottom.svg",
      "tool_bar_icon/AlignHorizontalCenter.svg",
      "tool_bar_icon/AlignVerticalCenter.svg",
      "tool_bar_icon/DistributeHorizontal.svg",
      "tool_bar_icon/DistributeVertically.svg",
      "tool_bar_icon/BringToFront.svg",
      "tool_bar_icon/BringToForward.svg",
      "tool_bar_icon/SendBackward.svg",
      "tool_bar_icon/SendToBack.svg",
      "pull_down_menu/Group.svg",
      "pull_down_menu/UnGroup.svg"},
     true},
    {{"tool_bar_icon/NewProjectWizard.svg"}, false},
    {{"tool_bar_icon/ZoomOrigin.svg",
      "tool_bar_icon/ZoomIn.svg",
      "tool_bar_icon/ZoomOut.svg",
      "tool_bar_icon/FitToScreen.svg",
      "tool_bar_icon/OpenMasterStyle.svg"},
     true},
    {{"side_window_icon/AddDevice.svg"}, false},
    {{"side_window_pull_down_menu_icon/DeviceCancel.svg",
      "side_window_pull_down_menu_icon/DeviceRegister.svg"},
     true},
    {{"side_window_icon/SortAscending.svg",
      "side_window_icon/SortDescending.svg",
      "side_window_icon/MovePageUP.svg",
      "side_window_icon/MovePageDown.svg",
      "side_window_icon/AddController.svg"},
     false},
    {{"side_window_pull_down_menu_icon/AddPage.svg",
      "side_window_pull_down_menu_icon/ControllerDuplicate.svg",
      "side_window_pull_down_menu_icon/PageDuplicate.svg",
      "side_window_pull_down_menu_icon/DeleteController.svg",
      "side_window_pull_down_menu_icon/PageDelete.svg",
      "side_window_pull_down_menu_icon/Rename.svg",
      "side_window_pull_down_menu_icon/SetAsHome.svg",
      "tool_bar_icon/ExportControllerFile.svg",
      "side_window_pull_down_menu_icon/ExportControllerFile.svg",
      "tool_bar_icon/RunControllerFile.svg",
      "side_window_pull_down_menu_icon/RunControllerFile.svg"},
     true},
    {{"side_window_icon/CollapseAll.svg", "side_window_icon/ExpandAll.svg"}, false},
    {{"top_bar_icon/FileClose.svg",
      "top_bar_icon/kiosk/List.svg",
      "top_bar_icon/kiosk/PulldownArrow.svg",
      "top_bar_icon/Setup.svg",
      "top_bar_icon/kiosk/FullScreen.svg",
      "top_bar_icon/Min.svg"},
     false},
}};

const QLatin1String imagesPrefix(":/images/");

const VariantRow *variantRowFor(const QString &path)
{
    if (!path.startsWith(imagesPrefix))
        return nullptr;
    const QStringView relative = QStringView(path).mid(imagesPrefix.size());
    for (const VariantRow &row : variantRows) {
        for (const char *image : row.images) {
            if (relative == QLatin1String(image))
                return &row;
        }
    }
    return nullptr;
}

// A twin lies in the sibling of the image's top folder: ":/images/D/rest" becomes
// ":/images/D<suffix>/rest", so "top_bar_icon/kiosk/List.svg" has its hover twin in
// "top_bar_icon_black/kiosk/List.svg".
QString twinPath(const QString &path, const char *suffix)
{
    const qsizetype slash = path.indexOf(QLatin1Char('/'), imagesPrefix.size());
    QString twin = path;
    return twin.insert(slash, QLatin1String(suffix));
}

} // namespace

ResourceImagesCache::~ResourceImagesCache() = default;

QList<QPair<QIcon::Mode, QString>> ResourceImagesCache::variantFiles(const QString &path)
{
    QList<QPair<QIcon::Mode, QString>> files;
    if (const VariantRow *row = variantRowFor(path)) {
        if (row->disabled)
            files.append({QIcon::Disabled, twinPath(path, "_disable")});
        files.append({QIcon::Active, twinPath(path, "_black")});
    }
    return files;
}

ResourceImagesCache *ResourceImagesCache::instance()
{
    static ResourceImagesCache cache;
    return &cache;
}

QIcon *ResourceImagesCache::icon(const QString &path)
{
    auto found = icons.find(path);
    if (found != icons.end())
        return &found.value();

    // A file-based icon is not null before it is first drawn, whether or not its file exists.
    if (!QFile::exists(path))
        return nullptr;
    // Read when first drawn: an SVG file through our own engine, anything else through Qt's.
    auto stored = icons.insert(path,
                               path.endsWith(QLatin1String(".svg"), Qt::CaseInsensitive)
                                   ? QIcon(new SvgIconEngine(path))
                                   : QIcon(path));
    if (stored->isNull()) {
        icons.erase(stored);
        return nullptr;
    }
    const auto variants = variantFiles(path);
    for (const auto &[mode, file] : variants)
        stored->addFile(file, QSize(), mode, QIcon::Off);
    return &stored.value();
}

QPixmap *ResourceImagesCache::pixmap(const QString &path)
{
    auto found = pixmaps.find(path);
    if (found != pixmaps.end())
        return &found.value();

    auto stored = pixmaps.insert(path, QPixmap(path));
    if (stored->isNull()) {
        pixmaps.erase(stored);
        return nullptr;
    }
    return &stored.value();
}
