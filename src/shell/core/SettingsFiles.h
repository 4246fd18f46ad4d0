#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace orvalis {

// The settings store reads its files whole when it opens them: a FIFO there would hold
// start-up forever, a device or a huge file would be read without end. Settings files
// are a few kilobytes; anything that is not a readable regular file of modest size is
// left alone and the program starts with its defaults.
inline constexpr std::int64_t kMaxSettingsFileBytes = std::int64_t{1} << 20;

// A settings file that is not read, and why.
struct SettingsFileProblem {
    QString file;
    QString reason; // "is not a regular file", "is larger than 1 MiB", "cannot be read"
};

// Checks the files the settings store would read in one configuration folder (the
// user's, or one of the system's): the application's file and the organisation's.
// Absent files are fine. Looks at the files without opening them for reading.
std::optional<SettingsFileProblem> CheckSettingsFolder(const QString& configFolder);

// Checks the user's and the system's settings folders once per process, before any
// settings are read. For a scope with a file that cannot be read safely, the settings of
// this process come from an empty folder instead: defaults are read, and what the
// program writes never reaches the unreadable file. Each such file is named on stderr.
void GuardSettingsFiles();

} // namespace orvalis
