#include "patch/picture_lines.h"

#include <algorithm>

#include "image/flash_image.h"
#include "picture/picture.h"

namespace vorlix {

void AppendRecordLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines) {
    const std::int64_t pos = picture.RecordPos;
    const ImageBytes image = picture.BaseImage();
    if (!InImage(pos, kRecordLineBytes, static_cast<std::int64_t>(image.size()))) return;
    const std::uint8_t* base = image.data() + pos;
    const std::uint8_t* work = picture.WorkImage().data() + pos;
    int k = 0;
    while (k < kRecordLineBytes && base[k] == work[k]) ++k;
    if (k == kRecordLineBytes) return;
    lines.append(MakePatchLine(pos + k, fullFlash, base + k, work + k, kRecordLineBytes - k));
}

namespace {

// The picture's current data as a range that lies inside the image; a
// range that would leave it is cut at the image's end.
bool DataRange(const Picture& picture, std::int64_t& pos, std::int64_t& length) {
    pos = picture.DataPos();
    length = picture.Length;
    const auto size = static_cast<std::int64_t>(picture.BaseImage().size());
    if (length <= 0 || !InImage(pos, 1, size)) return false;
    length = std::min<std::int64_t>(length, size - pos);
    return true;
}

}  // namespace

void AppendDataLines(const Picture& picture, std::int32_t fullFlash, std::int32_t maxLength,
                     QStringList& lines) {
    std::int64_t pos, length;
    if (!DataRange(picture, pos, length)) return;
    const std::int64_t step = std::max<std::int32_t>(maxLength, 1);
    for (std::int64_t done = 0; done < length; done += step) {
        const int count = static_cast<int>(std::min(step, length - done));
        lines.append(MakePatchLine(pos + done, fullFlash, picture.BaseImage().data() + pos + done,
                                   picture.WorkImage().data() + pos + done, count));
    }
}

void AppendFillLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines) {
    std::int64_t pos, length;
    if (!DataRange(picture, pos, length)) return;
    lines.append(
        MakePatchLine(pos, fullFlash, picture.BaseImage().data() + pos, nullptr,
                      static_cast<int>(length)));
}

}  // namespace vorlix
