#include "session/open_flash.h"

#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <algorithm>
#include <cstring>
#include <memory>

#include "image/firmware_id.h"
#include "image/flash_file.h"
#include "image/pit_tables.h"
#include "session/flash_notices.h"
#include "settings/known_models.h"

namespace vorlix {

namespace {

struct OpenFlashText {
    Q_DECLARE_TR_FUNCTIONS(OpenFlash)
};

void Show(const OpenHooks& hooks, const QString& text) {
    if (hooks.status) hooks.status(text);
}

// What an open changes in memory before it is decided, kept so that an open
// called off can give it back: the path, the model and its values, and the
// recent list. What the store received meanwhile (a new model's settings)
// stays: it describes that firmware, not the open image.
class OpenRollback {
  public:
    explicit OpenRollback(const FlashSession& session)
        : path_(session.FilePath),
          fileSize_(session.FileSize),
          model_(session.settings()),
          recent_(session.settings().Recent) {}

    void Restore(FlashSession& session) const {
        Settings& s = session.settings();
        session.FilePath = path_;
        session.FileSize = fileSize_;
        static_cast<ModelSettings&>(s) = model_;
        s.Recent = recent_;
    }

  private:
    QString path_;
    std::int64_t fileSize_;
    ModelSettings model_;
    std::array<QString, 8> recent_;
};

// The new base image, laid out apart from the session's until the open is
// decided.
class StagedBase : public StagedImage {
  public:
    // The staged image replaces the previous one, whose pictures, rows,
    // working copy and reservation go with it. `fresh`: the open went
    // through, and the placement area is to be confirmed anew.
    void Commit(FlashSession& session, const OpenHooks& hooks, bool fresh, std::int64_t fileEnd,
                const std::vector<ImageRange>& reserved = {}) {
        if (hooks.replacing) hooks.replacing();
        session.ClearPictures();
        FlashImage& image = session.image();
        image.Adopt(Release(), Size());
        image.SetReserved(reserved);
        image.SetFileEnd(fileEnd);
        if (fresh) session.PlacementAreaAccepted = false;
    }
};

void Notice(const OpenHooks& hooks, const QString& caption, const QString& text) {
    if (hooks.notice) hooks.notice(caption, text);
}

// A file that is not taken: the open ends as if it had not been asked for,
// with the path emptied, and says why.
OpenOutcome NotTaken(FlashSession& session, const QString& message) {
    session.FilePath.clear();
    return {OpenResult::NotOpened, Status::InvalidArgument(message)};
}

// What the user should know about a file that opened: told in one box once
// the file lies in the image, before anything else is asked.
void Warn(const OpenHooks& hooks, const QStringList& warnings) {
    if (!warnings.isEmpty()) Notice(hooks, kCaptionWarning, warnings.join(QStringLiteral("\n\n")));
}

// The bytes of the file that the image holds from FullFlash on (as far as
// file offsets reach); `length` bytes were read.
std::int64_t UsedBytes(std::int64_t length, const Settings& settings) {
    return std::clamp<std::int64_t>(ImageSizeFor(settings.FullFlash, length) - settings.FullFlash,
                                    0, length);
}

// How far the firmware's flash reaches in file offsets as the settings in
// force describe it: the end of the farthest address range.
std::int64_t DescribedFlashSize(const Settings& s) {
    return std::max({s.PITAdrMax, s.PictureAdrMax, s.PlaceAdrMax});
}

// The model the open takes: identification's, else the front end's choice,
// else the general settings (never those of the image open before: its
// addresses and installed patches are another phone's). Returns the known
// model whose table values apply, if any; `asked` tells whether the user
// was asked (and so was told that the model is unknown).
const KnownModel* ChooseModel(Settings& settings, const std::optional<QString>& found,
                              const OpenHooks& hooks, bool& asked) {
    asked = false;
    settings.ModelAndVersion = found.value_or(Settings::kGeneralKey);
    const KnownModel* known = found ? KnownModelOf(*found) : nullptr;
    if (known || (found && settings.HasModelSettings(*found)) || !hooks.chooseModel) return known;
    const ModelChoice choice = hooks.chooseModel(found.value_or(QString()));
    asked = choice.asked;
    if (choice.model.isEmpty()) return nullptr;
    if (const KnownModel* chosen = FindKnownModel(choice.model)) {
        // A dump without a name is kept under the model's name; one with a
        // name of its own keeps it and takes the model's values.
        if (!found) settings.ModelAndVersion = QString::fromLatin1(chosen->name);
        return chosen;
    }
    settings.ModelAndVersion = choice.model;
    return KnownModelOf(choice.model);
}

}  // namespace

OpenOutcome OpenFullFlash(FlashSession& session, const QString& path, const OpenHooks& hooks) {
    Settings& settings = session.settings();

    Show(hooks, OpenFlashText::tr("Открытие FullFlash"));
    const OpenRollback rollback(session);
    session.FilePath = path;
    if (const auto refusal = RefusalOfFlashFile(path)) return NotTaken(session, *refusal);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NotTaken(session, CannotOpenFlashText(path, file.errorString()));
    const std::int64_t fileSize = file.size();
    session.FileSize = fileSize;
    QStringList warnings;

    settings.AddRecent(path);
    if (hooks.recentChanged) hooks.recentChanged();

    // A stopped open ends with the previous image replaced by what was read
    // so far, as the user was told.
    StagedBase staged;
    std::int64_t length = 0;
    auto stop = [&](const Status& why) {
        staged.Commit(session, hooks, false, length);
        return OpenOutcome{OpenResult::Stopped, why};
    };

    // The file is read this once; the placement below lays out these bytes.
    const Status read = ReadForIdentification(file, staged, length);
    file.close();
    if (!read.ok()) return stop(read);

    Show(hooks, OpenFlashText::tr("Определение версии прошивки"));
    const std::optional<QString> found = IdentifyFirmware(staged.Bytes());
    bool asked = false;
    const KnownModel* known = ChooseModel(settings, found, hooks, asked);
    if (hooks.identified) hooks.identified(settings.ModelAndVersion);
    if (!found && settings.ModelAndVersion == Settings::kGeneralKey)
        warnings << NotRecognisedText(settings.ModelAndVersion);

    // A known model's first open says in the open's own words what it took.
    const bool knownFirstOpen = known && !settings.HasModelSettings(settings.ModelAndVersion);
    bool usedOwnKey = true;
    const Status loaded = settings.LoadModelSettings(&usedOwnKey);
    if (!usedOwnKey && !knownFirstOpen && !asked)
        Notice(hooks, kCaptionWarning, Settings::NewModelText());
    if (!loaded.ok()) return stop(loaded);

    const QString modelName = known ? QString::fromLatin1(known->name) : QString();
    // What the file lacks or holds beyond its firmware's flash.
    auto sizeNotices = [&] {
        if (const auto cut = FlashCutText(path, fileSize, UsedBytes(length, settings)))
            warnings << *cut;
        if (known) {
            if (const auto longer = FlashLongText(path, fileSize, modelName, known->dumpSize))
                warnings << *longer;
        }
        const std::int64_t flashSize = known ? known->dumpSize : DescribedFlashSize(settings);
        if (const auto shorter = FlashShortText(path, fileSize, flashSize)) warnings << *shorter;
    };

    if (usedOwnKey) {
        Show(hooks, OpenFlashText::tr("Загрузка данных"));
        if (Status s = PlaceBySettings(staged, length, settings); !s.ok()) return stop(s);
        sizeNotices();
        Warn(hooks, warnings);
    } else {
        Show(hooks, OpenFlashText::tr("Определение настроек"));
        if (known) {
            PlaceKnownModel(staged, length, *known, settings);
            warnings.prepend(KnownModelValuesText(settings.ModelAndVersion, modelName, settings));
        } else {
            PlaceWithoutSettings(staged, length, settings);
        }
        sizeNotices();
        Warn(hooks, warnings);

        Show(hooks, OpenFlashText::tr("Поиск PIT и ExtPIT"));
        const PictureTables tables = FindPictureTables(staged.Bytes());
        settings.sPITAdr = tables.sPITAdr;
        settings.ExtPITAdr = tables.ExtPITAdr;
        if (hooks.newModel) hooks.newModel();
        // As after the settings dialog: both groups are stored whatever it
        // did. A store that refuses a value is told of; the open goes on.
        Status saved = settings.SaveProgramSettings();
        if (saved.ok()) saved = settings.SaveModelSettings();
        if (!saved.ok()) Notice(hooks, kCaptionError, saved.message());
    }

    std::vector<ImageRange> reserved;
    if (hooks.placed && !hooks.placed(staged.MutableBytes(), reserved)) {
        rollback.Restore(session);
        return {OpenResult::Cancelled, Status::Ok()};
    }
    const std::int64_t fileEnd = std::int64_t{settings.FullFlash} + UsedBytes(length, settings);
    staged.Commit(session, hooks, true, fileEnd, reserved);
    return {OpenResult::Opened, Status::Ok()};
}

}  // namespace vorlix
