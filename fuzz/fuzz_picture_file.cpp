// A picture file as a user loads it onto a picture: read by the loader
// (BMP or any format the platform reads), encoded by every encoder, and
// placed as the replacement of a picture of a small image whose placement
// area holds only small pictures. The first input byte chooses the picture
// replaced: a monochrome one (stays 1-bit) or a colour one (16-bit
// compressed); the rest is the file.
//
// Every encoder's output must decode back to exactly its own length, with
// every pixel in the colour that the encoding makes of the file's colour.
// A replacement that finds no place must leave the picture as it was.

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
constexpr std::int32_t kDataPos = 0xD00000;
// Scratch space for decoding what the encoders wrote.
constexpr std::int32_t kScratch = 0x400000;
constexpr std::size_t kLargestData = 255 * 255 * 4;
constexpr std::uint8_t kEncoderTypes[] = {0x01, 0x81, 0x03, 0x05, 0x85, 0x07, 0x87, 0x08, 0x88};

struct Program {
    fuzz::SilentPrompt prompt;
    SettingsStore store{fuzz::InputPath(QStringLiteral("unused.ini"))};
    Settings settings{store};
    FlashImage image;

    Program() {
        c55::SetC55ModelValues(settings);
        settings.ModelAndVersion = QStringLiteral("C55v50");
        // A small placement area: 8 KiB, enough for small pictures only.
        settings.PlaceAdrMax = settings.PlaceAdrMin + 0x2000;
    }

    std::int64_t PlaceLo() const { return std::int64_t{settings.FullFlash} + settings.PlaceAdrMin; }
    std::int64_t PlaceHi() const { return std::int64_t{settings.FullFlash} + settings.PlaceAdrMax; }

    // The image as before any input: a 4 x 4 picture, nothing placed yet.
    void Reset(std::uint8_t type) {
        // Base and working image erased, nothing occupied.
        for (std::uint8_t* a : {image.BaseImage(), image.MutableWorkImage(), image.Usage()}) {
            const int erased = a == image.Usage() ? 0x00 : 0xFF;
            std::memset(a + PlaceLo(), erased, static_cast<std::size_t>(PlaceHi() - PlaceLo()));
            // Replaced in place, the data may run on from the old place.
            std::memset(a + kDataPos, erased, kLargestData);
            std::memset(a + kScratch, erased, kLargestData);
        }
        PitRecord record{4, 4, type, 0};
        SetDataPos(record.data(), kDataPos, AddressFormat::Paged);
        const std::uint8_t data[] = {0x05, 0x00, 0xE0, 0x0B, 0x1F, 0x00};
        for (std::uint8_t* a : {image.BaseImage(), image.MutableWorkImage()}) {
            Picture::WriteRecord(record, {a, static_cast<std::size_t>(image.Size())}, kRecordPos);
            std::memcpy(a + kDataPos, data, sizeof data);
        }
    }
};

void EveryEncoder(Program& program, const QImage& source) {
    const int w = source.width(), h = source.height();
    std::vector<std::uint8_t> out(static_cast<std::size_t>(EncodeBufferSize(w, h)));
    std::vector<QRgb> pixels(static_cast<std::size_t>(w) * h);
    std::uint8_t* scratch = program.image.MutableWorkImage();
    for (const std::uint8_t type : kEncoderTypes) {
        const std::int32_t length = EncodePixels(source, w, h, type, out.data());
        FUZZ_CHECK(length > 0 && length <= static_cast<std::int64_t>(out.size()));
        std::memcpy(scratch + kScratch, out.data(), static_cast<std::size_t>(length));
        const DecodeResult r =
            DecodePixels(program.image.WorkBytes(), kScratch, w, h, type, pixels.data());
        std::memset(scratch + kScratch, 0xFF, static_cast<std::size_t>(length));
        FUZZ_CHECK(r.length == length);
        FUZZ_CHECK(r.drawn == static_cast<std::int64_t>(w) * h);
        for (int y = 0; y < h; ++y) {
            const QRgb* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
            for (int x = 0; x < w; ++x)
                FUZZ_CHECK((pixels[static_cast<std::size_t>(y) * w + x] | 0xFF000000u) ==
                           (ColorAfterEncoding(type, in[x]) | 0xFF000000u));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    static Program program;
    const std::uint8_t type = (data[0] & 1) ? 0x81 : 0x88;
    program.Reset(type);
    const QString path = fuzz::WriteInput(QStringLiteral("picture.bmp"), data + 1, size - 1);

    Picture p(program.image, kRecordPos, program.settings);
    const PitRecord before = p.Record;
    const std::vector<std::uint8_t> workBefore(p.WorkImage().data() + program.PlaceLo(),
                                               p.WorkImage().data() + program.PlaceHi());
    const Replacement loaded = p.LoadBmp(path);
    const bool placed = loaded.placed();
    if (!loaded.status.ok()) {
        FUZZ_CHECK(!placed && p.Record == before && !p.Modified);
        return 0;
    }
    if (placed) {
        const QImage& source = p.SourceBitmap;
        FUZZ_CHECK(p.Modified && p.Width() == source.width() && p.Height() == source.height());
        FUZZ_CHECK(p.Type() == ((type == 0x81) ? 0x01 : 0x88));
        FUZZ_CHECK(p.Length == static_cast<std::int32_t>(p.NewData.size()));
        const std::int64_t pos = p.DataPos();
        FUZZ_CHECK((pos == kDataPos) ||
                   (pos >= program.PlaceLo() && pos + p.Length <= program.PlaceHi()));
    } else {
        FUZZ_CHECK(p.Record == before && !p.Modified);
        FUZZ_CHECK(std::equal(workBefore.begin(), workBefore.end(),
                              p.WorkImage().data() + program.PlaceLo()));
    }
    // What the loader read, also when it found no place: the picture then
    // went back to its old source.
    const QImage source = placed ? p.SourceBitmap : QImage(path);
    FUZZ_CHECK(source.width() >= 1 && source.width() <= 255);
    FUZZ_CHECK(source.height() >= 1 && source.height() <= 255);
    EveryEncoder(program, source.convertToFormat(QImage::Format_RGB32));
    return 0;
}
