#pragma once

#include <QImage>
#include <QString>
#include <cstdint>

namespace vorlix {

class Picture;

// What an encoding's colour reduction makes of a picture's colours: how
// many different ones the source holds and how many are left.
struct ColorMerge {
    int before = 0;
    int after = 0;
    bool Merged() const { return after < before; }
};

// The counts for the width x height pixels of `source` (pixels outside it
// count as white, as the encoders take them) reduced by `type`. Only the
// palette encodings (1, 2 and 8 bit) are counted, where a merge is seen at a
// glance; for the others both counts are 0.
ColorMerge CountMergedColors(const QImage& source, int width, int height, std::uint8_t type);

// "12 цветов сведены к 3" for a picture whose last encoding merged colours
// of its source; empty when none were merged.
QString MergedColorsNote(const Picture& picture);

}  // namespace vorlix
