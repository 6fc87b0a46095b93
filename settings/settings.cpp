#include "settings/settings.h"

#include <algorithm>
#include <variant>
#include <vector>

namespace vorlix {

namespace {

QString Flag(bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); }

// One stored value: its name in its key, the text it takes when missing or
// empty (also what a reset writes), the field it fills and how it is
// written. Load, save, reset and the read that writes nothing all walk
// these declarations.
enum class Kind {
    Decimal,  // an integer, written in decimal
    Hex,      // an integer, written as "0x%06X"
    Flag,     // any integer, true unless 0; written as "0" or "1"
    Text,     // written as it is
    TextList  // the recent files: the name followed by the index 0 to 7
};

using Field = std::variant<std::int32_t Settings::*, bool Settings::*, QString Settings::*,
                           std::array<QString, 8> Settings::*>;

struct Value {
    QString name;
    QString defaultText;
    Kind kind;
    Field field;
    // Program values only: which reads that write nothing take the value,
    // and the value's place among the writes of a save and of a reset (-1:
    // a reset keeps it). The loads take the values in declaration order;
    // the other orders are those the program has always written in, so
    // that a store refusing every write is named by the same value.
    unsigned group = 0;
    int saveAt = 0;
    int resetAt = -1;
};

// The program values, in the order a load reads them (after the version
// check).
const std::vector<Value>& ProgramValues() {
    using S = Settings;
    constexpr unsigned kWindow = S::kWindowValues, kPatch = S::kPatchValues, kView = S::kViewValues;
    static const std::vector<Value> values = {
        {"WindowState", "0", Kind::Decimal, &S::WindowState, kWindow, 4, 2},
        {"WindowWidth", "778", Kind::Decimal, &S::WindowWidth, kWindow, 5, 0},
        {"WindowHeight", "540", Kind::Decimal, &S::WindowHeight, kWindow, 6, 1},
        {"Recent", "", Kind::TextList, &S::Recent, kWindow, 0, -1},
        {"FrameColor", "0", Kind::Decimal, &S::FrameColor, kWindow, 7, 3},
        {"AutoName", "0", Kind::Flag, &S::AutoName, kWindow, 8, 5},
        {"OnlySelected", "0", Kind::Flag, &S::OnlySelected, kWindow, 9, 6},
        {"PlainPatch", "0", Kind::Flag, &S::PlainPatch, kPatch, 2, 7},
        {"PatchMaxLength", "27", Kind::Decimal, &S::PatchMaxLength, kPatch, 1, 4},
        {"AuthorName", "", Kind::Text, &S::AuthorName, kPatch, 3, 8},
        {"KeepDepthAndCompression", "0", Kind::Flag, &S::KeepDepthAndCompression, kPatch, 10, 9},
        {"AskSizeChange", "1", Kind::Flag, &S::AskSizeChange, kView, 11, 10},
        {"PreviewZoom", "1", Kind::Decimal, &S::PreviewZoom, kView, 12, 11},
        {"GalleryCell", "64", Kind::Decimal, &S::GalleryCell, kView, 13, 12},
        {"ShowGallery", "0", Kind::Flag, &S::ShowGallery, kView, 14, 13},
        {"PictureFormat", "bmp", Kind::Text, &S::PictureFormat, kView, 15, 14},
        // A reset keeps the language, as it keeps the recent files: a user
        // who cannot read the original texts would not find the way back.
        {kLanguageValue, LanguageText(UiLanguage::Original), Kind::Text, &S::Language, kView, 16,
         -1},
    };
    return values;
}

// The model values in the order in which they are read, saved and reset,
// with the built-in values (those of the C55).
const std::vector<Value>& ModelValues() {
    using S = Settings;
    static const std::vector<Value> values = {
        {"FullFlash", "0x800000", Kind::Hex, &S::FullFlash},
        {"PITAdrMin", "0x660000", Kind::Hex, &S::PITAdrMin},
        {"PITAdrMax", "0x680000", Kind::Hex, &S::PITAdrMax},
        {"PictureAdrMin", "0x000000", Kind::Hex, &S::PictureAdrMin},
        {"PictureAdrMax", "0x680000", Kind::Hex, &S::PictureAdrMax},
        {"PlaceAdrMin", "0x5E2000", Kind::Hex, &S::PlaceAdrMin},
        {"PlaceAdrMax", "0x600000", Kind::Hex, &S::PlaceAdrMax},
        {"MaxSizeX", "101", Kind::Decimal, &S::MaxSizeX},
        {"MaxSizeY", "80", Kind::Decimal, &S::MaxSizeY},
        {"sPITAdr", "0xC4625C", Kind::Hex, &S::sPITAdr},
        {"ExtPITAdr", "0xE7F856", Kind::Hex, &S::ExtPITAdr},
        {"SearchType", "0", Kind::Flag, &S::SearchType},
    };
    return values;
}

// The program values in the order of a save, or of a reset (which leaves
// out those it keeps).
std::vector<const Value*> ProgramValuesBy(int Value::*place) {
    std::vector<const Value*> ordered;
    for (const Value& v : ProgramValues())
        if (v.*place >= 0) ordered.push_back(&v);
    std::sort(ordered.begin(), ordered.end(),
              [place](const Value* a, const Value* b) { return a->*place < b->*place; });
    return ordered;
}

QString ListName(const Value& v, int i) { return v.name + QString::number(i); }

// Reads and writes the values of one key in turn. The first failure ends
// the run and is kept for the caller: later calls do nothing, and the field
// of the failing value keeps what it held.
class KeyAccess {
  public:
    KeyAccess(SettingsStore& store, QString subKey) : store_(store), subKey_(std::move(subKey)) {}

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

