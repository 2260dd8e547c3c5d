#include "controllerfilereader.h"

#include "accesscode.h"
#include "boundedfile.h"
#include "qvcore.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <map>
#include <string>

namespace qvcore {

namespace {

using Json = nlohmann::json;

// A member of the top-level object; nested values are only counted, never built.
struct Member
{
    enum class Type { Null, Boolean, Integer, Float, String, Object, Array };
    Type type = Type::Null;
    bool boolean = false;
    bool integerFitsInt32 = false;
    std::int32_t integer = 0;
    std::string string;
    std::size_t entries = 0;
};

// Keeps only the top level of the document, so deep nesting costs neither stack nor a tree.
class TopLevelHandler final : public nlohmann::json_sax<Json>
{
public:
    bool rootIsObject = false;
    bool duplicateKey = false;
    std::map<std::string, Member> members;

    bool null() override { return value(Member{}); }
    bool boolean(bool val) override
    {
        Member member;
        member.type = Member::Type::Boolean;
        member.boolean = val;
        return value(std::move(member));
    }
    bool number_integer(number_integer_t val) override
    {
        const bool fits = val >= std::numeric_limits<std::int32_t>::min()
                          && val <= std::numeric_limits<std::int32_t>::max();
        return integer(fits, fits ? val : 0);
    }
    bool number_unsigned(number_unsigned_t val) override
    {
        const bool fits = val <= static_cast<number_unsigned_t>(
                              std::numeric_limits<std::int32_t>::max());
        return integer(fits, fits ? static_cast<std::int64_t>(val) : 0);
    }
    bool number_float(number_float_t, const string_t &) override
    {
        Member member;
        member.type = Member::Type::Float;
        return value(std::move(member));
    }
    bool string(string_t &val) override
    {
        Member member;
        member.type = Member::Type::String;
        if (depth == 1)
            member.string = std::move(val);
        return value(std::move(member));
    }
    bool binary(binary_t &) override { return true; }
    bool start_object(std::size_t) override { return open(Member::Type::Object); }
    bool key(string_t &val) override
    {
        if (depth == 1) {
            currentKey = std::move(val);
        } else if (depth == 2 && current != nullptr) {
            ++current->entries;
        }
        return true;
    }
    bool end_object() override { return close(); }
    bool start_array(std::size_t) override { return open(Member::Type::Array); }
    bool end_array() override { return close(); }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &) override
    {
        return false;
    }

private:
    bool integer(bool fits, std::int64_t val)
    {
        Member member;
        member.type = Member::Type::Integer;
        member.integerFitsInt32 = fits;
        member.integer = fits ? static_cast<std::int32_t>(val) : 0;
        return value(std::move(member));
    }

    bool value(Member &&member)
    {
        if (depth == 1) {
            store(std::move(member));
        } else if (depth == 2 && current != nullptr && current->type == Member::Type::Array) {
            ++current->entries;
        }
        return true;
    }

    bool open(Member::Type type)
    {
        if (depth == 0) {
            rootIsObject = type == Member::Type::Object;
        } else if (depth == 1) {
            Member member;
            member.type = type;
            current = store(std::move(member));
        } else if (depth == 2 && current != nullptr && current->type == Member::Type::Array) {
            ++current->entries;
        }
        ++depth;
        return true;
    }

    bool close()
    {
        --depth;
        if (depth == 1)
            current = nullptr;
        return true;
    }

    Member *store(Member &&member)
    {
        const auto [it, inserted] = members.emplace(currentKey, std::move(member));
        if (!inserted)
            duplicateKey = true;
        return inserted ? &it->second : nullptr;
    }

    std::size_t depth = 0;
    std::string currentKey;
    Member *current = nullptr; // the object or array member being read at depth 1
};

const Member *find(const TopLevelHandler &handler, const std::string &key, Member::Type type)
{
    const auto it = handler.members.find(key);
    return it != handler.members.end() && it->second.type == type ? &it->second : nullptr;
}

bool readInt32(const TopLevelHandler &handler, const std::string &key, std::int32_t &out)
{
    const Member *member = find(handler, key, Member::Type::Integer);
    if (member == nullptr || !member->integerFitsInt32)
        return false;
    out = member->integer;
    return true;
}

// A code is optional; when present it must be a usable hash.
bool readCode(const TopLevelHandler &handler,
              const std::string &key,
              std::optional<std::string> &out)
{
    if (handler.members.count(key) == 0)
        return true;
    const Member *member = find(handler, key, Member::Type::String);
    if (member == nullptr || !accesscode::isValidHash(member->string))
        return false;
    out = member->string;
    return true;
}

} // namespace

ControllerFileReading parseControllerFile(std::string_view bytes)
{
    ControllerFileReading reading;
    TopLevelHandler handler;
    if (!Json::sax_parse(bytes.begin(), bytes.end(), &handler) || !handler.rootIsObject)
        return reading; // not JSON, or not an object: another kind of file

    const auto format = handler.members.find("format");
    if (format == handler.members.end() || format->second.type != Member::Type::String
        || format->second.string != "qvksk")
        return reading;

    reading.isKioskFile = true;
    ControllerFile &file = reading.file;
    bool valid = !handler.duplicateKey && readInt32(handler, "version", file.version);
    if (valid && file.hasKnownLayout()) {
        const Member *title = find(handler, "title", Member::Type::String);
        const Member *permitted = find(handler, "powerUserPermitted", Member::Type::Boolean);
        const Member *controller = find(handler, "controller", Member::Type::Object);
        valid = title != nullptr && permitted != nullptr && controller != nullptr
                && readInt32(handler, "fileOperation", file.fileOperation)
                && readCode(handler, "administratorCode", file.administratorCode)
                && readCode(handler, "powerUserCode", file.powerUserCode);
        if (valid) {
            file.title = title->string;
            file.powerUserPermitted = permitted->boolean;
            file.controllerEntries = controller->entries;
        }
    }
    if (!valid) {
        reading.status = QVCORE_STATUS_INVALID_KIOSK_FILE;
        reading.file = ControllerFile();
    }
    return reading;
}

ControllerFileReading readControllerFile(const char *path)
{
    std::string bytes;
    const std::int32_t status = readBoundedFile(path, QVCORE_MAX_FILE_SIZE, bytes);
    if (status != QVCORE_STATUS_OK) {
        ControllerFileReading reading;
        reading.status = status;
        return reading;
    }
    return parseControllerFile(bytes);
}

} // namespace qvcore
