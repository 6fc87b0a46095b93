#include "picture/picture.h"

#include "settings/model_settings.h"

namespace vorlix {

Picture::Picture(FlashImage& image, std::int32_t recordPos, const ModelSettings& model)
    : RecordPos(recordPos), image_(image), model_(model) {
    ReadRecord(Record, BaseImage(), RecordPos);
    Decode();
    BaseDataPos = DataPos();
    BaseLength = Length;
    // Copies share the decoded pixels until one of them is drawn on.
    OldBitmap = DecodedBitmap;
    SourceBitmap = DecodedBitmap;
}

Picture::~Picture() = default;

void Picture::ReadRecord(PitRecord& record, ImageBytes image, std::int32_t pos) {
    const auto size = static_cast<std::int64_t>(image.size());
    for (int k = 0; k < 8; ++k) {
        const std::int64_t at = static_cast<std::int64_t>(pos) + k;
        record[k] = InImage(at, 1, size) ? image[at] : 0xFF;  // past the image: erased flash
    }
}

void Picture::WriteRecord(const PitRecord& record, WritableImageBytes image, std::int32_t pos) {
    const auto size = static_cast<std::int64_t>(image.size());
    for (int k = 0; k < 8; ++k) {
        const std::int64_t at = static_cast<std::int64_t>(pos) + k;
        if (InImage(at, 1, size)) image[at] = record[k];
    }
}

std::int32_t Picture::DataPos() const {
    return GetDataPos(Record.data(), FormatFor(model_.ModelAndVersion));
}

}  // namespace vorlix
