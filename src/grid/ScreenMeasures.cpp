#include "grid/ScreenMeasures.h"

#include "grid/FontMapping.h"
#include "grid/PlatformColours.h"

#include <QGuiApplication>
#include <QPalette>

namespace orvalis {

ScreenMeasures::ScreenMeasures(CellStore& store) : m_store(store)
{
    if (m_store.GetTextMeasurer())
        return;
    m_store.SetTextMeasurer(&m_measurer);
    m_store.SetGridFont(LogFontFromFont(QGuiApplication::font()));
}

ScreenMeasures::~ScreenMeasures()
{
    if (m_store.GetTextMeasurer() == &m_measurer)
        m_store.SetTextMeasurer(nullptr);
}

} // namespace orvalis
