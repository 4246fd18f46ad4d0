#pragma once

#include "worksheet/AppSettings.h"

#include <QSettings>

namespace orvalis {

// The user's settings store: organisation "Brennix Devices", application
// "Brennix - Tavelle Orvalis", groups "Constants" and "Strings".
class QtSettingsStore final : public SettingsStore {
public:
    QtSettingsStore();
    std::optional<std::string> ReadString(const std::string& section,
                                          const std::string& name) override;
    std::optional<std::int64_t> ReadInt(const std::string& section,
                                        const std::string& name) override;
    void WriteString(const std::string& section, const std::string& name,
                     const std::string& value) override;
    void WriteInt(const std::string& section, const std::string& name,
                  std::int64_t value) override;
    // Bytes the windows keep beside the settings (a splitter's layout), stored as the
    // settings file stores bytes; empty when there are none.
    QByteArray ReadBytes(const std::string& section, const std::string& name);
    void WriteBytes(const std::string& section, const std::string& name, const QByteArray& value);

private:
    QSettings m_settings;
};

} // namespace orvalis
