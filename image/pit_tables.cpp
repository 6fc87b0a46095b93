#include "image/pit_tables.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <vector>

namespace vorlix {

namespace {

// A match must end before the image's last byte: the matcher stops when the
// offset after the last compared byte reaches the image's end, before it
// looks at its count.
std::int64_t MatchEnd(ImageBytes image) { return static_cast<std::int64_t>(image.size()) - 1; }

std::uint16_t Le16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

// The matcher in its initial state at `start`, giving up before a match
// would begin after `lastStart`.
//
// The matcher compares one byte after the other with the element its count
// names; a miss sets the count to 0 without comparing the missed byte with
// the first element again. So an attempt that begins at p and misses at
// element k resumes at p + k + 1, and as wildcards never miss, only the
// required elements need looking at. Skipping to the next byte that fits
// the first element changes nothing either: every byte before it misses
// element 0 and leaves the count at 0.
std::optional<std::int32_t> MatchFrom(ImageBytes image, std::int64_t start,
                                      std::span<const std::int16_t> pattern,
                                      std::int64_t lastStart) {
    const auto n = static_cast<std::int64_t>(pattern.size());
    if (n == 0) return std::nullopt;
    struct Required {
        std::int64_t index;
        std::int16_t value;
    };
    std::vector<Required> required;
    for (std::int64_t k = 1; k < n; ++k)
        if (pattern[k] != kAnyByte) required.push_back({k, pattern[k]});
    const std::int16_t first = pattern[0];
    if (first != kAnyByte && (first < 0 || first > 0xFF)) return std::nullopt;

    const std::int64_t last = std::min(lastStart, MatchEnd(image) - n);
    std::int64_t q = std::max<std::int64_t>(start, 0);
    while (q <= last) {
        std::int64_t p = q;
        if (first != kAnyByte) {
            const void* hit =
                std::memchr(image.data() + q, first, static_cast<std::size_t>(last - q + 1));
            if (!hit) return std::nullopt;
            p = static_cast<const std::uint8_t*>(hit) - image.data();
        }
        std::int64_t missed = -1;
        for (const Required& r : required) {
            if (image[p + r.index] != r.value) {
                missed = r.index;
                break;
            }
        }
        if (missed < 0) return static_cast<std::int32_t>(p);
        q = p + missed + 1;
    }
    return std::nullopt;
}

// The 4 x 4 records that discovery looks for, in the order tried.
constexpr std::array<std::uint8_t, 3> kProbeTypes = {0x81, 0x85, 0x01};

bool HoldsProbe(ImageBytes image, std::int64_t pos) {
    if (!InImage(pos, 4, static_cast<std::int64_t>(image.size()))) return false;
    const std::uint8_t* p = image.data() + pos;
    return p[0] == 4 && p[1] == 4 && p[3] == 0 &&
           std::find(kProbeTypes.begin(), kProbeTypes.end(), p[2]) != kProbeTypes.end();
}

// The sPIT markers that confirm a candidate, in the order tried.
constexpr std::array<std::uint8_t, 2> kSpitMarkers = {0x0B, 0x0C};
// A confirmation pattern: marker, 0, eight wildcards, the candidate's
// paged address.
constexpr int kConfirmLength = 14;
constexpr int kConfirmAddress = 10;  // where the address bytes stand

std::array<std::uint8_t, 4> PagedBytes(std::int32_t c) {
    return {static_cast<std::uint8_t>(c & 0xFF), static_cast<std::uint8_t>((c & 0x3FFF) >> 8),
            static_cast<std::uint8_t>((c >> 14) & 0xFF), static_cast<std::uint8_t>(c >> 22)};
}

std::array<std::int16_t, kConfirmLength> ConfirmationPattern(std::uint8_t marker, std::int32_t c) {
    std::array<std::int16_t, kConfirmLength> p;
    p.fill(kAnyByte);
    p[0] = marker;
    p[1] = 0x00;
    const auto bytes = PagedBytes(c);
    for (int i = 0; i < 4; ++i) p[kConfirmAddress + i] = bytes[i];
    return p;
}

// Confirms candidates without searching the whole image for each one.
//
// Searching a confirmation pattern from offset 0 for every candidate costs
// two passes over 16 MiB per candidate. Instead one pass collects every
// place where a confirmation could match at all: a marker, a 0 byte and,
// ten bytes on, the paged address of a position that holds a probe record.
// A candidate's search can only stop at one of its own places, and it
// stops at the first of them that the matcher actually reaches: the
// matcher may jump over a place when an attempt that began up to 13 bytes
// earlier misses late. Whether it does is settled by running the matcher
// from the nearest earlier offset where it is certainly back in its
// initial state: one with no marker byte in the 13 bytes before it, since
// only an attempt begun there could still be running.
class ConfirmationSites {
  public:
    explicit ConfirmationSites(ImageBytes image) : image_(image) {
        const std::int64_t lastStart = MatchEnd(image) - kConfirmLength;
        // The page bytes of the largest image offset.
        const std::int64_t pageHighEnd = (static_cast<std::int64_t>(image.size()) + 0x3FFFFF) >> 22;
        // A site begins on a marker byte: the bytes between two markers are
        // skipped at memchr's pace, one marker after the other.
        for (const std::uint8_t marker : kSpitMarkers) {
            for (std::int64_t p = 0; p <= lastStart; ++p) {
                const void* hit = std::memchr(image.data() + p, marker,
                                              static_cast<std::size_t>(lastStart - p + 1));
                if (!hit) break;
                p = static_cast<const std::uint8_t*>(hit) - image.data();
                if (image[p + 1] != 0) continue;
                const std::uint8_t* a = image.data() + p + kConfirmAddress;
                // Only the canonical bytes of an image offset can be a candidate's.
                if (a[1] >= 0x40 || a[3] >= pageHighEnd) continue;
                const std::int32_t c = a[0] | (a[1] << 8) | (a[2] << 14) | (a[3] << 22);
                if (!HoldsProbe(image, c)) continue;
                sites_.push_back({c, marker, static_cast<std::int32_t>(p)});
            }
        }
        std::sort(sites_.begin(), sites_.end());
    }

