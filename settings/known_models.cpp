#include "settings/known_models.h"

#include <QRegularExpression>
#include <algorithm>

namespace vorlix {

namespace {

constexpr std::int64_t kMiB = 0x100000;

// FullFlash is where the phone's own index records put the dump's first
// byte: a record's address minus the file offset of the data it points to.
// A whole dump of the 45 and 50 generations runs from there to the end of
// the 24-bit space; the x55 family keeps 16 MiB of flash from lower down.
// The largest picture is the screen: 101 x 80 for every model but the
// smaller screens of the A50, A52 and C35 (101 x 64).
constexpr KnownModel kModels[] = {
    {"C55", 0x800000, 8 * kMiB, 101, 80},  {"A52", 0x800000, 8 * kMiB, 101, 64},
    {"S45i", 0x800000, 8 * kMiB, 101, 80}, {"SL45i", 0xA00000, 6 * kMiB, 101, 80},
    {"A50", 0xC00000, 4 * kMiB, 101, 64},  {"C35", 0xC00000, 4 * kMiB, 101, 64},
    {"M55", 0x200000, 16 * kMiB, 101, 80}, {"MC60", 0x200000, 16 * kMiB, 101, 80},
    {"C60", 0x200000, 16 * kMiB, 101, 80}, {"S55", 0x400000, 16 * kMiB, 101, 80},
};

}  // namespace

std::span<const KnownModel> KnownModels() { return kModels; }

QStringList KnownModelNames() {
    QStringList names;
    for (const KnownModel& m : kModels) names << QString::fromLatin1(m.name);
    return names;
}

const KnownModel* FindKnownModel(const QString& name) {
    const auto it = std::find_if(std::begin(kModels), std::end(kModels), [&](const KnownModel& m) {
        return name.compare(QLatin1String(m.name), Qt::CaseInsensitive) == 0;
    });
    return it == std::end(kModels) ? nullptr : it;
}

const KnownModel* KnownModelOf(const QString& modelAndVersion) {
    // Identification appends "v" and two version digits (0x30 | nibble,
    // so '0' to '?') to the model's name.
    static const QRegularExpression kVersioned(QStringLiteral("^(.+)v[0-9:;<=>?]{2}$"));
    const QRegularExpressionMatch m = kVersioned.match(modelAndVersion);
    if (m.hasMatch()) {
        if (const KnownModel* known = FindKnownModel(m.captured(1))) return known;
    }
    return FindKnownModel(modelAndVersion);
}

}  // namespace vorlix
