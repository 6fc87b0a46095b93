#pragma once

#include <QString>
#include <cstdint>

namespace vorlix {

// What tells the program where to look in one model's FullFlash: the model
// these values belong to and its address bounds, table positions and
// largest picture size. The image and picture code needs these and nothing
// else of the run's settings.
struct ModelSettings {
    // The sub-key of the general values, which a model met for the first
    // time starts from.
    static inline const QString kGeneralKey = QStringLiteral("All");

    // File offsets, except sPITAdr and ExtPITAdr, which are image offsets.
    std::int32_t FullFlash = 0;
    std::int32_t PITAdrMin = 0;
    std::int32_t PITAdrMax = 0;
    std::int32_t PictureAdrMin = 0;
    std::int32_t PictureAdrMax = 0;
    std::int32_t PlaceAdrMin = 0;
    std::int32_t PlaceAdrMax = 0;
    std::int32_t MaxSizeX = 0;
    std::int32_t MaxSizeY = 0;
    std::int32_t sPITAdr = 0;    // negative: the table search found none
    std::int32_t ExtPITAdr = 0;  // 0: there is none
    bool SearchType = false;     // false: by tables; true: by PIT records
    // Names the sub-key the values are stored under: kGeneralKey or the
    // model-and-version text of the open firmware (which also decides how
    // its records give data addresses).
    QString ModelAndVersion = kGeneralKey;
};

}  // namespace vorlix
