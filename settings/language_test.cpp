#include "settings/language.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "settings/settings.h"

namespace vorlix {
namespace {

TEST(Language, TextsOfTheSettingAndTheCommandLine) {
    const struct {
        const char* text;
        std::optional<UiLanguage> language;
    } cases[] = {
        {"original", UiLanguage::Original},
        {"en", UiLanguage::English},
        {" en ", UiLanguage::English},
        {"EN", std::nullopt},
        {"english", std::nullopt},
        {"ru", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(LanguageFromText(c.text), c.language) << c.text;
    for (const UiLanguage l : {UiLanguage::Original, UiLanguage::English})
        EXPECT_EQ(LanguageFromText(LanguageText(l)), l);
}

class StoredLanguageTest : public ::testing::Test {
  protected:
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("vorlix.ini"))};
    ScriptedPrompt prompt;
    Settings settings{store};
};

// Read before the settings are loaded, so that the first question already
// speaks the language: nothing stored means the original texts, and the
// reading writes nothing.
TEST_F(StoredLanguageTest, ReadBeforeTheSettingsWithoutWriting) {
    EXPECT_EQ(StoredLanguage(store), UiLanguage::Original);
    EXPECT_FALSE(store.HasValue(QString(), kLanguageValue));
    const struct {
        const char* stored;
        UiLanguage language;
    } cases[] = {{"en", UiLanguage::English},
                 {"original", UiLanguage::Original},
                 {"", UiLanguage::Original},
                 {"klingon", UiLanguage::Original}};
    for (const auto& c : cases) {
        ASSERT_TRUE(store.WriteValue(QString(), kLanguageValue, c.stored).ok());
        EXPECT_EQ(StoredLanguage(store), c.language) << c.stored;
    }
    // In a model's sub-key it is no program value.
    ASSERT_TRUE(store.WriteValue(QString(), kLanguageValue, "original").ok());
    ASSERT_TRUE(store.WriteValue("C55v50", kLanguageValue, "en").ok());
    EXPECT_EQ(StoredLanguage(store), UiLanguage::Original);
}

// A program value like the others: its default is written at the first
// start, it is saved, and a reset of the program settings keeps it.
TEST_F(StoredLanguageTest, ProgramValueKeptByAReset) {
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.Language, "original");
    EXPECT_EQ(store.ReadValue(QString(), kLanguageValue, QString()), "original");
    settings.Language = LanguageText(UiLanguage::English);
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    EXPECT_EQ(StoredLanguage(store), UiLanguage::English);
    ASSERT_TRUE(settings.ResetProgramSettings().ok() && settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.Language, "en");
    EXPECT_EQ(StoredLanguage(store), UiLanguage::English);
}

}  // namespace
}  // namespace vorlix
