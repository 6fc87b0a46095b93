#include "session/picture_revert.h"

#include <algorithm>
#include <unordered_set>

#include "picture/picture.h"
#include "session/flash_session.h"
#include "session/pit_name.h"

namespace vorlix {

namespace {

struct Span {
    std::int64_t from = 0, to = 0;  // [from, to), inside the image
};

Span Clamped(std::int64_t pos, std::int64_t length, std::int64_t imageSize) {
    const std::int64_t from = std::clamp<std::int64_t>(pos, 0, imageSize);
    const std::int64_t to =
        std::clamp<std::int64_t>(pos + std::max<std::int64_t>(length, 0), from, imageSize);
    return {from, to};
}

Span CurrentData(const Picture& p) {
    return Clamped(p.DataPos(), p.Length, static_cast<std::int64_t>(p.BaseImage().size()));
}
Span FirstData(const Picture& p) {
    return Clamped(p.BaseDataPos, p.BaseLength, static_cast<std::int64_t>(p.BaseImage().size()));
}

// Marks the bytes of `span` that one of `others` covers.
std::vector<bool> Covered(Span span, const std::vector<Span>& others) {
    std::vector<bool> covered(static_cast<std::size_t>(span.to - span.from), false);
    for (const Span& o : others) {
        const std::int64_t a = std::max(o.from, span.from), b = std::min(o.to, span.to);
        for (std::int64_t i = a; i < b; ++i)
            covered[static_cast<std::size_t>(i - span.from)] = true;
    }
    return covered;
}

}  // namespace

std::vector<int> AllRows(const FlashSession& session) {
    std::vector<int> rows(session.Rows.size());
    for (std::size_t r = 0; r < rows.size(); ++r) rows[r] = static_cast<int>(r);
    return rows;
}

RevertResult RevertPictures(FlashSession& session, const std::vector<int>& rows) {
    RevertResult result;
    FlashImage& image = session.image();

    std::vector<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    sorted.erase(std::unique(sorted.begin(), sorted.end()), sorted.end());
    std::vector<std::pair<int, Picture*>> targets;
    std::unordered_set<const Picture*> taken;
    for (const int row : sorted) {
        Picture* p = session.PictureOfRow(row);
        if (!p || !p->Modified) continue;
        if (taken.insert(p).second) targets.emplace_back(row, p);
    }
    if (targets.empty()) return result;
    std::uint8_t* work = image.MutableWorkImage();
    std::uint8_t* usage = image.Usage();
    const std::uint8_t* base = image.BaseImage();

    // The pictures that stay as they are keep their data: a modified one as
    // it stands, one not modified as the firmware holds it.
    std::vector<Span> stayingModified, stayingUnmodified;
    for (const auto& p : session.Pictures) {
        if (!p || taken.count(p.get()) || p->Length <= 0) continue;
        (p->Modified ? stayingModified : stayingUnmodified).push_back(CurrentData(*p));
    }

    // First free what the modified pictures placed, then restore: a picture
    // may have placed its data where another one taken back had its own.
    for (const auto& [row, p] : targets) {
        if (!p->Modified) continue;
        const Span data = CurrentData(*p);
        const std::vector<bool> modified = Covered(data, stayingModified);
        const std::vector<bool> unmodified = Covered(data, stayingUnmodified);
        for (std::int64_t i = data.from; i < data.to; ++i) {
            const auto k = static_cast<std::size_t>(i - data.from);
            if (modified[k]) continue;
            if (unmodified[k]) {
                work[i] = base[i];
                continue;
            }
            work[i] = 0xFF;
            usage[i] = 0x00;
        }
    }

    for (const auto& [row, p] : targets) {
        if (p->Modified) {
            for (int k = 0; k < 8; ++k) {
                const std::int64_t at = static_cast<std::int64_t>(p->RecordPos) + k;
                if (image.Holds(at)) work[at] = base[at];
            }
            const Span data = FirstData(*p);
            const std::vector<bool> held = Covered(data, stayingModified);
            for (std::int64_t i = data.from; i < data.to; ++i)
                if (!held[static_cast<std::size_t>(i - data.from)]) work[i] = base[i];
            if (std::find(held.begin(), held.end(), true) != held.end())
                result.held << PitText(*p, session.settings());
        }
        Picture::ReadRecord(p->Record, image.BaseBytes(), p->RecordPos);
        p->Modified = false;
        p->NewData.clear();
        p->SourceBitmap = p->OldBitmap;
        // Reads the base image again and marks the first data occupied.
        p->Decode();

        session.Slots[row].compressedCleared = false;
        result.rows.push_back(row);
    }
    return result;
}

}  // namespace vorlix
