#include "patch/whole_image.h"

#include <QCoreApplication>
#include <memory>

#include "image/pit_tables.h"
#include "image/record_scan.h"
#include "patch/picture_lines.h"
#include "picture/picture.h"
#include "session/flash_session.h"
#include "vkp/patch_lines.h"

namespace vorlix {

namespace {

// The line that erases `count` bytes of table at `pos`, then the fill line
// of the picture whose record lies at `recordPos`.
void EraseTablePart(FlashSession& session, std::int64_t pos, int count, std::int64_t recordPos,
                    QStringList& lines) {
    const std::int32_t fullFlash = session.settings().FullFlash;
    lines.append(MakePatchLine(pos, fullFlash, session.image().BaseImage() + pos, nullptr, count));
    const auto picture = std::make_unique<Picture>(
        session.image(), static_cast<std::int32_t>(recordPos), session.settings());
    AppendFillLine(*picture, fullFlash, lines);
}

}  // namespace

QString FillCountsText(const FillCounts& counts) {
    return QCoreApplication::translate("WholeImage",
                                       "Всего %1 картинок, из них %2 в PIT и %3 в ExtPIT")
        .arg(counts.total)
        .arg(counts.total - counts.extended)
        .arg(counts.extended);
}

FillCounts FillPicturesWithFF(FlashSession& session, QStringList& lines,
                              const ProgressSink& progress) {
    session.Pictures.clear();
    const Settings& settings = session.settings();
    const ImageBytes base = session.image().BaseBytes();
    const auto size = static_cast<std::int64_t>(base.size());
    const RecordCriteria criteria = RecordCriteria::FromSettings(settings);
    FillCounts counts;

    progress.Maximum(100);
    progress.Position(0);
    if (const std::optional<SpitHeader> header = ReadSpitHeader(base, settings.sPITAdr)) {
        const std::int64_t start = header->pitStart;
        const std::int64_t end = start + std::int64_t{8} * header->count;
        for (std::int64_t i = start; i <= end; i += 8) {
            progress.Position(end > start ? static_cast<int>((i - start) * 100 / (end - start))
                                          : 0);
            if (!InImage(i, 8, size) || !IsValidPitRecord(base.data() + i, criteria)) break;
            ++counts.total;
            EraseTablePart(session, i, 8, i, lines);
        }
    }

    if (settings.ExtPITAdr != 0) {
        for (std::int64_t q = settings.ExtPITAdr;; q += kExtPitEntrySize) {
            const std::optional<ExtPitEntry> entry = ReadExtPitEntry(base, q);
            if (!entry || entry->IsEnd()) break;
            lines.append(
                MakePatchLine(q, settings.FullFlash, base.data() + q, nullptr, kExtPitEntrySize));
            for (int j = 0; j < entry->count; ++j) {
                const std::int64_t r =
                    std::int64_t{entry->runPos} + std::int64_t{kExtPitSlotSize} * j;
                if (!InImage(r, kExtPitSlotSize, size) ||
                    !IsValidPitRecord(base.data() + r, criteria))
                    break;
                ++counts.total;
                ++counts.extended;
                EraseTablePart(session, r, kExtPitSlotSize, r, lines);
            }
        }
    }
    progress.Position(0);
    return counts;
}

void RecreateAllGraphics(FlashSession& session, const ProgressSink& progress) {
    progress.Maximum(static_cast<int>(session.Slots.size()));
    for (std::size_t r = 0; r < session.Slots.size(); ++r) {
        progress.Position(static_cast<int>(r));
        const Picture* picture = session.PictureOfRow(static_cast<int>(r));
        if (!picture || !picture->Modified) session.Slots[r].compressedCleared = true;
    }
    progress.Position(0);
}

}  // namespace vorlix
