#include <algorithm>
#include <cstring>

#include "picture/picture.h"
#include "settings/model_settings.h"

namespace vorlix {

namespace {

// The bytes of one index record.
constexpr std::int64_t kRecordBytes = std::tuple_size_v<PitRecord>;

constexpr std::uint64_t kAllOnes = ~std::uint64_t{0};
constexpr std::uint64_t kLowBits = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

inline std::uint64_t Load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// A byte is free when it is 0xFF (erased) in the working image, not
// occupied in the usage map and not reserved for an installed patch (where
// a reservation exists). The scans go eight bytes at a time.
struct FreeBytes {
    const std::uint8_t* work;
    const std::uint8_t* usage;     // nonzero: occupied
    const std::uint8_t* reserved;  // null: nothing reserved; 0x00: reserved

    std::uint64_t Load(std::int64_t i) const {
        const std::uint64_t both = Load64(work + i) & ~Load64(usage + i);
        return reserved ? both & Load64(reserved + i) : both;
    }
    std::uint8_t At(std::int64_t i) const {
        return static_cast<std::uint8_t>(work[i] & ~usage[i] & (reserved ? reserved[i] : 0xFF));
    }

    // First byte of [from, to) that is not free, or `to`.
    std::int64_t FirstBusy(std::int64_t from, std::int64_t to) const {
        std::int64_t i = from;
        for (; i + 8 <= to; i += 8)
            if (Load(i) != kAllOnes) break;
        for (; i < to; ++i)
            if (At(i) != 0xFF) return i;
        return to;
    }

