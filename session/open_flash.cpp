#include "session/open_flash.h"

#include <QFile>

#include "image/firmware_id.h"
#include "image/flash_file.h"
#include "image/pit_tables.h"

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

}  // namespace

OpenResult OpenFullFlash(FlashSession& session, const QString& path, const OpenHooks& hooks) {
    Settings& settings = session.settings();
    FlashImage& image = session.image();

    Show(hooks, QStringLiteral("Открытие FullFlash"));
    session.FilePath = path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        session.FilePath.clear();
        return OpenResult::NotOpened;
    }

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
    }

    bool usedOwnKey = true;
    if (!settings.LoadModelSettings(&usedOwnKey).ok()) return OpenResult::Stopped;

    if (usedOwnKey) {
        Show(hooks, QStringLiteral("Загрузка данных"));
        if (Status s = PlaceBySettings(image, length, settings); !s.ok())
            return Refused(settings, s);
        image.ResetWorkingCopy();
        return OpenResult::Opened;
    }

    Show(hooks, QStringLiteral("Определение настроек"));
    PlaceWithoutSettings(image, length, settings);
    image.ResetWorkingCopy();

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
