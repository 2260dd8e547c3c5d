#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qvcore {

// What a kiosk controller file holds. Versions 1 up to the supported version share one layout;
// of other versions only the version is known.
struct ControllerFile
{
    std::int32_t version = 0;
    std::string title;
    bool powerUserPermitted = false;
    std::int32_t fileOperation = 0;
    // Argon2id hash strings; a level without a code needs none.
    std::optional<std::string> administratorCode;
    std::optional<std::string> powerUserCode;
    // Number of members of the "controller" object, which this library does not interpret.
    std::size_t controllerEntries = 0;

    // Whether the version is one whose layout this library reads (1 up to the supported one).
    bool hasKnownLayout() const;

    // Level 1 (Administrator) opens with the administrator code; level 2 (Power User) only when
    // permitted, with the power-user or the administrator code; every other level never.
    bool opens(std::int32_t level, std::string_view code) const;

    // The file's JSON text with an empty controller object; nothing when a text is not UTF-8.
    std::optional<std::string> serialize() const;
};

} // namespace qvcore
