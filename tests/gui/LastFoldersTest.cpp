#include "shell/LastFolders.h"
#include "worksheet/AppSettings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

namespace orvalis::test {
namespace {

// The dialogs' start folders as the settings store keeps them: Open and Save As share
// one, Import has its own, and a folder that has gone since is not offered.
TEST(LastFolders, KeptPerKindInTheSettingsStore)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("sheets")));
    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("data")));
    const QString sheets = dir.filePath(QStringLiteral("sheets"));
    const QString data = dir.filePath(QStringLiteral("data"));
    using Kind = LastFolders::Kind;

    MemorySettingsStore store;
    {
        LastFolders folders(store);
        EXPECT_EQ(folders.StartFolder(Kind::Worksheet), QString());
        EXPECT_EQ(folders.StartFolder(Kind::Import), QString());
        EXPECT_EQ(folders.SaveStart(QStringLiteral("Worksheet1.ows")),
                  QStringLiteral("Worksheet1.ows"));
        folders.Remember(Kind::Worksheet, sheets + QStringLiteral("/saved.ows"));
        folders.Remember(Kind::Import, data + QStringLiteral("/prices.csv"));
        folders.Remember(Kind::Import, QString()); // a cancelled dialog keeps the folder
    }
    EXPECT_EQ(store.strings["Strings/WorksheetFolder"], sheets.toStdString());
    EXPECT_EQ(store.strings["Strings/ImportFolder"], data.toStdString());

    // A later run reads them back from the store.
    LastFolders folders(store);
    EXPECT_EQ(folders.StartFolder(Kind::Worksheet), sheets);
    EXPECT_EQ(folders.StartFolder(Kind::Import), data);
    EXPECT_EQ(folders.SaveStart(QStringLiteral("Worksheet1.ows")),
              sheets + QStringLiteral("/Worksheet1.ows"));
    // A worksheet that has a file of its own is saved as beside it.
    EXPECT_EQ(folders.SaveStart(QStringLiteral("/elsewhere/w.ows")),
              QStringLiteral("/elsewhere/w.ows"));

    ASSERT_TRUE(QDir(sheets).removeRecursively());
    EXPECT_EQ(folders.StartFolder(Kind::Worksheet), QString());
    EXPECT_EQ(folders.SaveStart(QStringLiteral("Worksheet1.ows")),
              QStringLiteral("Worksheet1.ows"));
}

} // namespace
} // namespace orvalis::test
