// A settings file as a user may leave it: read by the program settings
// loader (with the version check answered by the first input byte) and by
// the model settings loader for the general key and for a model's key.
// What was read is saved and read again: a second load must give the same
// values. The same bytes, taken as a text, go through the integer text
// rule: a text that converts gives a value that the hexadecimal and the
// decimal forms of the store read back unchanged.

#include <QFile>

#include "fuzz/fuzz_support.h"
#include "settings/settings.h"

using namespace vorlix;

namespace {

struct Values {
    std::array<std::int32_t, 11> model{};
    bool searchType = false;
    std::int32_t windowState = 0, windowWidth = 0, windowHeight = 0, frameColor = 0,
                 patchMaxLength = 0;
    bool autoName = false, onlySelected = false, plainPatch = false;
    QString authorName;
    std::array<QString, 8> recent;

    static Values Of(const Settings& s) {
        Values v;
        v.model = {s.FullFlash,     s.PITAdrMin,   s.PITAdrMax,   s.PictureAdrMin,
                   s.PictureAdrMax, s.PlaceAdrMin, s.PlaceAdrMax, s.MaxSizeX,
                   s.MaxSizeY,      s.sPITAdr,     s.ExtPITAdr};
        v.searchType = s.SearchType;
        v.windowState = s.WindowState;
        v.windowWidth = s.WindowWidth;
        v.windowHeight = s.WindowHeight;
        v.frameColor = s.FrameColor;
        v.patchMaxLength = s.PatchMaxLength;
        v.autoName = s.AutoName;
        v.onlySelected = s.OnlySelected;
        v.plainPatch = s.PlainPatch;
        v.authorName = s.AuthorName;
        v.recent = s.Recent;
        return v;
    }
    bool operator==(const Values&) const = default;
};

// Loads everything as the window's start-up and an open do; false when a
// value did not convert (the user was told; the load stops there).
bool Load(Settings& settings, Prompt& prompt, const QString& key) {
    if (!settings.LoadProgramSettings(prompt).ok()) return false;
    settings.ModelAndVersion = key;
    return settings.LoadModelSettings().ok();
}

void IntegerTexts(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::optional<std::int32_t> value = ParseIntText(text);
    std::int32_t converted = 0;
    const Status status = ConvertInt(text, converted);
    FUZZ_CHECK(status.ok() == value.has_value());
    if (!value) {
        FUZZ_CHECK(status.message() == NotAnIntegerMessage(text));
        return;
    }
    FUZZ_CHECK(converted == *value);
    FUZZ_CHECK(ParseIntText(HexSetting(*value)) == value);
    FUZZ_CHECK(ParseIntText(QStringLiteral("$") + Hex6(*value)) == value);
    FUZZ_CHECK(ParseIntText(QString::number(*value)) == value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    IntegerTexts(data, size);
    if (size < 1) return 0;
    const Answer answer = (data[0] & 1) ? Answer::Yes : Answer::No;
    const QString ini = fuzz::WriteInput(QStringLiteral("vorlix.ini"), data + 1, size - 1);

    for (const QString& key : {Settings::kGeneralKey, QStringLiteral("C55v50")}) {
        fuzz::SilentPrompt prompt(answer);
        SettingsStore store(ini);
        Settings first(store);
        if (!Load(first, prompt, key)) continue;
        if (!first.SaveProgramSettings().ok() || !first.SaveModelSettings().ok()) continue;

        Settings second(store);
        FUZZ_CHECK(Load(second, prompt, key));
        FUZZ_CHECK(Values::Of(second) == Values::Of(first));
    }
    QFile::remove(ini);
    return 0;
}
