#include "settings/installed_patches.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "settings/settings.h"

namespace vorlix {
namespace {

QByteArray Stored(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(InstalledPatches, StoredPerModelInOrderAndAbsentMeansNone) {
    QTemporaryDir dir;
    const QString ini = dir.filePath("vorlix.ini");
    SettingsStore store(ini);
    ScriptedPrompt prompt;
    Settings settings(store);
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok() && settings.LoadModelSettings().ok());
    const QByteArray before = Stored(ini);

    // A store of today holds no list: reading it, or writing an empty one,
    // adds nothing.
    EXPECT_TRUE(ReadInstalledPatches(store, "C55v50").empty());
    EXPECT_TRUE(WriteInstalledPatches(store, "C55v50", {}).ok());
    EXPECT_EQ(Stored(ini), before);

    const InstalledPatchList list = {
        {"/p/elfpack.vkp", true}, {"/p/шрифт 1.vkp", false}, {"C:\\patches\\menu.vkp", true}};
    ASSERT_TRUE(WriteInstalledPatches(store, "C55v50", list).ok());
    EXPECT_EQ(ReadInstalledPatches(store, "C55v50"), list);
    EXPECT_TRUE(ReadInstalledPatches(store, "S45v21").empty());
    EXPECT_TRUE(ReadInstalledPatches(store, "All").empty());
    EXPECT_EQ(store.ReadValue("C55v50", "InstalledPatchOn1", "?"), "0");

    // A shorter list ends where it ends; a flag that is not "0" is on.
    ASSERT_TRUE(WriteInstalledPatches(store, "C55v50", {list[2]}).ok());
    EXPECT_EQ(ReadInstalledPatches(store, "C55v50"), InstalledPatchList{list[2]});
    ASSERT_TRUE(store.WriteValue("C55v50", "InstalledPatchOn0", "yes").ok());
    ASSERT_TRUE(WriteInstalledPatches(store, "C55v50", {}).ok());
    EXPECT_TRUE(ReadInstalledPatches(store, "C55v50").empty());
    ASSERT_TRUE(store.WriteValue("C55v50", "InstalledPatch0", "/p/x.vkp").ok());
    EXPECT_EQ(ReadInstalledPatches(store, "C55v50"), (InstalledPatchList{{"/p/x.vkp", true}}));
}

}  // namespace
}  // namespace vorlix
