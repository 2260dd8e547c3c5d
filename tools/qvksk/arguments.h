#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// A command's arguments: options of the form "--name value" or "--name=value", flags "--flag"
// that take no value, and at most one argument that is not an option (the file). An unknown
// option, a flag given a value and an option given twice are usage errors.
class Arguments final
{
public:
    Arguments(const std::vector<std::string_view> &args,
              const std::vector<std::string_view> &flags,
              const std::vector<std::string_view> &options);

    // Empty when the arguments are usable.
    const std::string &error() const { return usageError; }
    const std::string &file() const { return fileArgument; }

    std::optional<std::string> value(std::string_view name) const;
    bool has(std::string_view name) const { return value(name).has_value(); }
    void setValue(std::string_view name, std::string value);

    // The options and flags given, in the order given.
    const std::vector<std::pair<std::string, std::string>> &given() const { return values; }

private:
    void add(std::string_view name, std::string_view value);

    std::string usageError;
    std::string fileArgument;
    std::vector<std::pair<std::string, std::string>> values;
};