    // First free byte of [from, to), or `to`.
    std::int64_t FirstFree(std::int64_t from, std::int64_t to) const {
        std::int64_t i = from;
        for (; i + 8 <= to; i += 8) {
            const std::uint64_t notFree = ~Load(i);
            // A zero byte of notFree is a free byte.
            if (((notFree - kLowBits) & ~notFree & kHighBits) != 0) break;
        }
        for (; i < to; ++i)
            if (At(i) == 0xFF) return i;
        return to;
    }
};

}  // namespace

std::int32_t Picture::FindFreePlace(std::int32_t length) const {
    if (length < 0) return kNoPlace;
    const std::int64_t L = length;
    // The area comes from settings that the user can type freely: keep the
    // search inside the image whatever they say.
    const std::int64_t lo =
        std::max<std::int64_t>(static_cast<std::int64_t>(model_.FullFlash) + model_.PlaceAdrMin, 0);
    // Nor past the file's end: a cut dump does not show what the phone
    // holds there.
    const std::int64_t hi =
        std::min({static_cast<std::int64_t>(model_.FullFlash) + model_.PlaceAdrMax,
                  image_.Size(), image_.FileEnd()});
    constexpr std::int64_t kPageMask = ~static_cast<std::int64_t>(kPageSize - 1);
    const FreeBytes bytes{image_.WorkImage(), image_.Usage(), image_.ReservedMap()};

    // Every turn either returns or moves s forward, and s + L stays below
    // the image's end, so the search ends and never wraps.
    std::int64_t s = lo;
    while (s + L < hi) {
        // A block does not straddle a 16 KiB page boundary unless it ends
        // exactly on one; a block longer than a page starts on a boundary.
        const std::int64_t end = s + L;
        if ((s & kPageMask) != (end & kPageMask) && (end & (kPageSize - 1)) != 0) {
            if (L <= kPageSize)
                s = end & kPageMask;
            else if (s & (kPageSize - 1))
                s = (s + kPageSize - 1) & kPageMask;
            if (s + L >= hi) break;
        }
        const std::int64_t busy = bytes.FirstBusy(s, s + L);
        if (busy == s + L) return static_cast<std::int32_t>(s);
        // No block starting before the next free byte can hold the busy one.
        s = bytes.FirstFree(busy + 1, hi);
    }
    return kNoPlace;
}

bool Picture::FitsInPlace(std::int32_t pos, std::int32_t length) const {
    if (!image_.Holds(pos, length)) return false;
    const std::int64_t end = static_cast<std::int64_t>(pos) + length;
    return FreeBytes{image_.WorkImage(), image_.Usage(), image_.ReservedMap()}.FirstBusy(
               pos, end) == end;
}

void Picture::StoreNewData() {
    const std::int64_t pos = DataPos();
    const std::int64_t n =
        std::min<std::int64_t>(Length, static_cast<std::int64_t>(NewData.size()));
    if (n <= 0 || !image_.Holds(pos, n)) return;
    std::memcpy(image_.MutableWorkImage() + pos, NewData.data(), static_cast<std::size_t>(n));
}

Placement Picture::Replace(const PictureList* others) {
    const AddressFormat format = FormatFor(model_.ModelAndVersion);
    const PitRecord recordBefore = Record;
    const std::int32_t lengthBefore = Length;
    std::vector<std::uint8_t> dataBefore = NewData;

    // The bytes that the current data occupies, kept inside the image.
    const std::int64_t pos = GetDataPos(Record.data(), format);
    const std::int64_t from = std::clamp<std::int64_t>(pos, 0, image_.Size());
    const std::int64_t to =
        std::clamp<std::int64_t>(pos + std::max<std::int32_t>(Length, 0), from, image_.Size());

    // Bytes that another listed picture also uses stay occupied: that
    // picture still shows them and a patch must not touch them. Those of a
    // modified picture stay as they are; those of a picture not modified are
    // its firmware bytes, so they hold what the base image holds (they may
    // not, when it was taken back while this picture's data lay there). The
    // bytes an installed patch writes stay as they are too: the phone holds
    // that patch's bytes there, and a picture patch that rewrote them would
    // undo it.
    // Index records that lie inside the data (this picture's own, or any
    // other's: a damaged table can point a record at itself or at its
    // neighbours) are kept as they are too, so that new data never lands on
    // them and a record is never erased.
    enum : std::uint8_t { kOwn = 0, kUnmodifiedOther = 1, kModifiedOther = 2 };
    std::vector<std::uint8_t> shared;
    const auto markShared = [&](std::int64_t otherPos, std::int64_t otherLength,
                                std::uint8_t mark) {
        const std::int64_t a = std::max(otherPos, from);
        const std::int64_t b = std::min(otherPos + otherLength, to);
        if (a >= b) return;
        if (shared.empty()) shared.assign(static_cast<std::size_t>(to - from), kOwn);
        for (std::int64_t i = a; i < b; ++i) shared[i - from] = std::max(shared[i - from], mark);
    };
    if (const std::uint8_t* reserved = image_.ReservedMap(); reserved && to > from) {
        for (std::int64_t i = from; i < to; ++i)
            if (reserved[i] == 0x00) markShared(i, 1, kModifiedOther);
    }
    markShared(RecordPos, kRecordBytes, kModifiedOther);
    if (others != nullptr && to > from) {
        for (const auto& other : *others) {
            if (!other || other.get() == this) continue;
            markShared(other->RecordPos, kRecordBytes, kModifiedOther);
            if (other->Length <= 0) continue;
            markShared(other->DataPos(), other->Length,
                       other->Modified ? kModifiedOther : kUnmodifiedOther);
        }
    }
    const bool anyShared = !shared.empty();

    // Free and erase this picture's own bytes, keeping both arrays' bytes to
    // put back if the new data finds no place.
    std::uint8_t* work = image_.MutableWorkImage();
    std::uint8_t* usage = image_.Usage();
    const std::uint8_t* base = image_.BaseImage();
    const std::vector<std::uint8_t> savedWork(work + from, work + to);
    const std::vector<std::uint8_t> savedUsage(usage + from, usage + to);
    if (!anyShared) {
        std::memset(usage + from, 0x00, static_cast<std::size_t>(to - from));
        std::memset(work + from, 0xFF, static_cast<std::size_t>(to - from));
    } else {
        for (std::int64_t i = from; i < to; ++i) {
            switch (shared[i - from]) {
                case kOwn:
                    usage[i] = 0x00;
                    work[i] = 0xFF;
                    break;
                case kUnmodifiedOther:
                    work[i] = base[i];
                    break;
                default:
                    break;
            }
        }
    }
    const std::int64_t oldLength = to - from;

    Encode();

    std::int32_t place = kNoPlace;
    const bool keepPlace =
        !anyShared && image_.Holds(pos, Length) &&
        (oldLength >= Length || FitsInPlace(static_cast<std::int32_t>(pos), Length));
    if (keepPlace)
        place = static_cast<std::int32_t>(pos);
    else
        place = FindFreePlace(Length);

    if (place != kNoPlace) {
        SetDataPos(Record.data(), place, format);
        WriteRecord(Record, {work, static_cast<std::size_t>(image_.Size())}, RecordPos);
        Modified = true;
        StoreNewData();
        Decode();
        return Placement::Placed;
    }

    std::copy(savedWork.begin(), savedWork.end(), work + from);
    std::copy(savedUsage.begin(), savedUsage.end(), usage + from);
    // The picture keeps describing the data it still occupies, so that a
    // later replacement frees exactly those bytes.
    Record = recordBefore;
    Length = lengthBefore;
    NewData = std::move(dataBefore);
    return Placement::NoPlace;
}

}  // namespace vorlix
