#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace qvcore {

// Access codes are stored as Argon2id hash strings, never in clear.
namespace accesscode {

// Costs of new hashes. Interactive: what a person waits for at the code dialog.
struct Cost
{
    unsigned long long opsLimit = 0;
    std::size_t memLimit = 0;
};
Cost interactiveCost();
// For tests only: the cheapest hash libsodium makes.
Cost minimumCost();

// The hash string of code, or nothing when libsodium failed.
std::optional<std::string> hash(std::string_view code, const Cost &cost = interactiveCost());

// Whether text is an Argon2id hash string whose costs stay within what this library is prepared
// to spend on one check (libsodium's "moderate" limits), so that a file cannot make a check
// run for long or allocate much.
bool isValidHash(std::string_view text);

// Whether code matches hash; the comparison runs in constant time.
bool matches(const std::string &hash, std::string_view code);

} // namespace accesscode
} // namespace qvcore