    // Reads `v` into its field of `settings`.
    void Read(const Value& v, Settings& settings) {
        switch (v.kind) {
            case Kind::Decimal:
            case Kind::Hex:
                Int(v.name, v.defaultText, settings.*std::get<std::int32_t Settings::*>(v.field));
                break;
            case Kind::Flag:
                Bool(v.name, v.defaultText, settings.*std::get<bool Settings::*>(v.field));
                break;
            case Kind::Text:
                Text(v.name, v.defaultText, settings.*std::get<QString Settings::*>(v.field));
                break;
            case Kind::TextList: {
                auto& list = settings.*std::get<std::array<QString, 8> Settings::*>(v.field);
                for (int i = 0; i < static_cast<int>(list.size()); ++i)
                    Text(ListName(v, i), v.defaultText, list[i]);
                break;
            }
        }
    }

    // Writes the field of `v` in its canonical form.
    void Write(const Value& v, const Settings& settings) {
        switch (v.kind) {
            case Kind::Decimal:
                Write(v.name,
                      QString::number(settings.*std::get<std::int32_t Settings::*>(v.field)));
                break;
            case Kind::Hex:
                Write(v.name, HexSetting(settings.*std::get<std::int32_t Settings::*>(v.field)));
                break;
            case Kind::Flag:
                Write(v.name, Flag(settings.*std::get<bool Settings::*>(v.field)));
                break;
            case Kind::Text:
                Write(v.name, settings.*std::get<QString Settings::*>(v.field));
                break;
            case Kind::TextList: {
                const auto& list = settings.*std::get<std::array<QString, 8> Settings::*>(v.field);
                for (int i = 0; i < static_cast<int>(list.size()); ++i)
                    Write(ListName(v, i), list[i]);
                break;
            }
        }
    }

    // Writes the text a missing value takes.
    void WriteDefault(const Value& v) {
        if (v.kind == Kind::TextList) {
            for (int i = 0; i < 8; ++i) Write(ListName(v, i), v.defaultText);
        } else {
            Write(v.name, v.defaultText);
        }
    }

  private:
    bool Failed(Status status) {
        if (status.ok()) return false;
        status_ = std::move(status);
        return true;
    }

    SettingsStore& store_;
    QString subKey_;
    Status status_;
};

}  // namespace

Status Settings::LoadProgramSettings(Prompt& prompt) {
    KeyAccess program(store_, QString());

    std::int32_t stored = 0;
    program.Int("InternalVersion", "0", stored);
    if (!program.ok()) return program.status();
    const QString own = QString::number(kInternalVersion);
    if (stored < kInternalVersion) {
        program.Write("InternalVersion", own);
    } else if (stored > kInternalVersion) {
        // Yes keeps the question away until a still newer program has run.
        if (prompt.Ask(tr("Контроль версий"),
                       tr("На данном компьюетере уже запускалась более новая версия программы.\n"
                          "Отключить это предупреждение?"),
                       Buttons::YesNo) == Answer::Yes)
            program.Write("InternalVersion", own);
    }

    for (const Value& v : ProgramValues()) program.Read(v, *this);
    return program.status();
}

