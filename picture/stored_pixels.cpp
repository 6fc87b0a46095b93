#include "picture/stored_pixels.h"

#include "image/flash_image.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"

namespace vorlix {

namespace {

StoredPixels Read(ImageBytes image, std::int64_t pos, int width, int height, std::uint8_t type) {
    StoredPixels s;
    s.width = width;
    s.height = height;
    s.values.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), 0);
    const DecodeResult r = DecodeValues(image, pos, width, height, type, s.values.data());
    s.depth = r.depth;
    s.drawn = r.drawn;
    return s;
}

}  // namespace

std::optional<std::uint16_t> StoredPixels::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width || y >= height) return std::nullopt;
    const std::int64_t i = static_cast<std::int64_t>(y) * width + x;
    if (i >= drawn) return std::nullopt;
    return values[static_cast<std::size_t>(i)];
}

StoredPixels OldStoredPixels(const Picture& picture) {
    PitRecord record{};
    Picture::ReadRecord(record, picture.BaseImage(), picture.RecordPos);
    return Read(picture.BaseImage(), picture.BaseDataPos, record[0], record[1], record[2]);
}

StoredPixels NewStoredPixels(const Picture& picture) {
    return Read(picture.Modified ? picture.WorkImage() : picture.BaseImage(), picture.DataPos(),
                picture.Width(), picture.Height(), picture.Type());
}

}  // namespace vorlix
