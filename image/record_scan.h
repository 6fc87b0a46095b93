#pragma once

#include <cstdint>
#include <functional>

#include "image/flash_image.h"

namespace vorlix {

struct ModelSettings;

// What the record test compares a record with, taken from the settings at
// one moment so that a search thread never reads settings that the window
// changes under it. Bounds are image offsets in 64 bits (FullFlash plus a
// typed bound may pass 32 bits).
struct RecordCriteria {
    std::int64_t dataLow = 0;   // data position must be above this
    std::int64_t dataHigh = 0;  // and below this
    std::int32_t maxX = 0;
    std::int32_t maxY = 0;
    AddressFormat format = AddressFormat::Paged;

    static RecordCriteria FromSettings(const ModelSettings& settings);
};

// The record test: does this 8-byte record describe a picture?
bool IsValidPitRecord(const std::uint8_t* record, const RecordCriteria& criteria);

// The walk that the search thread runs, without any user-interface work.
struct SearchPlan {
    bool scanRecords = false;      // true: scan a range for records; false: walk the tables
    std::int64_t StartPos = 0;     // S
    std::int64_t EndPos = -1;      // E, inclusive
    std::int32_t RecordCount = 0;  // C (tables only)
    std::int32_t ExtPITAdr = 0;
    RecordCriteria criteria;
};
// Reads S, E and C from the base image (tables) or the settings (records).
SearchPlan PlanSearch(ImageBytes base, const ModelSettings& settings, bool scanRecords);

struct SearchCallbacks {
    // Polled between candidates; true ends the search.
    std::function<bool()> terminated;
    // The shown percentage 0..100, reported only when it changes.
    std::function<void(int percent)> progress;
    // An accepted record: its image offset, its bytes, the counts after
    // counting it (T and, of these, E found through the ExtPIT).
    std::function<void(std::int32_t foundPos, const PitRecord& record, int found, int foundExt)>
        found;
};

struct SearchCounts {
    int found = 0;     // T
    int foundExt = 0;  // E
    bool terminated = false;
};

// The candidate loop of both modes and, by tables, the ExtPIT walk.
SearchCounts RunPictureSearch(ImageBytes base, const SearchPlan& plan,
                              const SearchCallbacks& callbacks);

}  // namespace vorlix
