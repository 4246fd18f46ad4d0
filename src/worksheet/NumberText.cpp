#include "worksheet/NumberText.h"

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

namespace orvalis {

namespace {

locale_t CLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return c;
}

} // namespace

double ReadNumberText(const std::string& text)
{
    return strtod_l(text.c_str(), nullptr, CLocale());
}

std::optional<double> ReadFiniteNumberText(const std::string& text)
{
    const char* begin = text.c_str();
    char* end = nullptr;
    const double value = strtod_l(begin, &end, CLocale());
    if (end == begin || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::string FormatNumber(const char* format, double value)
{
    const locale_t previous = uselocale(CLocale());
    char buffer[512];
    const int n = std::snprintf(buffer, sizeof buffer, format, value);
    uselocale(previous);
    if (n < 0)
        return std::string();
    if (static_cast<std::size_t>(n) < sizeof buffer)
        return std::string(buffer, static_cast<std::size_t>(n));
    // "%f" of a huge value needs more than the buffer holds.
    std::string big(static_cast<std::size_t>(n) + 1, '\0');
    const locale_t again = uselocale(CLocale());
    std::snprintf(big.data(), big.size(), format, value);
    uselocale(again);
    big.resize(static_cast<std::size_t>(n));
    return big;
}

} // namespace orvalis
