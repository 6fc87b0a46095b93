#include "vkp/patch_conflicts.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <tuple>

#include "vkp/installed_stack.h"

namespace vorlix {

namespace {

struct PatchConflicts {
    Q_DECLARE_TR_FUNCTIONS(PatchConflicts)
};

// The bytes one record writes, as the sweep sees them.
struct Span {
    std::uint64_t from;
    std::uint64_t to;
    int source;
    const VkpRecord* record;
};

void FindOverlaps(std::span<const PatchSource> sources, std::vector<Conflict>& out) {
    std::vector<Span> spans;
    std::size_t total = 0;
    for (const PatchSource& s : sources) total += s.file.records.size();
    spans.reserve(total);
    for (int i = 0; i < static_cast<int>(sources.size()); ++i)
        for (const VkpRecord& r : sources[static_cast<std::size_t>(i)].file.records)
            if (r.newCount > 0) spans.push_back({r.address, r.End(), i, &r});
    std::sort(spans.begin(), spans.end(), [](const Span& a, const Span& b) {
        return std::tie(a.from, a.source) < std::tie(b.from, b.source);
    });

    // The spans that begin before the current one and still reach into it.
    // Records of one file rarely overlap each other, so it stays short.
    std::vector<const Span*> open;
    for (const Span& s : spans) {
        std::erase_if(open, [&](const Span* a) { return a->to <= s.from; });
        for (const Span* a : open) {
            if (a->source == s.source) continue;
            const bool later = s.source > a->source;
            const Span& mine = later ? s : *a;
            const Span& theirs = later ? *a : s;
            Conflict c;
            c.kind = ConflictKind::Overlap;
            c.source = mine.source;
            c.at = mine.record->at;
            c.other = theirs.source;
            c.otherAt = theirs.record->at;
            c.from = static_cast<std::uint32_t>(s.from);
            c.to = static_cast<std::uint32_t>(std::min(a->to, s.to));
            out.push_back(std::move(c));
        }
        open.push_back(&s);
    }
}

void FindMismatches(std::span<const PatchSource> sources, ImageBytes image, std::int32_t fullFlash,
                    std::vector<Conflict>& out) {
    // The image as the files before the current one leave it.
    std::vector<std::uint8_t> sequence(image.begin(), image.end());
    for (int i = 0; i < static_cast<int>(sources.size()); ++i) {
        const VkpFile& file = sources[static_cast<std::size_t>(i)].file;
        if (PatchPresent(file, sequence, fullFlash)) {
            Conflict c;
            c.kind = ConflictKind::Present;
            c.source = i;
            out.push_back(std::move(c));
            continue;
        }
        for (const VkpRecord& r : file.records) {
            // The check before has refused records outside the image; a
            // caller that skipped it gets no finding for them either.
            const std::int64_t pos = std::int64_t{fullFlash} + r.address;
            if (!InImage(pos, static_cast<std::int64_t>(r.CheckedEnd() - r.address),
                         static_cast<std::int64_t>(sequence.size())))
                continue;
            std::uint8_t* at = sequence.data() + pos;
            const std::span<const std::uint8_t> old = file.OldBytes(r);
            if (!old.empty() && std::memcmp(at, old.data(), old.size()) != 0) {
                Conflict c;
                c.kind = ConflictKind::Mismatch;
                c.source = i;
                c.at = r.at;
                c.from = r.address;
                c.to = static_cast<std::uint32_t>(r.address + old.size());
                c.expected.assign(old.begin(), old.end());
                c.found.assign(at, at + old.size());
                out.push_back(std::move(c));
            }
            const std::span<const std::uint8_t> now = file.NewBytes(r);
            std::memcpy(at, now.data(), now.size());
        }
    }
}

QString Address(std::uint32_t a) {
    return QStringLiteral("%1").arg(a, 6, 16, QLatin1Char('0')).toUpper();
}

// The part of a finding's text after the place it names; `other` names the
// other file's record of an overlap.
QString Body(const Conflict& c, const QString& other) {
    switch (c.kind) {
        case ConflictKind::Present:
            return PatchConflicts::tr("патч уже есть в дампе");
        case ConflictKind::Overlap:
            if (c.to - c.from == 1)
                return PatchConflicts::tr("пересекается с %1: байт %2").arg(other, Address(c.from));
            return PatchConflicts::tr("пересекается с %1: байты %2-%3")
                .arg(other, Address(c.from), Address(c.to - 1));
        case ConflictKind::Mismatch:
            return PatchConflicts::tr(
                       "данные отката не совпадают: по адресу %1 в патче %2, в образе %3")
                .arg(Address(c.from), ShownBytes(c.expected), ShownBytes(c.found));
    }
    return {};
}

const QString& NameOf(std::span<const PatchSource> sources, int i) {
    return sources[static_cast<std::size_t>(i)].name;
}

}  // namespace

std::vector<Conflict> FindConflicts(std::span<const PatchSource> sources, ImageBytes image,
                                    std::int32_t fullFlash) {
    std::vector<Conflict> conflicts;
    FindMismatches(sources, image, fullFlash, conflicts);
    FindOverlaps(sources, conflicts);
    std::stable_sort(conflicts.begin(), conflicts.end(), [](const Conflict& a, const Conflict& b) {
        return std::tie(a.source, a.at.line, a.at.column) <
               std::tie(b.source, b.at.line, b.at.column);
    });
    return conflicts;
}

bool HasConflicts(std::span<const Conflict> conflicts) {
    return std::any_of(conflicts.begin(), conflicts.end(),
                       [](const Conflict& c) { return c.kind != ConflictKind::Present; });
}

QString ConflictText(const Conflict& c, std::span<const PatchSource> sources) {
    auto place = [&](int source, const VkpLocation& at) {
        const QString& name = NameOf(sources, source);
        if (at.line == 0) return PatchConflicts::tr("«%1»").arg(name);
        return name.isEmpty() ? PatchConflicts::tr("строка %1").arg(at.line)
                              : PatchConflicts::tr("«%1», строка %2").arg(name).arg(at.line);
    };
    const QString other = c.kind == ConflictKind::Overlap ? place(c.other, c.otherAt) : QString();
    return place(c.source, c.at) + QStringLiteral(": ") + Body(c, other);
}

QString ConflictLine(const Conflict& c, std::span<const PatchSource> sources) {
    auto place = [&](int source, const VkpLocation& at) {
        const QString& name = NameOf(sources, source);
        return at.line == 0 ? name : QStringLiteral("%1:%2").arg(name).arg(at.line);
    };
    const QString other = c.kind == ConflictKind::Overlap ? place(c.other, c.otherAt) : QString();
    return place(c.source, c.at) + QStringLiteral(": ") + Body(c, other);
}

}  // namespace vorlix
