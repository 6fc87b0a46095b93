#include "image/flash_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "settings/settings.h"

namespace vorlix {
namespace {

class FlashFileTest : public ::testing::Test {
  protected:
    // 34 MiB whose every byte tells its offset: byte i is (i >> 16) ^ i.
    static const QByteArray& Pattern() {
        static const QByteArray bytes = [] {
            QByteArray b(34 << 20, Qt::Uninitialized);
            for (std::int64_t i = 0; i < b.size(); ++i)
                b.data()[i] = static_cast<char>((i >> 16) ^ i);
            return b;
        }();
        return bytes;
    }
    // An open file of the pattern's first `size` bytes.
    QFile& File(std::int64_t size) {
        file_.close();
        file_.setFileName(dir_.filePath(QString::number(size)));
        EXPECT_TRUE(file_.open(QIODevice::WriteOnly));
        file_.write(Pattern().constData(), size);
        file_.close();
        EXPECT_TRUE(file_.open(QIODevice::ReadOnly));
        return file_;
    }
    // The first read of the pattern's first `size` bytes; the placements
    // start from it.
    std::int64_t Read(std::int64_t size) {
        std::int64_t length = -1;
        EXPECT_TRUE(ReadForIdentification(File(size), image_, length).ok());
        return length;
    }
    // image[at, at + length) holds the file from its start.
    bool Holds(std::int64_t at, std::int64_t length) const {
        return std::memcmp(image_.Bytes().data() + at, Pattern().constData(), length) == 0;
    }
    bool Erased(std::int64_t at, std::int64_t length) const {
        static const QByteArray erased(kMaxImageSize, char(0xFF));
        return std::memcmp(image_.Bytes().data() + at, erased.constData(), length) == 0;
    }

    QTemporaryDir dir_;
    QFile file_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings s_{store_};
    StagedImage image_;
};

TEST_F(FlashFileTest, FirstReadAndReadBySettings) {
    EXPECT_EQ(Read(34 << 20), kMaxImageSize);  // cut to the largest image
    EXPECT_EQ(image_.Size(), kMaxImageSize);
    EXPECT_TRUE(Holds(0, kMaxImageSize));
    EXPECT_EQ(Read(0x300001), 0x300001);  // erased behind what the file covers
    EXPECT_EQ(image_.Size(), kImageSize);
    EXPECT_TRUE(Holds(0, 0x300001) && Erased(0x300001, kImageSize - 0x300001));
    EXPECT_EQ(Read(0), 0);
    EXPECT_TRUE(Erased(0, kImageSize));

    // Each placement starts from a first read that filled the image; the
    // image grows past the 24-bit space as far as the file reaches.
    struct Case {
        std::int64_t size;
        std::int32_t fullFlash;
        std::int64_t placed;
        std::int64_t imageSize;
    };
    for (const Case c :
         {Case{12 << 20, 0x800000, 12 << 20, 20 << 20},
          Case{12 << 20, 0xFFFFFF, 12 << 20, 0xFFFFFF + (12 << 20)},
          Case{0x300001, 0x200000, 0x300001, kImageSize},
          Case{0x300001, 0x600000, 0x300001, kImageSize}, Case{0x300001, 0, 0x300001, kImageSize},
          Case{20 << 20, 0x100, 20 << 20, (20 << 20) + 0x100},
          Case{4 << 20, 0x1C00000, 4 << 20, kMaxImageSize},
          Case{34 << 20, 0x400000, kMaxImageSize - 0x400000, kMaxImageSize}}) {
        ASSERT_EQ(Read(34 << 20), kMaxImageSize);
        const std::int64_t length = Read(c.size);
        s_.FullFlash = c.fullFlash;
        ASSERT_TRUE(PlaceBySettings(image_, length, s_).ok());
        const std::int64_t end = c.fullFlash + c.placed;
        EXPECT_EQ(image_.Size(), c.imageSize) << c.size << " at " << c.fullFlash;
        EXPECT_TRUE(Erased(0, c.fullFlash) && Holds(c.fullFlash, c.placed) &&
                    Erased(end, c.imageSize - end))
            << c.size << " at " << c.fullFlash;
    }

    // A FullFlash outside the largest image is refused and the image left
    // alone.
    const std::int64_t length = Read(12 << 20);
    for (const std::int32_t bad : {-1, kMaxImageSize, INT32_MIN}) {
        s_.FullFlash = bad;
        const Status s = PlaceBySettings(image_, length, s_);
        EXPECT_EQ(s.code(), Status::Code::InvalidArgument);
        EXPECT_TRUE(s.message().contains(Hex6(bad)));
        EXPECT_TRUE(Holds(0, 12 << 20) && Erased(12 << 20, 4 << 20));
        EXPECT_EQ(image_.Size(), kImageSize);
    }
    // An empty file has nothing to place, wherever FullFlash points.
    EXPECT_TRUE(PlaceBySettings(image_, Read(0), s_).ok());
    EXPECT_TRUE(Erased(0, kImageSize));
}

TEST_F(FlashFileTest, ReadWithoutSettings) {
    s_.ModelAndVersion = "C55v50";
    PlaceWithoutSettings(image_, Read(0x300000), s_);
    EXPECT_EQ(s_.FullFlash, 0xD00000);
    EXPECT_EQ(s_.PITAdrMin + s_.PictureAdrMin + s_.PlaceAdrMin, 0);
    EXPECT_EQ(s_.PITAdrMax & s_.PictureAdrMax & s_.PlaceAdrMax, 0x300000);
    EXPECT_TRUE(Erased(0, 0xD00000) && Holds(0xD00000, 0x300000));

    // S45 and ME45 get a second copy at 0x800000; a dump bigger than 2 MiB
    // lies there whole, as every later open by the stored FullFlash lays it.
    for (const std::int64_t size : {0x200000, 0x400000}) {
        s_.ModelAndVersion = size == 0x200000 ? "S45v21" : "ME45v10";
        PlaceWithoutSettings(image_, Read(size), s_);
        EXPECT_EQ(s_.FullFlash, 0x800000);
        EXPECT_EQ(s_.PITAdrMax, size);
        EXPECT_TRUE(Holds(0x800000, size) && Holds(kImageSize - size, size));
        EXPECT_TRUE(Erased(0, kImageSize - std::max<std::int64_t>(size, 0x800000)));
        if (size == 0x200000) {
            EXPECT_TRUE(Erased(0xA00000, 0x400000));
        }
    }
    // A dump over 8 MiB: the second copy covers the first one's tail, and
    // what lies before 0x800000 is the first copy's head.
    PlaceWithoutSettings(image_, Read(0xA00000), s_);
    EXPECT_EQ(s_.FullFlash, 0x800000);
    EXPECT_TRUE(Erased(0, 0x600000) && Holds(0x600000, 0x200000) && Holds(0x800000, 0x800000));
    s_.ModelAndVersion = "s45v21";  // case-sensitive
    PlaceWithoutSettings(image_, Read(0x200000), s_);
    EXPECT_EQ(s_.FullFlash, 0xE00000);
    EXPECT_TRUE(Erased(0, 0xE00000) && Holds(0xE00000, 0x200000));

    // A dump longer than the 24-bit space starts the image, which spans it.
    s_.ModelAndVersion = "C60v10";
    PlaceWithoutSettings(image_, Read(20 << 20), s_);
    EXPECT_EQ(s_.FullFlash, 0);
    EXPECT_EQ(s_.PlaceAdrMax, 20 << 20);
    EXPECT_EQ(image_.Size(), 20 << 20);
    EXPECT_TRUE(Holds(0, 20 << 20));
}

}  // namespace
}  // namespace vorlix
