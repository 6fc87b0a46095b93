// Writes the starting inputs of the fuzz targets that the test image
// builder makes: small FullFlash files of each address layout, one record
// and stream of every encoding, picture files of several formats and
// depths, and settings files as the program leaves them.
//
//   fuzz_seeds OUTDIR   writes OUTDIR/<target>/<name>

#include <QBuffer>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <cstdio>

#include "builder/flash_builder.h"
#include "fuzz/fuzz_support.h"
#include "picture/picture_codec.h"
#include "settings/settings.h"

using namespace vorlix;

namespace {

QString g_out;

void Put(const char* target, const QString& name, const QByteArray& bytes) {
    const QString dir = g_out + QLatin1Char('/') + QLatin1String(target);
    QDir().mkpath(dir);
    QFile file(dir + QLatin1Char('/') + name);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        fuzz::Fail("writing a seed", __FILE__, __LINE__);
}

// The pictures of every encoding, as the sample firmware holds them: the
// record (its data position is set by the caller) and the data.
struct SeedPicture {
    RecordSpec record;
    QByteArray data;
};

std::vector<SeedPicture> Pictures() {
    return {
        {{4, 4, 0x01}, QByteArray::fromHex("90606090")},
        {{3, 2, 0x05}, QByteArray::fromHex("00C0FF1F20E3")},
        {{2, 2, 0x08}, QByteArray::fromHex("00E01F00E00700F8")},
        {{8, 2, 0x81}, QByteArray::fromHex("C888")},
        {{5, 1, 0x85}, QByteArray::fromHex("032AFE0102")},
        {{2, 1, 0x87}, QByteArray::fromHex("FE21034305")},
        {{5, 1, 0x88}, QByteArray::fromHex("0500E0")},
        {{3, 3, 0x07}, QByteArray::fromHex("000FF0000F0FFF0F2103430565078709A90B")},
        {{5, 3, 0x03}, QByteArray::fromHex("1B1B1BE4E4E4")},
        {{10, 2, 0x01}, QByteArray::fromHex("FFC08040")},
        {{100, 1, 0x81}, QByteArray::fromHex("FFDF7F")},
        {{255, 255, 0x88}, QByteArray::fromHex("7E1F00")},
        {{60, 40, 0x87}, QByteArray::fromHex("80807E2301")},
    };
}

// A small FullFlash of `size` bytes that a first open lays at `fullFlash`:
// build information, an sPIT and PIT, an ExtPIT and the code that names
// it, and the data of every encoding.
QByteArray SmallFlash(std::int32_t size, std::int32_t fullFlash, AddressFormat format,
                      const QByteArray& model, std::uint8_t version) {
    FlashBuilder b(size, fullFlash, format);
    const std::int32_t f = fullFlash;
    b.BuildInfo(f + 0x100, model, version);
    std::vector<RecordSpec> pit, ext;
    std::int32_t data = f + 0x2000;
    for (const SeedPicture& p : Pictures()) {
        RecordSpec r = p.record;
        if (r.width > 101 || r.height > 80) continue;  // beyond the general settings' maxima
        r.dataPos = data;
        b.Bytes(data, p.data);
        data += 0x40;
        (pit.size() < 8 ? pit : ext).push_back(r);
    }
    b.Pit(f + 0x400, f + 0x800, pit);
    b.ExtPit(f + 0x1000, {{f + 0x1400, {ext[0], ext[1]}}, {f + 0x1600, {ext[2]}}});
    b.ExtPitCode(f + 0x200, f + 0x1000);
    return b.File();
}

void FlashSeeds() {
    Put("fuzz_flash", "c55.fls",
        SmallFlash(0x8000, 0x1000000 - 0x8000, AddressFormat::Paged, "C55", 0x50));
    Put("fuzz_flash", "s45.fls", SmallFlash(0x8000, 0x800000, AddressFormat::Paged, "S45", 0x21));
    Put("fuzz_flash", "cf62.fls",
        SmallFlash(0x8000, 0x1000000 - 0x8000, AddressFormat::Linear, "CF62", 0x13));
    const QByteArray c55 =
        SmallFlash(0x8000, 0x1000000 - 0x8000, AddressFormat::Paged, "C55", 0x50);
    Put("fuzz_flash", "cut-in-tables.fls", c55.left(0x900));
    QByteArray unknown = c55;
    unknown[0x100 + 46] = 'x';  // no build information: the general settings
    Put("fuzz_flash", "unrecognised.fls", unknown);
    Put("fuzz_flash", "tiny.fls", QByteArray::fromHex("2E00002E"));
}

// A flag byte of 0 (the record is pointed at the stream), the record, the
// stream.
void PictureSeeds() {
    int n = 0;
    for (const SeedPicture& p : Pictures()) {
        QByteArray input(9, '\0');
        input[1] = static_cast<char>(p.record.width);
        input[2] = static_cast<char>(p.record.height);
        input[3] = static_cast<char>(p.record.type);
        Put("fuzz_picture", QStringLiteral("picture-%1").arg(n++), input + p.data);
    }
}

QByteArray Encoded(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) return {};
    return bytes;
}

