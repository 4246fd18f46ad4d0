#pragma once

#include <QString>

namespace orvalis {

// The application title: main frame caption, message-box caption and settings key.
inline QString AppTitle()
{
    return QStringLiteral("Brennix - Tavelle Orvalis");
}

// The company key of the settings store.
inline QString CompanyName()
{
    return QStringLiteral("Brennix Devices");
}

} // namespace orvalis
