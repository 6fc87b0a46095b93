#include <QFile>
#include <QtEndian>
#include <cstring>

#include "picture/color_tables.h"
#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

constexpr std::int32_t kRec = 0xE60010;
constexpr std::int32_t kData = 0xA00000;

class BmpFileTest : public PictureTest {
  protected:
    QString Path(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void Write(const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    QByteArray Read(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
};

// A 4-bit top-down BMP of 3 x 2 pixels: red green blue / blue blue red.
QByteArray FourBitTopDown() {
    QByteArray b(14 + 40 + 16 * 4 + 2 * 4, '\0');
    auto put16 = [&](int at, int v) { qToLittleEndian<quint16>(quint16(v), b.data() + at); };
    auto put32 = [&](int at, qint32 v) { qToLittleEndian<qint32>(v, b.data() + at); };
    b[0] = 'B';
    b[1] = 'M';
    put32(2, b.size());
    put32(10, 14 + 40 + 64);
    put32(14, 40);
    put32(18, 3);
    put32(22, -2);  // negative height: rows top to bottom
    put16(26, 1);
    put16(28, 4);
    put32(46, 16);
    const int pal = 54;
    b[pal + 2] = char(255);      // 0: red (stored B, G, R, 0)
    b[pal + 4 + 1] = char(255);  // 1: green
    b[pal + 8] = char(255);      // 2: blue
    const int px = pal + 64;
    b[px] = 0x01;
    b[px + 1] = 0x20;
    b[px + 4] = 0x22;
    b[px + 5] = 0x00;
    return b;
}

TEST_F(BmpFileTest, LoadsEveryKindOfFile) {
    QImage mono(9, 3, QImage::Format_Mono);
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0);
    mono.setPixel(8, 2, 1);
    ASSERT_TRUE(mono.save(Path("mono.bmp"), "BMP"));
    QImage rgb(7, 2, QImage::Format_RGB888);
    rgb.fill(qRgb(0, 255, 0));
    ASSERT_TRUE(rgb.save(Path("rgb.bmp"), "BMP"));
    QImage alpha(2, 2, QImage::Format_ARGB32);
    alpha.fill(qRgba(0, 0, 0, 0));  // transparent shows white
    ASSERT_TRUE(alpha.save(Path("alpha.png"), "PNG"));
    Write(Path("four.bmp"), FourBitTopDown());

    struct Case {
        const char* file;
        QSize size;
        QPoint at;
        QRgb colour;
    };
    for (const Case& c : {Case{"mono.bmp", {9, 3}, {8, 2}, qRgb(0, 0, 0)},
                          Case{"rgb.bmp", {7, 2}, {6, 1}, qRgb(0, 255, 0)},
                          Case{"alpha.png", {2, 2}, {1, 1}, qRgb(255, 255, 255)},
                          Case{"four.bmp", {3, 2}, {2, 1}, qRgb(255, 0, 0)}}) {
        auto p = Make(kRec, 2, 2, 0x05, kData, {1, 2, 3, 4});
        const Replacement r = p->LoadBmp(Path(c.file));
        ASSERT_TRUE(r.status.ok()) << c.file << ": " << r.status.ToString().toStdString();
        EXPECT_EQ(r.placement, Placement::Placed) << c.file;
        EXPECT_EQ(p->SourceBitmap.size(), c.size) << c.file;
        EXPECT_EQ(Pixel(p->SourceBitmap, c.at.x(), c.at.y()), c.colour) << c.file;
        EXPECT_EQ(p->Width(), c.size.width());
        EXPECT_EQ(p->Height(), c.size.height());
        EXPECT_EQ(p->Type(), 0x88);
        EXPECT_EQ(p->Depth, 16);
        const QRgb reduced = Colors16[ColorTo16(qRed(c.colour), qGreen(c.colour), qBlue(c.colour))];
        EXPECT_EQ(Pixel(p->DecodedBitmap, c.at.x(), c.at.y()), reduced) << c.file;
    }

    // A monochrome picture stays monochrome, uncompressed.
    auto m = Make(kRec, 8, 1, 0x81, kData, {0xC8});
    ASSERT_TRUE(m->LoadBmp(Path("mono.bmp")).status.ok());
    EXPECT_EQ(m->Type(), 0x01);
    EXPECT_EQ(m->Length, 6);
}

TEST_F(BmpFileTest, BadFilesChangeNothing) {
    QImage wide(256, 1, QImage::Format_RGB888);
    wide.fill(Qt::black);
    ASSERT_TRUE(wide.save(Path("wide.bmp"), "BMP"));
    QImage tall(3, 300, QImage::Format_RGB888);
    tall.fill(Qt::black);
    ASSERT_TRUE(tall.save(Path("tall.png"), "PNG"));
    const QByteArray good = FourBitTopDown();
    Write(Path("truncated.bmp"), good.left(60));
    Write(Path("garbage.bmp"), QByteArray("this is not a picture at all"));
    Write(Path("empty.bmp"), QByteArray());
    QByteArray zero = good;
    qToLittleEndian<qint32>(0, zero.data() + 18);  // width 0
    Write(Path("zero.bmp"), zero);

    auto p = Make(kRec, 2, 2, 0x05, kData, {1, 2, 3, 4});
    const PitRecord record = p->Record;
    const qint64 sourceKey = p->SourceBitmap.cacheKey();
    for (const char* name : {"wide.bmp", "tall.png", "truncated.bmp", "garbage.bmp", "empty.bmp",
                             "zero.bmp", "missing.bmp"}) {
        const Replacement r = p->LoadBmp(Path(name));
        EXPECT_FALSE(r.status.ok()) << name;
        EXPECT_FALSE(r.status.message().isEmpty()) << name;
        EXPECT_FALSE(r.placed()) << name;
        EXPECT_EQ(p->Record, record) << name;
        EXPECT_EQ(p->SourceBitmap.cacheKey(), sourceKey) << name;
        EXPECT_FALSE(p->Modified);
        EXPECT_EQ(image.MutableWorkImage()[kData], 1);
    }
    const Status tooWide = p->LoadBmp(Path("wide.bmp")).status;
    EXPECT_EQ(tooWide.code(), Status::Code::InvalidArgument);
    EXPECT_TRUE(tooWide.message().contains(QStringLiteral("255")));
}

TEST_F(BmpFileTest, AFileWithoutRoomLeavesThePictureAsItWas) {
    // A 2 x 2 picture of 4 bytes; the file needs more, the bytes after the
    // data are taken and the placement area is full: no place.
    auto p = Make(kRec, 2, 2, 0x05, kData, {1, 2, 3, 4});
    std::memset(image.MutableWorkImage() + 0xDE2000, 0x00, 0xE00000 - 0xDE2000);
    std::memset(image.MutableWorkImage() + kData + 4, 0x00, 64);  // no room to grow in place
    QImage big(20, 10, QImage::Format_RGB888);
    big.fill(Qt::red);
    ASSERT_TRUE(big.save(Path("big.bmp"), "BMP"));
    const PitRecord record = p->Record;
    const qint64 sourceKey = p->SourceBitmap.cacheKey();
    const Replacement r = p->LoadBmp(Path("big.bmp"));
    ASSERT_TRUE(r.status.ok());
    EXPECT_EQ(r.placement, Placement::NoPlace);
    EXPECT_EQ(p->Record, record);
    EXPECT_EQ(p->SourceBitmap.cacheKey(), sourceKey);
    EXPECT_EQ(p->Length, 4);
    EXPECT_EQ(image.MutableWorkImage()[kData], 1);
}

TEST_F(BmpFileTest, SavesTheDecodedColoursIn24Bits) {
    auto p = Make(kRec, 3, 1, 0x08, kData, {0x00, 0xE0, 0x9E, 0xF7, 0x1F, 0x00});
    ASSERT_TRUE(p->SaveBmp(Path("out.bmp")).ok());
    const QByteArray bytes = Read(Path("out.bmp"));
    ASSERT_GT(bytes.size(), 30);
    EXPECT_EQ(qFromLittleEndian<quint16>(bytes.constData() + 28), 24);
    const QImage back(Path("out.bmp"));
    ASSERT_EQ(back.size(), QSize(3, 1));
    EXPECT_EQ(Pixel(back, 0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(Pixel(back, 1, 0), qRgb(247, 247, 247));
    EXPECT_EQ(Pixel(back, 2, 0), qRgb(0, 0, 255));

    const Status s = p->SaveBmp(Path("no/such/folder/out.bmp"));
    EXPECT_EQ(s.code(), Status::Code::IoError);
    EXPECT_FALSE(s.message().isEmpty());
}

}  // namespace
}  // namespace vorlix::testing
