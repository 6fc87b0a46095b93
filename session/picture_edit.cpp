#include "session/picture_edit.h"

#include <algorithm>
#include <cstring>

#include "picture/picture.h"

namespace vorlix {

namespace {

// Runs closer than this are kept as one, so that a picture's data changed
// byte by byte (with some bytes equal by chance) is one run.
constexpr std::int64_t kJoinGap = 16;
// The arrays are compared this many bytes at a time; only blocks that
// differ are looked at byte by byte.
constexpr std::int64_t kBlock = 4096;

std::vector<ByteRun> Differences(const std::uint8_t* then, const std::uint8_t* now,
                                 std::int64_t imageSize) {
    std::vector<ByteRun> runs;
    std::int64_t start = -1, end = -1;  // the run being gathered: [start, end)
    const auto close = [&] {
        if (start < 0) return;
        ByteRun run;
        run.pos = static_cast<std::int32_t>(start);
        run.before.assign(then + start, then + end);
        run.after.assign(now + start, now + end);
        runs.push_back(std::move(run));
        start = end = -1;
    };
    for (std::int64_t block = 0; block < imageSize; block += kBlock) {
        const std::int64_t size = std::min<std::int64_t>(kBlock, imageSize - block);
        if (std::memcmp(then + block, now + block, static_cast<std::size_t>(size)) == 0) continue;
        for (std::int64_t i = block; i < block + size; ++i) {
            if (then[i] == now[i]) continue;
            if (start >= 0 && i - end > kJoinGap) close();
            if (start < 0) start = i;
            end = i + 1;
        }
    }
    close();
    return runs;
}

void Put(std::uint8_t* array, std::int64_t imageSize, const std::vector<ByteRun>& runs,
         bool after) {
    for (const ByteRun& run : runs) {
        const std::vector<std::uint8_t>& bytes = after ? run.after : run.before;
        if (!InImage(run.pos, static_cast<std::int64_t>(bytes.size()), imageSize)) continue;
        std::copy(bytes.begin(), bytes.end(), array + run.pos);
    }
}

}  // namespace

bool PictureState::operator==(const PictureState& o) const {
    // Bitmaps compare their pixels, which costs little next to an edit:
    // pictures are at most 255 x 255.
    return row == o.row && Record == o.Record && Length == o.Length && Depth == o.Depth &&
           Modified == o.Modified && NewData == o.NewData && slot == o.slot &&
           SourceBitmap == o.SourceBitmap && DecodedBitmap == o.DecodedBitmap;
}

PictureState CaptureState(const FlashSession& session, int row) {
    PictureState state;
    state.row = row;
    if (row >= 0 && row < static_cast<int>(session.Slots.size())) state.slot = session.Slots[row];
    if (const Picture* p = session.PictureOfRow(row)) {
        state.Record = p->Record;
        state.Length = p->Length;
        state.Depth = p->Depth;
        state.Modified = p->Modified;
        state.NewData = p->NewData;
        state.SourceBitmap = p->SourceBitmap;
        state.DecodedBitmap = p->DecodedBitmap;
    }
    return state;
}

void RestoreState(FlashSession& session, const PictureState& state) {
    if (state.row < 0 || state.row >= static_cast<int>(session.Slots.size())) return;
    session.Slots[state.row] = state.slot;
    Picture* p = session.PictureOfRow(state.row);
    if (!p) return;
    p->Record = state.Record;
    p->Length = state.Length;
    p->Depth = state.Depth;
    p->Modified = state.Modified;
    p->NewData = state.NewData;
    // The bitmaps are shared with the state until the picture is decoded
    // again, which then draws on a fresh bitmap.
    p->SourceBitmap = state.SourceBitmap;
    p->DecodedBitmap = state.DecodedBitmap;
}

std::vector<int> PictureEdit::Rows() const {
    std::vector<int> rows;
    for (const PictureState& s : before_) rows.push_back(s.row);
    return rows;
}

void PictureEdit::Apply(FlashSession& session, bool after) const {
    FlashImage& image = session.image();
    if (!work_.empty()) Put(image.MutableWorkImage(), image.Size(), work_, after);
    Put(image.Usage(), image.Size(), usage_, after);
    for (const PictureState& s : after ? after_ : before_) RestoreState(session, s);
}

EditRecorder::EditRecorder() = default;
EditRecorder::~EditRecorder() = default;

void EditRecorder::Begin(const FlashSession& session, std::vector<int> rows) {
    const int count = static_cast<int>(session.Rows.size());
    std::erase_if(rows, [count](int row) { return row < 0 || row >= count; });
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    before_.clear();
    for (const int row : rows) before_.push_back(CaptureState(session, row));
    const FlashImage& image = session.image();
    if (!work_ || size_ != image.Size()) {
        size_ = image.Size();
        work_ = AllocateImageArray(size_);
        usage_ = AllocateImageArray(size_);
    }
    std::memcpy(work_.get(), image.WorkImage(), static_cast<std::size_t>(size_));
    std::memcpy(usage_.get(), image.Usage(), static_cast<std::size_t>(size_));
    recording_ = true;
}

PictureEdit EditRecorder::End(const FlashSession& session) {
    PictureEdit edit;
    if (!recording_) return edit;
    recording_ = false;
    for (PictureState& before : before_) {
        PictureState after = CaptureState(session, before.row);
        if (after == before) continue;
        edit.before_.push_back(std::move(before));
        edit.after_.push_back(std::move(after));
    }
    before_.clear();
    // An image opened anew since Begin has nothing to compare with.
    if (session.image().Size() != size_) return edit;
    edit.work_ = Differences(work_.get(), session.image().WorkImage(), size_);
    edit.usage_ = Differences(usage_.get(), session.image().Usage(), size_);
    return edit;
}

}  // namespace vorlix
