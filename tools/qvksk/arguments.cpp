#include "arguments.h"

#include <algorithm>

namespace {

bool contains(const std::vector<std::string_view> &names, std::string_view name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

} // namespace

Arguments::Arguments(const std::vector<std::string_view> &args,
                     const std::vector<std::string_view> &flags,
                     const std::vector<std::string_view> &options)
{
    for (std::size_t i = 0; i < args.size() && usageError.empty(); ++i) {
        const std::string_view arg = args[i];
        if (arg.substr(0, 2) != "--") {
            if (!fileArgument.empty())
                usageError = "unexpected argument " + std::string(arg);
            fileArgument = std::string(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        if (contains(flags, name)) {
            // "--flag=no" must not read as the flag given.
            if (equals != std::string_view::npos)
                usageError = std::string(name) + " takes no value";
            else
                add(name, "");
        } else if (!contains(options, name)) {
            usageError = "unknown option " + std::string(name);
        } else if (equals != std::string_view::npos) {
            add(name, arg.substr(equals + 1));
        } else if (i + 1 < args.size()) {
            add(name, args[++i]);
        } else {
            usageError = std::string(name) + " needs a value";
        }
    }
}

std::optional<std::string> Arguments::value(std::string_view name) const
{
    for (const auto &[key, val] : values) {
        if (key == name)
            return val;
    }
    return std::nullopt;
}

void Arguments::setValue(std::string_view name, std::string value)
{
    for (auto &[key, val] : values) {
        if (key == name)
            val = std::move(value);
    }
}

void Arguments::add(std::string_view name, std::string_view value)
{
    // Which of two values was meant cannot be told, so neither is taken.
    if (has(name))
        usageError = std::string(name) + " is given more than once";
    else
        values.emplace_back(name, value);
}
