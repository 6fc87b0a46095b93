#pragma once

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <array>
#include <cstdint>
#include <optional>

#include "common/prompt.h"
#include "common/status.h"
#include "settings/language.h"
#include "settings/model_settings.h"
#include "settings/version.h"

namespace vorlix {

// Reads an integer text by the program's one rule: optional leading blanks,
// an optional sign, then decimal digits, or a hexadecimal prefix ("0x", "0X",
// "x", "X", "$") and one to eight hexadecimal digits (eight digits wrap to a
// negative value: "0xFFFFFFFB" is -5). Anything else, the empty text
// included, does not convert.
std::optional<std::int32_t> ParseIntText(const QString& text);
// The message for a text that does not convert: "'%s' is not a valid integer value".
QString NotAnIntegerMessage(const QString& text);
// Like ParseIntText, with the message as a Status on failure.
[[nodiscard]] Status ConvertInt(const QString& text, std::int32_t& out);

// "0x%06X" with the two's complement of negative values (-5 is "0xFFFFFFFB").
QString HexSetting(std::int32_t value);
// "%06X" likewise, without the prefix; what lists, dialogs and patches show.
QString Hex6(std::int32_t value);

// Where the settings live: an INI file (or, on Windows, the registry key
// HKEY_CURRENT_USER\Software\Siemens\Vorlix). Each ReadValue and WriteValue
// is one complete open, access and close; nothing is cached in between.
class SettingsStore {
  public:
    // The default location: VORLIX_SETTINGS if set, else the platform's own
    // store: the user's registry key on Windows (filled from the machine-wide
    // key HKEY_LOCAL_MACHINE\Software\Siemens\Vorlix on the user's first
    // start), "vorlix.ini" in the user's configuration folder elsewhere.
    SettingsStore();
    // An INI file at `path`.
    explicit SettingsStore(const QString& iniPath);

    // Reads value `name` of sub-key `subKey` ("" is the program key). A
    // missing or empty value takes `defaultText`, which is also written.
    QString ReadValue(const QString& subKey, const QString& name, const QString& defaultText);
    // The same, with the text in `text` and a refused write of the default
    // reported in the status.
    [[nodiscard]] Status ReadValue(const QString& subKey, const QString& name,
                                   const QString& defaultText, QString& text);
    // Writes a string value; a refusal of the store is reported as
    // "Failed to set data for '<name>'".
    [[nodiscard]] Status WriteValue(const QString& subKey, const QString& name,
                                    const QString& text);
    // True when the store has value `name` in `subKey` (for tests and tools).
    bool HasValue(const QString& subKey, const QString& name) const;
    // Every value of `subKey` by name, read in one access; nothing is
    // written. For lists kept as numbered values.
    QHash<QString, QString> ReadAllValues(const QString& subKey) const;

    const QString& location() const { return path_; }
    // True for the platform's own store (the registry on Windows), false for
    // an INI file named by its path.
    bool native() const { return native_; }

    // The store's own name for a sub-key: '%', '/' and the backslash become
    // "%25", "%2F" and "%5C", so that a model-and-version text taken from
    // firmware bytes stays one sub-key beside the others.
    static QString EscapeSubKey(const QString& subKey);

  private:
    QString path_;
    bool native_ = false;
};

// Copies every value of the store `from` into `to` when `to` holds none
// (sub-keys included); true when it copied. A user's first start takes over
// the settings of the machine-wide key this way.
bool TakeOverValues(const QString& from, const QString& to, bool native);

// Everything the program remembers between runs: the program and view
// values, and (as its base) the model values of the current model. One
// instance exists for a run.
class Settings : public ModelSettings {
    Q_DECLARE_TR_FUNCTIONS(Settings)

  public:
    static constexpr std::int32_t kInternalVersion = 4;
    static inline const QString kVersionText = QStringLiteral(VORLIX_VERSION_TEXT);

