#include "image/record_scan.h"

#include <algorithm>
#include <cstring>

#include "image/picture_types.h"
#include "image/pit_tables.h"
#include "settings/model_settings.h"

namespace vorlix {

namespace {

constexpr std::int32_t kRecordSize = 8;
// By tables, this many rejected records in a row end the PIT.
constexpr int kMaxRejectedInRow = 10;
// By records, a miss moves on by 10 bytes: over four misses the scan tries
// the four positions modulo 8 that share the parity of the start.
constexpr std::int32_t kMissStep = 10;

// Reports the shown percentage of a walk from S to E when it changes. The
// bar starts at 0; a walk of one candidate (E = S) stays at 0.
class Progress {
  public:
    Progress(const SearchCallbacks& callbacks, std::int64_t start, std::int64_t end)
        : callbacks_(callbacks), start_(start), span_(end - start) {}

    void At(std::int64_t pos) {
        if (!callbacks_.progress || span_ <= 0) return;
        const int percent = static_cast<int>((pos - start_) * 100 / span_);
        if (percent == shown_) return;
        shown_ = percent;
        callbacks_.progress(percent);
    }

  private:
    const SearchCallbacks& callbacks_;
    std::int64_t start_;
    std::int64_t span_;
    int shown_ = 0;
};

}  // namespace

RecordCriteria RecordCriteria::FromSettings(const ModelSettings& settings) {
    RecordCriteria c;
    c.dataLow = std::int64_t{settings.FullFlash} + settings.PictureAdrMin;
    c.dataHigh = std::int64_t{settings.FullFlash} + settings.PictureAdrMax;
    c.maxX = settings.MaxSizeX;
    c.maxY = settings.MaxSizeY;
    c.format = FormatFor(settings.ModelAndVersion);
    return c;
}

bool IsValidPitRecord(const std::uint8_t* r, const RecordCriteria& criteria) {
    const std::int64_t d = GetDataPos(r, criteria.format);
    return d > criteria.dataLow && d < criteria.dataHigh && r[0] >= 1 && r[0] <= criteria.maxX &&
           r[1] >= 1 && r[1] <= criteria.maxY && FindPictureType(r[2]) != nullptr && r[3] == 0;
}

SearchPlan PlanSearch(ImageBytes base, const ModelSettings& settings, bool scanRecords) {
    SearchPlan plan;
    plan.scanRecords = scanRecords;
    plan.criteria = RecordCriteria::FromSettings(settings);
    if (scanRecords) {
        plan.StartPos = std::int64_t{settings.FullFlash} + settings.PITAdrMin;
        // The range ends where a whole record no longer fits into the image,
        // even when the settings name a bound beyond it (as a first open
        // does: the file ends at the image's end).
        plan.EndPos = std::min<std::int64_t>(std::int64_t{settings.FullFlash} + settings.PITAdrMax,
                                             static_cast<std::int64_t>(base.size()) - kRecordSize);
        return plan;
    }
    plan.ExtPITAdr = settings.ExtPITAdr;
    if (const auto header = ReadSpitHeader(base, settings.sPITAdr)) {
        plan.StartPos = header->pitStart;
        plan.RecordCount = header->count;
        plan.EndPos = plan.StartPos + std::int64_t{kRecordSize} * header->count;
    }
    // Otherwise there is no sPIT to read: the PIT walk examines nothing,
    // the ExtPIT is still walked.
    return plan;
}

SearchCounts RunPictureSearch(ImageBytes base, const SearchPlan& plan,
                              const SearchCallbacks& callbacks) {
    const auto size = static_cast<std::int64_t>(base.size());
    SearchCounts counts;
    auto terminated = [&] {
        if (!counts.terminated && callbacks.terminated && callbacks.terminated())
            counts.terminated = true;
        return counts.terminated;
    };
    auto accept = [&](std::int64_t pos, const PitRecord& rec, bool ext) {
        ++counts.found;
        if (ext) ++counts.foundExt;
        if (callbacks.found)
            callbacks.found(static_cast<std::int32_t>(pos), rec, counts.found, counts.foundExt);
    };

    Progress progress(callbacks, plan.StartPos, plan.EndPos);
    PitRecord rec;
    int rejectedInRow = 0;
    for (std::int64_t pos = plan.StartPos; pos <= plan.EndPos;) {
        progress.At(pos);
        if (!InImage(pos, kRecordSize, size)) break;
        std::memcpy(rec.data(), base.data() + pos, kRecordSize);
        if (terminated()) return counts;
        if (IsValidPitRecord(rec.data(), plan.criteria)) {
            rejectedInRow = 0;
            accept(pos, rec, false);
            pos += kRecordSize;
        } else if (plan.scanRecords) {
            pos += kMissStep;
        } else {
            if (++rejectedInRow > kMaxRejectedInRow) break;
            pos += kRecordSize;
        }
    }
    if (plan.scanRecords || plan.ExtPITAdr == 0) return counts;

    // The ExtPIT: entries of 12 bytes up to an end mark, each with a run of
    // N slots of 16 bytes whose first 8 bytes are a record. A rejected slot
    // ends its entry only.
    for (std::int64_t entryPos = plan.ExtPITAdr; !terminated(); entryPos += kExtPitEntrySize) {
        const auto entry = ReadExtPitEntry(base, entryPos);
        if (!entry || entry->IsEnd()) break;
        std::int64_t slot = entry->runPos;
        for (int j = 0; j < entry->count; ++j, slot += kExtPitSlotSize) {
            if (terminated()) return counts;
            if (!InImage(slot, kRecordSize, size)) break;
            std::memcpy(rec.data(), base.data() + slot, kRecordSize);
            if (!IsValidPitRecord(rec.data(), plan.criteria)) break;
            accept(slot, rec, true);
        }
    }
    return counts;
}

}  // namespace vorlix
