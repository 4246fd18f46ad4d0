#include "worksheet/IntegerText.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>

namespace orvalis {

int ReadIntegerText(const std::string& text)
{
    // strtol saturates at the 64-bit limits on overflow, which is what atoi returns
    // before its conversion to int keeps the low 32 bits.
    const int savedErrno = errno;
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    errno = savedErrno;
    return static_cast<int>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(value)));
}

std::string IntegerText(int value)
{
    return std::to_string(value);
}

} // namespace orvalis
