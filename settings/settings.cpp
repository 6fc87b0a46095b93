#include "settings/settings.h"

#include <cstring>

namespace vorlix {

namespace {

QString Flag(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

// The model values in the order in which they are read, saved and reset,
// with the built-in values (those of the C55). "SearchType" follows them.
struct ModelValue {
    const char* name;
    const char* builtIn;
    bool hex;  // written as "0x%06X", else in decimal
    std::int32_t Settings::*field;
};

const ModelValue kModelValues[] = {
    {"FullFlash", "0x800000", true, &Settings::FullFlash},
    {"PITAdrMin", "0x660000", true, &Settings::PITAdrMin},
    {"PITAdrMax", "0x680000", true, &Settings::PITAdrMax},
    {"PictureAdrMin", "0x000000", true, &Settings::PictureAdrMin},
    {"PictureAdrMax", "0x680000", true, &Settings::PictureAdrMax},
    {"PlaceAdrMin", "0x5E2000", true, &Settings::PlaceAdrMin},
    {"PlaceAdrMax", "0x600000", true, &Settings::PlaceAdrMax},
    {"MaxSizeX", "101", false, &Settings::MaxSizeX},
    {"MaxSizeY", "80", false, &Settings::MaxSizeY},
    {"sPITAdr", "0xC4625C", true, &Settings::sPITAdr},
    {"ExtPITAdr", "0xE7F856", true, &Settings::ExtPITAdr},
};

// The program values that a reset writes back, with the texts they take
// when missing; the order is the reset's.
struct ProgramDefault {
    const char* name;
    const char* text;
};
constexpr ProgramDefault kProgramDefaults[] = {
    {"WindowWidth", "778"},   {"WindowHeight", "540"},
    {"WindowState", "0"},     {"FrameColor", "0"},
    {"PatchMaxLength", "27"}, {"AutoName", "0"},
    {"OnlySelected", "0"},    {"PlainPatch", "0"},
    {"AuthorName", ""},       {"KeepDepthAndCompression", "0"},
    {"AskSizeChange", "1"},   {"PreviewZoom", "1"},
    {"GalleryCell", "64"},    {"ShowGallery", "0"},
    {"PictureFormat", "bmp"},
};

QString DefaultOf(const char* name) {
    for (const ProgramDefault& d : kProgramDefaults)
        if (std::strcmp(d.name, name) == 0) return QString::fromLatin1(d.text);
    return QString();
}

const char* const kSearchTypeName = "SearchType";
const char* const kSearchTypeBuiltIn = "0";

// Reads and writes the values of one key in turn. The first failure is
// shown to the user and ends the run: later calls do nothing, and the
// field of the failing value keeps what it held.
class KeyAccess {
  public:
    KeyAccess(SettingsStore& store, Prompt& prompt, QString subKey)
        : store_(store), prompt_(prompt), subKey_(std::move(subKey)) {}

    bool ok() const { return status_.ok(); }
    const Status& status() const { return status_; }

    void Text(const QString& name, const QString& defaultText, QString& field) {
        if (!ok()) return;
        QString text;
        if (Failed(store_.ReadValue(subKey_, name, defaultText, text))) return;
        field = text;
    }

    void Int(const QString& name, const QString& defaultText, std::int32_t& field) {
        QString text;
        Text(name, defaultText, text);
        if (!ok()) return;
        std::int32_t value = 0;
        if (Failed(ConvertInt(text, value))) return;
        field = value;
    }

    // Any integer is accepted; every value but 0 is true.
    void Bool(const QString& name, const QString& defaultText, bool& field) {
        std::int32_t value = 0;
        Int(name, defaultText, value);
        if (ok()) field = value != 0;
    }

    void Write(const QString& name, const QString& text) {
        if (ok()) Failed(store_.WriteValue(subKey_, name, text));
    }

  private:
    bool Failed(Status status) {
        if (status.ok()) return false;
        prompt_.Error(status.message());
        status_ = std::move(status);
        return true;
    }

    SettingsStore& store_;
    Prompt& prompt_;
    QString subKey_;
    Status status_;
};

QString RecentName(int i) { return QStringLiteral("Recent%1").arg(i); }

}  // namespace

Status Settings::LoadProgramSettings() {
    KeyAccess program(store_, prompt_, QString());

    std::int32_t stored = 0;
    program.Int("InternalVersion", "0", stored);
    if (!program.ok()) return program.status();
    const QString own = QString::number(kInternalVersion);
    if (stored < kInternalVersion) {
        program.Write("InternalVersion", own);
    } else if (stored > kInternalVersion) {
        // Yes keeps the question away until a still newer program has run.
        if (prompt_.Ask(tr("Контроль версий"),
                        tr("На данном компьюетере уже запускалась более новая версия программы.\n"
                           "Отключить это предупреждение?"),
                        Buttons::YesNo) == Answer::Yes)
            program.Write("InternalVersion", own);
    }

    program.Int("WindowState", DefaultOf("WindowState"), WindowState);
    program.Int("WindowWidth", DefaultOf("WindowWidth"), WindowWidth);
    program.Int("WindowHeight", DefaultOf("WindowHeight"), WindowHeight);
    for (int i = 0; i < static_cast<int>(Recent.size()); ++i) {
        program.Text(RecentName(i), QString(), Recent[i]);
    }
    program.Int("FrameColor", DefaultOf("FrameColor"), FrameColor);
    program.Bool("AutoName", DefaultOf("AutoName"), AutoName);
    program.Bool("OnlySelected", DefaultOf("OnlySelected"), OnlySelected);
    program.Bool("PlainPatch", DefaultOf("PlainPatch"), PlainPatch);
    program.Int("PatchMaxLength", DefaultOf("PatchMaxLength"), PatchMaxLength);
    program.Text("AuthorName", DefaultOf("AuthorName"), AuthorName);
    program.Bool("KeepDepthAndCompression", DefaultOf("KeepDepthAndCompression"),
                 KeepDepthAndCompression);
    program.Bool("AskSizeChange", DefaultOf("AskSizeChange"), AskSizeChange);
    program.Int("PreviewZoom", DefaultOf("PreviewZoom"), PreviewZoom);
    program.Int("GalleryCell", DefaultOf("GalleryCell"), GalleryCell);
    program.Bool("ShowGallery", DefaultOf("ShowGallery"), ShowGallery);
    program.Text("PictureFormat", DefaultOf("PictureFormat"), PictureFormat);
    program.Text(kLanguageValue, LanguageText(UiLanguage::Original), Language);
    return program.status();
}

Status Settings::SaveProgramSettings() {
    KeyAccess program(store_, prompt_, QString());
    for (int i = 0; i < static_cast<int>(Recent.size()); ++i)
        program.Write(RecentName(i), Recent[i]);
    program.Write("PatchMaxLength", QString::number(PatchMaxLength));
    program.Write("PlainPatch", Flag(PlainPatch));
    program.Write("AuthorName", AuthorName);
    program.Write("WindowState", QString::number(WindowState));
    program.Write("WindowWidth", QString::number(WindowWidth));
    program.Write("WindowHeight", QString::number(WindowHeight));
    program.Write("FrameColor", QString::number(FrameColor));
    program.Write("AutoName", Flag(AutoName));
    program.Write("OnlySelected", Flag(OnlySelected));
    program.Write("KeepDepthAndCompression", Flag(KeepDepthAndCompression));
    program.Write("AskSizeChange", Flag(AskSizeChange));
    program.Write("PreviewZoom", QString::number(PreviewZoom));
    program.Write("GalleryCell", QString::number(GalleryCell));
    program.Write("ShowGallery", Flag(ShowGallery));
    program.Write("PictureFormat", PictureFormat);
    program.Write(kLanguageValue, Language);
    return program.status();
}

bool Settings::HasModelSettings(const QString& modelKey) const {
    if (modelKey == kGeneralKey) return true;
    const QHash<QString, QString> values = store_.ReadAllValues(modelKey);
    const auto marker = values.constFind(QStringLiteral("Default"));
    return marker != values.constEnd() && *marker != QLatin1String("0");
}

Status Settings::LoadModelSettings(bool* usedOwnKey, bool tellNewModel) {
    const QString model = ModelAndVersion;
    bool own = true;
    if (usedOwnKey) *usedOwnKey = own;

    // "Default" is compared as text: only an exact "0" marks a model whose
    // settings were never established ("00" or " 0" count as established).
    KeyAccess modelKey(store_, prompt_, model);
    QString marker;
    modelKey.Text("Default", "0", marker);
    if (!modelKey.ok()) return modelKey.status();
    if (marker == QLatin1String("0") && model != kGeneralKey) {
        if (tellNewModel) {
            prompt_.Tell(kCaptionWarning,
                         tr("Настройки для данной модели и версии прошивки не найдены.\n"
                            "Будут загружены общие настройки."));
        }
        modelKey.Write("Default", QStringLiteral("1"));
        if (!modelKey.ok()) return modelKey.status();
        own = false;
        if (usedOwnKey) *usedOwnKey = own;
    }

    // ModelAndVersion keeps naming the model throughout, also when a value
    // of the general key fails to convert.
    KeyAccess source(store_, prompt_, own ? model : kGeneralKey);
    for (const ModelValue& v : kModelValues) source.Int(v.name, v.builtIn, this->*v.field);
    source.Bool(kSearchTypeName, kSearchTypeBuiltIn, SearchType);
    if (!source.ok()) return source.status();

    // Writes the values back under the model's own key in their canonical
    // forms; for a new model this is the copy of the general values.
    return SaveModelSettings();
}

Status Settings::SaveModelSettings() {
    KeyAccess modelKey(store_, prompt_, ModelAndVersion);
    for (const ModelValue& v : kModelValues) {
        const std::int32_t value = this->*v.field;
        modelKey.Write(v.name, v.hex ? HexSetting(value) : QString::number(value));
    }
    modelKey.Write(kSearchTypeName, Flag(SearchType));
    return modelKey.status();
}

Status Settings::ResetProgramSettings() {
    KeyAccess program(store_, prompt_, QString());
    for (const ProgramDefault& d : kProgramDefaults)
        program.Write(QString::fromLatin1(d.name), QString::fromLatin1(d.text));
    return program.status();
}

Status Settings::ResetModelSettings() {
    KeyAccess modelKey(store_, prompt_, ModelAndVersion);
    for (const ModelValue& v : kModelValues) modelKey.Write(v.name, v.builtIn);
    modelKey.Write(kSearchTypeName, kSearchTypeBuiltIn);
    return modelKey.status();
}

void Settings::AddRecent(const QString& path) {
    // Newest first, every path at most once (compared case-sensitively);
    // the ninth distinct path pushes out the oldest.
    std::array<QString, 8> next;
    std::size_t n = 0;
    next[n++] = path;
    for (const QString& entry : Recent) {
        if (n == next.size()) break;
        if (entry != path) next[n++] = entry;
    }
    Recent = std::move(next);
}

}  // namespace vorlix
