#include "controllerfile.h"

#include "accesscode.h"
#include "qvcore.h"

#include <nlohmann/json.hpp>

namespace qvcore {

namespace {

bool codeMatches(const std::optional<std::string> &hash, std::string_view code)
{
    return hash.has_value() && accesscode::matches(*hash, code);
}

} // namespace

bool ControllerFile::hasKnownLayout() const
{
    return version >= 1 && version <= QVCORE_SUPPORTED_KIOSK_FILE_VERSION;
}

bool ControllerFile::opens(std::int32_t level, std::string_view code) const
{
    switch (level) {
    case 1:
        return !administratorCode || codeMatches(administratorCode, code);
    case 2: {
        if (!powerUserPermitted)
            return false;
        if (!powerUserCode)
            return true;
        // Both are checked whichever matches, so the time taken does not tell which code it was.
        const bool powerUser = codeMatches(powerUserCode, code);
        const bool administrator = codeMatches(administratorCode, code);
        return powerUser || administrator;
    }
    default:
        return false;
    }
}

std::optional<std::string> ControllerFile::serialize() const
{
    nlohmann::ordered_json json;
    json["format"] = "qvksk";
    json["version"] = version;
    json["title"] = title;
    json["powerUserPermitted"] = powerUserPermitted;
    json["fileOperation"] = fileOperation;
    if (administratorCode)
        json["administratorCode"] = *administratorCode;
    if (powerUserCode)
        json["powerUserCode"] = *powerUserCode;
    json["controller"] = nlohmann::ordered_json::object();
    try {
        return json.dump(4) + '\n';
    } catch (const nlohmann::json::exception &) {
        return std::nullopt; // a text that is not UTF-8
    }
}

} // namespace qvcore