    explicit Settings(SettingsStore& store) : store_(store) {}

    // Program value: bytes of picture data per patch line.
    std::int32_t PatchMaxLength = 0;
    bool PlainPatch = false;
    std::int32_t InternalVersion = kInternalVersion;
    std::int32_t WindowState = 0;  // 0 normal, 1 minimised, 2 maximised
    std::int32_t WindowWidth = 0;
    std::int32_t WindowHeight = 0;
    QString VersionText = kVersionText;
    QString AuthorName;
    std::int32_t FrameColor = 0;  // Windows colour value 0x00BBGGRR
    bool AutoName = false;
    bool OnlySelected = false;
    std::array<QString, 8> Recent;
    // A picture loaded from a file keeps its type byte (depth and
    // compression) where an encoder for it exists, instead of becoming
    // 16-bit compressed. Off: the usual rule.
    bool KeepDepthAndCompression = false;
    // A replacement of another size than the picture's asks first (the
    // phone draws most pictures into a fixed place); off, it is only
    // reported. A picture larger than MaxSizeX x MaxSizeY always asks.
    bool AskSizeChange = true;
    // Program value: the factor the preview panes show pictures at; 0 is
    // the largest whole factor that fits the pane.
    std::int32_t PreviewZoom = 1;
    // Program values: the gallery's cell size in pixels (one of its sizes;
    // any other number shows the middle one) and whether the list's place
    // shows the gallery.
    std::int32_t GalleryCell = 64;
    bool ShowGallery = false;
    // The format pictures are saved in under automatic names, "bmp" or
    // "png": the one last chosen in the save dialog.
    QString PictureFormat = QStringLiteral("bmp");
    // The language of the interface, "original" or "en" (LanguageFromText);
    // the programs take it when they start. A reset of the program settings
    // keeps it, as it keeps the recent files: a user who cannot read the
    // original texts would not find the way back.
    QString Language = LanguageText(UiLanguage::Original);

    // The loads, saves and resets below show nothing: a stored value that
    // does not convert, or a value the store refuses, stops them with an
    // error status for the caller to show (caption "Ошибка").

    // Version check, then the program values. When a newer program has run
    // before, `prompt` asks whether to turn that question off.
    [[nodiscard]] Status LoadProgramSettings(Prompt& prompt);
    [[nodiscard]] Status SaveProgramSettings();
    // The program values fall into groups for the reads below: the
    // window's (its size and state, the recent files, the frame colour and
    // its two check boxes), those a patch is made with, and the view's.
    enum ProgramGroup : unsigned {
        kWindowValues = 1,
        kPatchValues = 2,
        kViewValues = 4,
    };
    // Reads the program values of `groups` as they stand in the store and
    // writes nothing: a missing or empty value takes its default in memory
    // only. A value that does not convert keeps its default, so that a
    // later save of the fields loses nothing else; every value is read and
    // the first such error is returned (not shown).
    [[nodiscard]] Status PeekProgramValues(unsigned groups);
    // Reads the model values of ModelAndVersion. `usedOwnKey` is false when
    // the model was met for the first time and the general values were
    // taken (set so also when the load then fails); the caller tells the
    // user so with NewModelText, unless it says it in its own words.
    [[nodiscard]] Status LoadModelSettings(bool* usedOwnKey = nullptr);
    // "Настройки для данной модели и версии прошивки не найдены. ...": the
    // warning for a model met for the first time.
    static QString NewModelText();
    // True when the store holds established settings of `modelKey` (a
    // model met before); reads without writing.
    bool HasModelSettings(const QString& modelKey) const;
    [[nodiscard]] Status SaveModelSettings();
    [[nodiscard]] Status ResetProgramSettings();
    [[nodiscard]] Status ResetModelSettings();
    void AddRecent(const QString& path);

    SettingsStore& store() { return store_; }

  private:
    SettingsStore& store_;
};

}  // namespace vorlix