    // Where the confirmation of candidate `c` matches: pattern 1 (marker
    // 0x0B) first, then pattern 2 (0x0C).
    std::optional<std::int32_t> Confirm(std::int32_t c) const {
        for (const std::uint8_t marker : kSpitMarkers) {
            const auto pattern = ConfirmationPattern(marker, c);
            const Site lo{c, marker, 0};
            for (auto it = std::lower_bound(sites_.begin(), sites_.end(), lo);
                 it != sites_.end() && it->candidate == c && it->marker == marker; ++it) {
                const auto found =
                    MatchFrom(image_, SettledBefore(it->pos, marker), pattern, it->pos);
                if (found) return found;
            }
        }
        return std::nullopt;
    }

  private:
    struct Site {
        std::int32_t candidate;
        std::uint8_t marker;
        std::int32_t pos;
        auto operator<=>(const Site&) const = default;
    };

    // The latest offset at or before `pos` where the matcher of a pattern
    // that begins with `marker` is in its initial state whatever the rest of
    // the pattern: no attempt (which begins on a marker byte and covers at
    // most the pattern's length) can span it.
    std::int64_t SettledBefore(std::int64_t pos, std::uint8_t marker) const {
        std::int64_t q = pos;
        for (;;) {
            const std::int64_t lo = std::max<std::int64_t>(0, q - (kConfirmLength - 1));
            std::int64_t earliest = -1;
            for (std::int64_t r = lo; r < q; ++r) {
                if (image_[r] == marker) {
                    earliest = r;
                    break;
                }
            }
            if (earliest < 0) return q;
            q = earliest;
        }
    }

    ImageBytes image_;
    std::vector<Site> sites_;
};

// E6 F2 lo hi E6 F3 lo hi F0 4C 5C 24 20 4C 5C 24 00 24: a firmware routine
// that loads the ExtPIT's offset and page, then adds twelve times an entry
// index.
constexpr std::array<std::int16_t, 18> kExtPitCode = {
    0xE6, 0xF2, kAnyByte, kAnyByte, 0xE6, 0xF3, kAnyByte, kAnyByte, 0xF0,
    0x4C, 0x5C, 0x24,     0x20,     0x4C, 0x5C, 0x24,     0x00,     0x24};

}  // namespace

std::optional<std::int32_t> FindPattern(ImageBytes image, std::int64_t start,
                                        std::span<const std::int16_t> pattern) {
    return MatchFrom(image, start, pattern, static_cast<std::int64_t>(image.size()));
}

std::optional<SpitHeader> ReadSpitHeader(ImageBytes image, std::int64_t sPITAdr) {
    if (!InImage(sPITAdr, 20, static_cast<std::int64_t>(image.size()))) return std::nullopt;
    const std::uint8_t* h = image.data() + sPITAdr;
    SpitHeader header;
    header.marker = Le16(h + 4);
    header.pitStart = ComposePaged(h[14], h[15], h[16], h[17]);
    header.count = Le16(h + 18);
    return header;
}

std::optional<ExtPitEntry> ReadExtPitEntry(ImageBytes image, std::int64_t pos) {
    if (!InImage(pos, kExtPitEntrySize, static_cast<std::int64_t>(image.size())))
        return std::nullopt;
    const std::uint8_t* e = image.data() + pos;
    ExtPitEntry entry;
    entry.a = Le16(e);
    entry.b = Le16(e + 2);
    entry.count = static_cast<std::uint16_t>((e[4] << 8) | e[5]);
    entry.runPos = ComposePaged(e[8], e[9], e[10], e[11]);
    return entry;
}

namespace {

// Tries the probes in turn; each candidate is confirmed or passed over.
// Gives where the confirming pattern matched.
std::optional<std::int32_t> FindConfirmedSpit(ImageBytes base) {
    std::optional<ConfirmationSites> sites;  // built when the first candidate turns up
    for (const std::uint8_t type : kProbeTypes) {
        const std::array<std::int16_t, 4> probe = {4, 4, type, 0};
        std::int64_t p = 0;
        while (const auto c = FindPattern(base, p + 2, probe)) {
            p = *c;
            if (!sites) sites.emplace(base);
            if (const auto x = sites->Confirm(*c)) return x;
        }
    }
    return std::nullopt;
}

}  // namespace

PictureTables FindPictureTables(ImageBytes base) {
    PictureTables tables;
    // The marker stands at bytes 4 and 5 of the header, the address at 14 to 17.
    if (const auto x = FindConfirmedSpit(base)) tables.sPITAdr = *x - 4;
    tables.ExtPITAdr = 0;
    if (const auto y = FindPattern(base, 0, kExtPitCode))
        tables.ExtPITAdr = ComposePaged(base[*y + 2], base[*y + 3], base[*y + 6], base[*y + 7]);
    return tables;
}

}  // namespace vorlix
