#include "fileinfo.h"

#include "controllerfile.h"
#include "qvcore.h"
#include "terminaltext.h"

#include <nlohmann/json.hpp>

#include <ostream>

namespace {

// Which code opens the file at each level, as ControllerFile::opens decides.
std::string administratorAccess(const qvcore::ControllerFile &file)
{
    return file.administratorCode ? "needs the administrator code"
                                  : "needs no code: anyone can open it as Administrator";
}

std::string powerUserAccess(const qvcore::ControllerFile &file)
{
    if (!file.powerUserPermitted)
        return "not permitted";
    if (!file.powerUserCode)
        return "needs no code: anyone can open it as Power User";
    return file.administratorCode ? "needs the power-user or the administrator code"
                                  : "needs the power-user code";
}

} // namespace

void printFileInfo(std::ostream &out, const std::string &path, const qvcore::ControllerFile &file)
{
    out << "file: " << escapeControlCharacters(path) << '\n' << "version: " << file.version;
    if (!file.hasKnownLayout()) {
        out << " (not openable: this library opens versions 1 to "
            << QVCORE_SUPPORTED_KIOSK_FILE_VERSION << ")\n";
        return;
    }
    // The title comes from the file, which may have been made to drive the terminal.
    out << '\n'
        << "title: " << escapeControlCharacters(file.title) << '\n'
        << "power user permitted: " << (file.powerUserPermitted ? "yes" : "no") << '\n'
        << "file operation: " << file.fileOperation << '\n'
        << "Administrator: " << administratorAccess(file) << '\n'
        << "Power User: " << powerUserAccess(file) << '\n'
        << "controller entries: " << file.controllerEntries << '\n';
}

void printFileInfoJson(std::ostream &out,
                       const std::string &path,
                       const qvcore::ControllerFile &file)
{
    nlohmann::ordered_json info;
    info["file"] = path;
    info["version"] = file.version;
    info["openable"] = file.hasKnownLayout();
    if (file.hasKnownLayout()) {
        info["title"] = file.title;
        info["powerUserPermitted"] = file.powerUserPermitted;
        info["fileOperation"] = file.fileOperation;
        info["administrator"] = administratorAccess(file);
        info["powerUser"] = powerUserAccess(file);
        info["controllerEntries"] = file.controllerEntries;
    }
    // ASCII only, so that no text of the file reaches a terminal raw (DEL and C1 controls
    // included); a path that is not UTF-8 shows U+FFFD for each byte that is not.
    out << info.dump(-1, ' ', true, nlohmann::ordered_json::error_handler_t::replace) << '\n';
}
