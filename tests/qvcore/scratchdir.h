#pragma once

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

// A fresh folder under TMPDIR, removed with everything in it when the object goes.
class ScratchDir final
{
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir &) = delete;
    ScratchDir &operator=(const ScratchDir &) = delete;

    const std::string &path() const { return root; }
    std::string pathOf(std::string_view name) const;
    // Writes contents to name and returns its path.
    std::string write(std::string_view name, std::string_view contents) const;

private:
    std::string root;
};

// A valid kiosk file of the supported version without codes; tests change what they need.
nlohmann::json kioskFileJson();

// A hash of code made at libsodium's lowest cost, so tests stay quick.
std::string cheapHash(std::string_view code);
