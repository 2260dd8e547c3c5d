#include "accesscode.h"

#include <sodium.h>

#include <charconv>

namespace qvcore::accesscode {

namespace {

bool sodiumReady()
{
    // Thread-safe and idempotent; only a failure to find an entropy source makes it fail.
    return sodium_init() >= 0;
}

// Reads "<name>=<decimal>" at the front of text and removes it.
bool takeParameter(std::string_view &text, std::string_view name, unsigned long long &value)
{
    if (text.substr(0, name.size()) != name || text.size() <= name.size()
        || text[name.size()] != '=')
        return false;
    text.remove_prefix(name.size() + 1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end == text.data())
        return false;
    text.remove_prefix(static_cast<std::size_t>(end - text.data()));
    return true;
}

bool takeLiteral(std::string_view &text, std::string_view literal)
{
    if (text.substr(0, literal.size()) != literal)
        return false;
    text.remove_prefix(literal.size());
    return true;
}

} // namespace

Cost interactiveCost()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE,
            crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE};
}

Cost minimumCost()
{
    return {crypto_pwhash_argon2id_OPSLIMIT_MIN, crypto_pwhash_argon2id_MEMLIMIT_MIN};
}

std::optional<std::string> hash(std::string_view code, const Cost &cost)
{
    if (!sodiumReady())
        return std::nullopt;
    char out[crypto_pwhash_argon2id_STRBYTES] = {};
    const char *data = code.empty() ? "" : code.data();
    if (crypto_pwhash_argon2id_str(out, data, code.size(), cost.opsLimit, cost.memLimit) != 0)
        return std::nullopt;
    return std::string(out);
}

bool isValidHash(std::string_view text)
{
    // libsodium needs the string null-terminated within STRBYTES.
    if (text.size() >= crypto_pwhash_argon2id_STRBYTES || text.find('\0') != std::string_view::npos)
        return false;

    std::string_view rest = text;
    unsigned long long version = 0;
    unsigned long long memKiB = 0;
    unsigned long long passes = 0;
    unsigned long long lanes = 0;
    if (!takeLiteral(rest, "$argon2id$") || !takeParameter(rest, "v", version)
        || !takeLiteral(rest, "$") || !takeParameter(rest, "m", memKiB) || !takeLiteral(rest, ",")
        || !takeParameter(rest, "t", passes) || !takeLiteral(rest, ",")
        || !takeParameter(rest, "p", lanes) || !takeLiteral(rest, "$"))
        return false;
    // Each check runs on the caller's thread: a wrong code at "sensitive" cost holds it for about
    // ten seconds and 1 GiB, at "moderate" cost for a fifth of the time and a quarter of the memory.
    if (version != 0x13 || lanes != 1 || passes < crypto_pwhash_argon2id_OPSLIMIT_MIN
        || passes > crypto_pwhash_argon2id_OPSLIMIT_MODERATE
        || memKiB > crypto_pwhash_argon2id_MEMLIMIT_MODERATE / 1024
        || memKiB * 1024 < crypto_pwhash_argon2id_MEMLIMIT_MIN)
        return false;

    if (!sodiumReady())
        return false;
    // Lets libsodium decode salt and hash; -1 means it could not.
    const std::string terminated(text);
    return crypto_pwhash_argon2id_str_needs_rehash(terminated.c_str(),
                                                   crypto_pwhash_argon2id_OPSLIMIT_INTERACTIVE,
                                                   crypto_pwhash_argon2id_MEMLIMIT_INTERACTIVE)
           != -1;
}

bool matches(const std::string &hash, std::string_view code)
{
    if (!isValidHash(hash) || !sodiumReady())
        return false;
    // A default string_view has a null data pointer; libsodium wants an address even for "".
    const char *data = code.empty() ? "" : code.data();
    return crypto_pwhash_argon2id_str_verify(hash.c_str(), data, code.size()) == 0;
}

} // namespace qvcore::accesscode
