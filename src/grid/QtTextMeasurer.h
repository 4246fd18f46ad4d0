#pragma once

#include "grid/FontCache.h"
#include "grid/core/CellStore.h"

namespace orvalis {

// Measures cell text with the screen's fonts, for the store's auto-sizing and its font
// metrics (margin, default row height and column width).
class QtTextMeasurer : public TextMeasurer {
public:
    Size MeasureText(const LogFont& font, const std::string& text) override;
    Metrics FontMetrics(const LogFont& font) override;
    FontCache& Fonts() { return m_fonts; }

private:
    FontCache m_fonts;
};

} // namespace orvalis
