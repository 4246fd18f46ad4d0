#include "shell/core/QtSettingsStore.h"

#include "shell/core/AppTitle.h"
#include "shell/core/SettingsFiles.h"

namespace orvalis {

namespace {
QString Key(const std::string& section, const std::string& name)
{
    return QString::fromStdString(section) + QLatin1Char('/') + QString::fromStdString(name);
}
} // namespace

// The files are checked before the first QSettings of the process opens them.
QtSettingsStore::QtSettingsStore()
    : m_settings((GuardSettingsFiles(), CompanyName()), AppTitle())
{
}

std::optional<std::string> QtSettingsStore::ReadString(const std::string& section,
                                                       const std::string& name)
{
    const QVariant v = m_settings.value(Key(section, name));
    if (!v.isValid())
        return std::nullopt;
    return v.toString().toStdString();
}

std::optional<std::int64_t> QtSettingsStore::ReadInt(const std::string& section,
                                                     const std::string& name)
{
    const QVariant v = m_settings.value(Key(section, name));
    if (!v.isValid())
        return std::nullopt;
    bool ok = false;
    const qlonglong n = v.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    return n;
}

void QtSettingsStore::WriteString(const std::string& section, const std::string& name,
                                  const std::string& value)
{
    m_settings.setValue(Key(section, name), QString::fromStdString(value));
}

void QtSettingsStore::WriteInt(const std::string& section, const std::string& name,
                               std::int64_t value)
{
    m_settings.setValue(Key(section, name), static_cast<qlonglong>(value));
}

QByteArray QtSettingsStore::ReadBytes(const std::string& section, const std::string& name)
{
    return m_settings.value(Key(section, name)).toByteArray();
}

void QtSettingsStore::WriteBytes(const std::string& section, const std::string& name,
                                 const QByteArray& value)
{
    m_settings.setValue(Key(section, name), value);
}

} // namespace orvalis