void PictureFileSeeds() {
    QImage colour(12, 7, QImage::Format_ARGB32);
    for (int y = 0; y < colour.height(); ++y)
        for (int x = 0; x < colour.width(); ++x)
            colour.setPixel(x, y, qRgba(x * 21, y * 36, (x * y * 7) & 0xFF, 255 - x * 20));
    QImage mono(16, 16, QImage::Format_Mono);
    mono.fill(0);
    for (int i = 0; i < 16; ++i) mono.setPixel(i, i, 1);
    const QImage wide = colour.scaled(255, 3);
    const QImage tooWide = colour.scaled(256, 2);

    struct File {
        const char* name;
        QImage image;
        const char* format;
    };
    const File files[] = {
        {"colour.bmp", colour.convertToFormat(QImage::Format_RGB32), "bmp"},
        {"colour-alpha.png", colour, "png"},
        {"indexed.bmp", colour.convertToFormat(QImage::Format_Indexed8), "bmp"},
        {"mono.bmp", mono, "bmp"},
        {"mono.pbm", mono, "pbm"},
        {"grey.pgm", colour.convertToFormat(QImage::Format_Grayscale8), "pgm"},
        {"colour.ppm", colour, "ppm"},
        {"colour.xpm", colour.convertToFormat(QImage::Format_RGB32), "xpm"},
        {"wide.bmp", wide, "bmp"},
        {"too-wide.bmp", tooWide, "bmp"},
    };
    for (const File& f : files) {
        const QByteArray bytes = Encoded(f.image, f.format);
        if (bytes.isEmpty()) continue;
        Put("fuzz_picture_file", QLatin1String(f.name), QByteArray(1, '\0') + bytes);
        Put("fuzz_picture_file", QStringLiteral("mono-") + QLatin1String(f.name),
            QByteArray(1, '\1') + bytes);
    }
}

// The settings file as a first start leaves it, and after a model was met.
void SettingsSeeds() {
    const QString ini = fuzz::InputPath(QStringLiteral("seed.ini"));
    QFile::remove(ini);
    fuzz::SilentPrompt prompt;
    SettingsStore store(ini);
    Settings settings(store);
    if (!settings.LoadProgramSettings(prompt).ok() || !settings.LoadModelSettings().ok())
        fuzz::Fail("first start", __FILE__, __LINE__);
    auto read = [&] {
        QFile file(ini);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    Put("fuzz_settings", "first-start.ini", QByteArray(1, '\0') + read());
    settings.ModelAndVersion = QStringLiteral("C55v50");
    settings.Recent[0] = QStringLiteral("/home/user/c55.fls");
    settings.AuthorName = QStringLiteral("Автор");
    if (!settings.LoadModelSettings().ok() || !settings.SaveProgramSettings().ok())
        fuzz::Fail("model met", __FILE__, __LINE__);
    Put("fuzz_settings", "model-met.ini", QByteArray(1, '\1') + read());
    int n = 0;
    for (const char* text : {"0x800000", "$FFFFFFFB", "  -42", "x7fffffff", "+0"})
        Put("fuzz_settings", QStringLiteral("integer-%1").arg(n++), QByteArray(text));
    QFile::remove(ini);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_seeds OUTDIR\n");
        return 2;
    }
    fuzz::Init();
    g_out = QString::fromLocal8Bit(argv[1]);
    FlashSeeds();
    PictureSeeds();
    PictureFileSeeds();
    SettingsSeeds();
    return 0;
}
