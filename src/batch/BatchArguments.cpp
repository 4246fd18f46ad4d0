#include "batch/BatchArguments.h"

#include <algorithm>

namespace orvalis {

bool BatchArguments::Has(const std::string& name) const
{
    return std::any_of(options.begin(), options.end(),
                       [&](const auto& o) { return o.first == name; });
}

std::string BatchArguments::Value(const std::string& name, const std::string& fallback) const
{
    for (const auto& [n, v] : options)
        if (n == name)
            return v;
    return fallback;
}

std::string ParseBatchArguments(const std::vector<std::string>& args,
                                const std::vector<BatchOptionSpec>& accepted,
                                BatchArguments& out)
{
    bool onlyPositional = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (onlyPositional || arg.size() < 2 || arg[0] != '-') {
            out.positional.push_back(arg);
            continue;
        }
        if (arg == "--") {
            onlyPositional = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool inlineValue = false;
        if (const std::size_t eq = arg.find('='); arg.rfind("--", 0) == 0 && eq != std::string::npos) {
            name = arg.substr(0, eq);
            value = arg.substr(eq + 1);
            inlineValue = true;
        }
        const auto spec = std::find_if(accepted.begin(), accepted.end(),
                                       [&](const BatchOptionSpec& s) { return name == s.name; });
        if (spec == accepted.end())
            return "unknown option " + name;
        if (spec->takesValue && !inlineValue) {
            if (i + 1 >= args.size())
                return "option " + name + " needs a value";
            value = args[++i];
        } else if (!spec->takesValue && inlineValue) {
            return "option " + name + " takes no value";
        }
        if (!spec->repeatable && out.Has(name))
            return "option " + name + " given twice";
        out.options.emplace_back(name, value);
    }
    return {};
}

bool ParseWholeNumber(const std::string& text, int& value)
{
    if (text.empty() || text.size() > 6)
        return false;
    int n = 0;
    for (char ch : text) {
        if (ch < '0' || ch > '9')
            return false;
        n = n * 10 + (ch - '0');
    }
    value = n;
    return true;
}

} // namespace orvalis
