#include "scratchdir.h"

#include "accesscode.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <vector>

ScratchDir::ScratchDir()
{
    const char *tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp")
                          + "/qvcoretest.XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (::mkdtemp(buffer.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    root = buffer.data();
}

ScratchDir::~ScratchDir()
{
    std::error_code ignored;
    std::filesystem::permissions(root,
                                 std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add,
                                 ignored);
    std::filesystem::remove_all(root, ignored);
}

std::string ScratchDir::pathOf(std::string_view name) const
{
    return root + '/' + std::string(name);
}

std::string ScratchDir::write(std::string_view name, std::string_view contents) const
{
    const std::string path = pathOf(name);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(contents.data(), static_cast<std::streamsize>(contents.size()));
    if (!out)
        throw std::runtime_error("cannot write " + path);
    return path;
}

nlohmann::json kioskFileJson()
{
    return {{"format", "qvksk"},
            {"version", 3},
            {"title", "Lobby"},
            {"powerUserPermitted", true},
            {"fileOperation", 0},
            {"controller", nlohmann::json::object()}};
}

std::string cheapHash(std::string_view code)
{
    const auto hash = qvcore::accesscode::hash(code, qvcore::accesscode::minimumCost());
    if (!hash)
        throw std::runtime_error("hashing failed");
    return *hash;
}
