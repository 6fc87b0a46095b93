// One picture: an index record and the data stream it points to, decoded.
// The input is a flag byte, the 8 record bytes and the stream, which lies
// at the very end of the image so that a read past it is a read past the
// image. Flag bit 0 keeps the record's own data position (anywhere, inside
// the image or not, over the record too) instead of pointing it at the
// stream; bit 1 reads addresses in the linear format. A replacement must
// leave the record whole wherever its data lay.
//
// A picture of an encoding that has an encoder is then replaced by its own
// decoding, in its encoding and in the other one of its pair (compressed
// or not): the decoder must read back exactly the bytes the encoder wrote
// and draw every pixel in the colour the encoding makes of the source
// colour; for the 1- and 12-bit encodings, which lose nothing, that is the
// first decoding itself wherever that drew its pixels (those it did not
// reach show white, which 12 bits cannot hold).

#include <QImage>
#include <cstring>
#include <vector>

#include "builder/flash_builder.h"
#include "fuzz/fuzz_support.h"
#include "picture/color_tables.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"
#include "settings/settings.h"

using namespace vorlix;

namespace {

constexpr std::int32_t kRecordPos = 0xE60010;

struct Range {
    std::int64_t pos;
    std::int64_t length;
};

struct Program {
    fuzz::SilentPrompt prompt;
    SettingsStore store{fuzz::InputPath(QStringLiteral("unused.ini"))};
    Settings settings{store};
    FlashImage image;
    std::vector<Range> dirty;

    Program() {
        c55::SetC55ModelValues(settings);
        // Room for the largest picture of any encoding, far from the stream.
        settings.PlaceAdrMin = 0x100000;
        settings.PlaceAdrMax = 0x300000;
    }

    void Touch(std::int64_t pos, std::int64_t length) {
        if (length > 0) dirty.push_back({pos, length});
    }
    // Erases what the last input wrote, in all three arrays.
    void Restore() {
        for (const Range& r : dirty) {
            const std::int64_t from = std::max<std::int64_t>(r.pos, 0);
            const std::int64_t to = std::min<std::int64_t>(r.pos + r.length, kImageSize);
            if (from >= to) continue;
            for (std::uint8_t* a : {image.BaseImage(), image.MutableWorkImage()})
                std::memset(a + from, 0xFF, static_cast<std::size_t>(to - from));
            std::memset(image.Usage() + from, 0x00, static_cast<std::size_t>(to - from));
        }
        dirty.clear();
    }
};

// The encodings that exist in both forms, compressed and not.
bool EncodedBothWays(std::uint8_t type) {
    switch (type & 0x7F) {
        case kType1Bit:
        case kType8Bit:
        case kType12Bit:
        case kType16Bit:
            return true;
        default:
            return false;
    }
}

void ReplaceByItsOwnDecoding(Program& program, Picture& p, std::uint8_t type,
                             std::int64_t firstDrawn) {
    const QImage source = p.SourceBitmap.convertToFormat(QImage::Format_RGB32);
    p.Record[2] = type;
    FUZZ_CHECK(p.Replace(nullptr) == Placement::Placed);
    program.Touch(p.DataPos(), static_cast<std::int64_t>(p.NewData.size()));
    FUZZ_CHECK(p.Length == static_cast<std::int32_t>(p.NewData.size()));
    PitRecord written;
    Picture::ReadRecord(written, p.WorkImage(), kRecordPos);
    FUZZ_CHECK(written == p.Record);

    const int w = p.Width(), h = p.Height();
    std::vector<QRgb> pixels(static_cast<std::size_t>(w) * h);
    const DecodeResult r = DecodePixels(p.WorkImage(), p.DataPos(), w, h, type, pixels.data());
    FUZZ_CHECK(r.length == p.Length);
    FUZZ_CHECK(r.drawn == static_cast<std::int64_t>(w) * h);
    const bool lossless =
        (type & 0x7F) == kType1Bit || (type & 0x7F) == kType2Bit || (type & 0x7F) == kType12Bit;
    for (int y = 0; y < h; ++y) {
        const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        const QRgb* old = reinterpret_cast<const QRgb*>(p.OldBitmap.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const QRgb got = pixels[static_cast<std::size_t>(y) * w + x] | 0xFF000000u;
            FUZZ_CHECK(got == (ColorAfterEncoding(type, in[x]) | 0xFF000000u));
            if (lossless && static_cast<std::int64_t>(y) * w + x < firstDrawn)
                FUZZ_CHECK(got == (old[x] | 0xFF000000u));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 9) return 0;
    static Program program;
    program.Restore();
    const std::uint8_t flags = data[0];
    program.settings.ModelAndVersion =
        (flags & 2) ? QStringLiteral("CF62v13") : QStringLiteral("C55v50");
    const AddressFormat format = FormatFor(program.settings.ModelAndVersion);

    PitRecord record;
    std::memcpy(record.data(), data + 1, 8);
    const std::int64_t streamLength = static_cast<std::int64_t>(size) - 9;
    const std::int64_t streamPos = kImageSize - streamLength;
    if (!(flags & 1)) SetDataPos(record.data(), static_cast<std::int32_t>(streamPos), format);
    FlashImage& image = program.image;
    for (std::uint8_t* a : {image.BaseImage(), image.MutableWorkImage()}) {
        std::memcpy(a + streamPos, data + 9, static_cast<std::size_t>(streamLength));
        Picture::WriteRecord(record, {a, static_cast<std::size_t>(image.Size())}, kRecordPos);
    }
    program.Touch(streamPos, streamLength);
    program.Touch(kRecordPos, 8);

    Picture p(image, kRecordPos, program.settings);
    program.Touch(p.DataPos(), p.Length);
    FUZZ_CHECK(p.Length == 0 || image.Holds(p.DataPos(), p.Length));
    FUZZ_CHECK(p.Depth == DepthOfType(p.Type()));
    // A picture without pixels has no bitmap.
    if (p.Width() == 0 || p.Height() == 0)
        FUZZ_CHECK(p.DecodedBitmap.isNull());
    else
        FUZZ_CHECK(p.DecodedBitmap.size() == QSize(p.Width(), p.Height()));

    const std::uint8_t type = p.Type();
    if (!HasEncoder(type) || p.Width() == 0 || p.Height() == 0) return 0;
    std::vector<QRgb> first(static_cast<std::size_t>(p.Width()) * p.Height());
    const std::int64_t drawn =
        DecodePixels(image.BaseBytes(), p.DataPos(), p.Width(), p.Height(), type, first.data())
            .drawn;
    ReplaceByItsOwnDecoding(program, p, type, drawn);
    if (EncodedBothWays(type)) ReplaceByItsOwnDecoding(program, p, type ^ kCompressed, drawn);
    return 0;
}
