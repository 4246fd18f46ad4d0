#pragma once

#include <functional>
#include <string>
#include <vector>

namespace orvalis {

class UserMessages;

// One field of a Configure dialog as OK checks it: its text read as a value, the range
// the value must lie in, the message that refuses it, and where a passing value goes.
struct FieldCheck {
    enum class Read {
        Integer, // whole number ("%d")
        Number,  // real number, both bounds on the typed value
        Single,  // real number kept at single precision: the lower bound on the typed
                 // value, the upper bound and the stored value rounded to single, so a
                 // rate typed as 0.1 (0.10000000149011612 as a float) is refused
    };
    const std::string& text;
    Read read;
    double lo, hi;                     // inclusive; a text that reads as NaN fails both
    const char* message;               // the refusal, word for word
    std::function<void(double)> store; // receives the value that passed
    bool plain = false;                // the refusal has no icon (UserMessages::Plain)
};

// Checks the fields in order, storing each value as soon as it passes, so what passed
// before a failure stays in force. At the first value out of range shows its message
// and returns false.
bool RunFieldChecks(const std::vector<FieldCheck>& checks, UserMessages& messages);

} // namespace orvalis
