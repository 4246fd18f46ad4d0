#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

// One option a command accepts: "--name VALUE" (or "--name=VALUE"), or a bare flag.
struct BatchOptionSpec {
    const char* name;   // with its dashes: "--row", "-o"
    bool takesValue;
    bool repeatable;    // may be given more than once; every value is kept in order
};

// A command line after the command word, split into positional arguments and options.
struct BatchArguments {
    std::vector<std::string> positional;
    // Options in the order given: name (with dashes) and value ("" for a flag).
    std::vector<std::pair<std::string, std::string>> options;

    bool Has(const std::string& name) const;
    // The value of a single-valued option, or fallback when it was not given.
    std::string Value(const std::string& name, const std::string& fallback = {}) const;
};

// Splits args against the accepted options. Returns an empty text on success, else what
// is wrong with the command line (an unknown option, a missing value, an option given
// twice that may not be).
std::string ParseBatchArguments(const std::vector<std::string>& args,
                                const std::vector<BatchOptionSpec>& accepted,
                                BatchArguments& out);

// A whole number written in decimal digits only, below 1,000,000; false otherwise.
bool ParseWholeNumber(const std::string& text, int& value);

} // namespace orvalis
