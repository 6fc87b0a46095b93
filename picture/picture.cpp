#include "picture/picture.h"

#include "settings/model_settings.h"

namespace vorlix {

Picture::Picture(FlashImage& image, std::int32_t recordPos, const ModelSettings& model)
    : BaseImage(image.BaseImage()),
      WorkImage(image.WorkImage()),
      UsageMap(image.UsageMap()),
      RecordPos(recordPos),
      image_(image),
      model_(model) {
    ReadRecord(Record, BaseImage, RecordPos);
    Decode();
    BaseDataPos = DataPos();
    BaseLength = Length;
    // Copies share the decoded pixels until one of them is drawn on.
    OldBitmap = DecodedBitmap;
    SourceBitmap = DecodedBitmap;
}

Picture::~Picture() = default;

void Picture::ReadRecord(PitRecord& record, const std::uint8_t* image, std::int32_t pos) {
    for (int k = 0; k < 8; ++k) {
        const std::int64_t at = static_cast<std::int64_t>(pos) + k;
        record[k] = InImage(at) ? image[at] : 0xFF;  // past the image: erased flash
    }
}

void Picture::WriteRecord(const PitRecord& record, std::uint8_t* image, std::int32_t pos) {
    for (int k = 0; k < 8; ++k) {
        const std::int64_t at = static_cast<std::int64_t>(pos) + k;
        if (InImage(at)) image[at] = record[k];
    }
}

std::int32_t Picture::DataPos() const {
    return GetDataPos(Record.data(), FormatFor(model_.ModelAndVersion));
}

}  // namespace vorlix
