#include "session/open_flash.h"

#include <QFile>
#include <QStringList>
#include <algorithm>

#include "image/firmware_id.h"
#include "image/flash_file.h"
#include "image/pit_tables.h"
#include "session/flash_notices.h"

namespace vorlix {

namespace {

void Show(const OpenHooks& hooks, const QString& text) {
    if (hooks.status) hooks.status(text);
}

// A placement that failed: the user is told, the open ends there.
OpenResult Refused(Settings& settings, const Status& status) {
    settings.prompt().Error(status.message());
    return OpenResult::Stopped;
}

// A file that is not taken: the user is told why, and the open ends as if
// it had not been asked for, with the path emptied.
OpenResult NotTaken(FlashSession& session, const QString& message) {
    session.FilePath.clear();
    session.settings().prompt().Error(message);
    return OpenResult::NotOpened;
}

// What the user should know about a file that opened: told in one box once
// the file lies in the image, before anything else is asked.
void Warn(Settings& settings, const QStringList& warnings) {
    if (!warnings.isEmpty())
        settings.prompt().Tell(kCaptionWarning, warnings.join(QStringLiteral("\n\n")));
}

// The bytes of the file that the image holds from FullFlash on (as far as
// file offsets reach); `length` bytes were read.
std::int64_t UsedBytes(std::int64_t length, const Settings& settings) {
    return std::clamp<std::int64_t>(kImageSize - std::int64_t{settings.FullFlash}, 0, length);
}

}  // namespace

OpenResult OpenFullFlash(FlashSession& session, const QString& path, const OpenHooks& hooks) {
    Settings& settings = session.settings();
    FlashImage& image = session.image();

    Show(hooks, QStringLiteral("Открытие FullFlash"));
    session.FilePath = path;
    if (const auto refusal = RefusalOfFlashFile(path)) return NotTaken(session, *refusal);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return NotTaken(session, CannotOpenFlashText(path, file.errorString()));
    const std::int64_t fileSize = file.size();
    QStringList warnings;

    settings.AddRecent(path);
    if (hooks.recentChanged) hooks.recentChanged();

    // The pictures point into the arrays that the reads below overwrite:
    // they go together with their rows.
    session.ClearPictures();
    // The file is read this once; the placement below lays out these bytes.
    std::int64_t length = 0;
    const Status read = ReadForIdentification(file, image, length);
    file.close();
    if (!read.ok()) return Refused(settings, read);

    Show(hooks, QStringLiteral("Определение версии прошивки"));
    if (const auto key = IdentifyFirmware(image.BaseImage())) {
        settings.ModelAndVersion = *key;
        if (hooks.identified) hooks.identified(*key);
    } else {
        warnings << NotRecognisedText(settings.ModelAndVersion);
    }

    bool usedOwnKey = true;
    if (!settings.LoadModelSettings(&usedOwnKey).ok()) return OpenResult::Stopped;

    if (usedOwnKey) {
        Show(hooks, QStringLiteral("Загрузка данных"));
        if (Status s = PlaceBySettings(image, length, settings); !s.ok())
            return Refused(settings, s);
        image.ResetWorkingCopy();
        if (const auto cut = FlashCutText(path, fileSize, UsedBytes(length, settings)))
            warnings << *cut;
        Warn(settings, warnings);
        return OpenResult::Opened;
    }

    Show(hooks, QStringLiteral("Определение настроек"));
    PlaceWithoutSettings(image, length, settings);
    image.ResetWorkingCopy();
    if (const auto cut = FlashCutText(path, fileSize, UsedBytes(length, settings)))
        warnings << *cut;
    Warn(settings, warnings);

    Show(hooks, QStringLiteral("Поиск PIT и ExtPIT"));
    const PictureTables tables = FindPictureTables(image.BaseImage());
    settings.sPITAdr = tables.sPITAdr;
    settings.ExtPITAdr = tables.ExtPITAdr;
    if (hooks.newModel) hooks.newModel();
    // As after the settings dialog: both groups are stored whatever it did.
    // A store that refuses a value has told the user already.
    if (settings.SaveProgramSettings().ok()) (void)settings.SaveModelSettings();
    return OpenResult::Opened;
}

}  // namespace vorlix
