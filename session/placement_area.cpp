#include "session/placement_area.h"

#include <QCoreApplication>

#include "common/prompt.h"
#include "session/flash_session.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

struct PlacementAreaTr {
    Q_DECLARE_TR_FUNCTIONS(PlacementArea)
};

}  // namespace

bool PlacementAreaUnchecked(std::int32_t placeMin, std::int32_t placeMax, std::int64_t fileSize) {
    return fileSize > 0 && placeMin <= 0 && std::int64_t{placeMax} >= fileSize;
}

bool PlacementAreaUnchecked(const Settings& settings, std::int64_t fileSize) {
    return PlacementAreaUnchecked(settings.PlaceAdrMin, settings.PlaceAdrMax, fileSize);
}

QString PlacementAreaRange(const Settings& settings) {
    return Hex6(settings.PlaceAdrMin) + QStringLiteral("–") + Hex6(settings.PlaceAdrMax);
}

QString PlacementAreaStatus(const Settings& settings, std::int64_t fileSize) {
    if (fileSize <= 0) return {};
    return PlacementAreaUnchecked(settings, fileSize)
               ? PlacementAreaTr::tr("Размещение: %1 (весь файл, не проверено)")
                     .arg(PlacementAreaRange(settings))
               : PlacementAreaTr::tr("Размещение: %1").arg(PlacementAreaRange(settings));
}

bool ConfirmPlacementArea(FlashSession& session, Prompt& prompt) {
    const Settings& settings = session.settings();
    if (session.PlacementAreaAccepted || !PlacementAreaUnchecked(settings, session.FileSize))
        return true;
    const Answer answer = prompt.Ask(
        PlacementAreaTr::tr("Подтверждение области размещения"),
        PlacementAreaTr::tr(
            "Область размещения новых данных (%1) охватывает весь файл: это значения, которые "
            "получает прошивка, открытая впервые, и их ещё никто не проверял. Байты 0xFF в дампе "
            "не всегда свободны в телефоне: там может быть код, сведения о сборке или файловая "
            "система.\nНовые данные картинок будут размещены в первом свободном месте области "
            "%1. Размещать их там?\n\n«Нет» — ничего не менять; область задаётся в настройках "
            "(«Размещать патчи с … по …»).")
            .arg(PlacementAreaRange(settings)),
        Buttons::YesNo);
    if (answer != Answer::Yes) return false;
    session.PlacementAreaAccepted = true;
    return true;
}

}  // namespace vorlix