Status Settings::SaveProgramSettings() {
    KeyAccess program(store_, QString());
    for (const Value* v : ProgramValuesBy(&Value::saveAt)) program.Write(*v, *this);
    return program.status();
}

Status Settings::PeekProgramValues(unsigned groups) {
    const QHash<QString, QString> stored = store_.ReadAllValues(QString());
    auto textOf = [&stored](const QString& name, const QString& defaultText) {
        const QString text = stored.value(name);
        return text.isEmpty() ? defaultText : text;
    };
    Status first;
    auto integer = [&](const Value& v, std::int32_t& out) {
        out = ParseIntText(v.defaultText).value_or(0);
        Status status = ConvertInt(textOf(v.name, v.defaultText), out);
        if (!status.ok() && first.ok()) first = std::move(status);
    };
    for (const Value& v : ProgramValues()) {
        if ((v.group & groups) == 0) continue;
        switch (v.kind) {
            case Kind::Decimal:
            case Kind::Hex:
                integer(v, this->*std::get<std::int32_t Settings::*>(v.field));
                break;
            case Kind::Flag: {
                std::int32_t value = 0;
                integer(v, value);
                this->*std::get<bool Settings::*>(v.field) = value != 0;
                break;
            }
            case Kind::Text:
                this->*std::get<QString Settings::*>(v.field) = textOf(v.name, v.defaultText);
                break;
            case Kind::TextList: {
                auto& list = this->*std::get<std::array<QString, 8> Settings::*>(v.field);
                for (int i = 0; i < static_cast<int>(list.size()); ++i)
                    list[i] = textOf(ListName(v, i), v.defaultText);
                break;
            }
        }
    }
    return first;
}

bool Settings::HasModelSettings(const QString& modelKey) const {
    if (modelKey == kGeneralKey) return true;
    const QHash<QString, QString> values = store_.ReadAllValues(modelKey);
    const auto marker = values.constFind(QStringLiteral("Default"));
    return marker != values.constEnd() && *marker != QLatin1String("0");
}

QString Settings::NewModelText() {
    return tr(
        "Настройки для данной модели и версии прошивки не найдены.\n"
        "Будут загружены общие настройки.");
}

Status Settings::LoadModelSettings(bool* usedOwnKey) {
    const QString model = ModelAndVersion;
    bool own = true;
    if (usedOwnKey) *usedOwnKey = own;

    // "Default" is compared as text: only an exact "0" marks a model whose
    // settings were never established ("00" or " 0" count as established).
    KeyAccess modelKey(store_, model);
    QString marker;
    modelKey.Text("Default", "0", marker);
    if (!modelKey.ok()) return modelKey.status();
    if (marker == QLatin1String("0") && model != kGeneralKey) {
        // Said before the marker is written, so that the caller can tell
        // the user of the new model also when the write is refused.
        own = false;
        if (usedOwnKey) *usedOwnKey = own;
        modelKey.Write("Default", QStringLiteral("1"));
        if (!modelKey.ok()) return modelKey.status();
    }

    // ModelAndVersion keeps naming the model throughout, also when a value
    // of the general key fails to convert.
    KeyAccess source(store_, own ? model : kGeneralKey);
    for (const Value& v : ModelValues()) source.Read(v, *this);
    if (!source.ok()) return source.status();

    // Writes the values back under the model's own key in their canonical
    // forms; for a new model this is the copy of the general values.
    return SaveModelSettings();
}

Status Settings::SaveModelSettings() {
    KeyAccess modelKey(store_, ModelAndVersion);
    for (const Value& v : ModelValues()) modelKey.Write(v, *this);
    return modelKey.status();
}

Status Settings::ResetProgramSettings() {
    KeyAccess program(store_, QString());
    for (const Value* v : ProgramValuesBy(&Value::resetAt)) program.WriteDefault(*v);
    return program.status();
}

Status Settings::ResetModelSettings() {
    KeyAccess modelKey(store_, ModelAndVersion);
    for (const Value& v : ModelValues()) modelKey.WriteDefault(v);
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
