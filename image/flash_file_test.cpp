#include "image/flash_file.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstring>

#include "settings/settings.h"

namespace vorlix {
namespace {

class FlashFileTest : public ::testing::Test {
  protected:
    // 20 MiB whose every byte tells its offset: byte i is (i >> 16) ^ i.
    static const QByteArray& Pattern() {
        static const QByteArray bytes = [] {
            QByteArray b(20 << 20, Qt::Uninitialized);
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
    // image[at, at + length) holds the file from its start.
    bool Holds(std::int64_t at, std::int64_t length) const {
        return std::memcmp(image_.BaseImage() + at, Pattern().constData(), length) == 0;
    }
    bool Erased(std::int64_t at, std::int64_t length) const {
        static const QByteArray erased(kImageSize, char(0xFF));
        return std::memcmp(image_.BaseImage() + at, erased.constData(), length) == 0;
    }

    QTemporaryDir dir_;
    QFile file_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings s_{store_, prompt_};
    FlashImage image_;
};

TEST_F(FlashFileTest, FirstReadAndReadBySettings) {
    ASSERT_TRUE(ReadForIdentification(File(20 << 20), image_).ok());  // cut to 16 MiB
    EXPECT_TRUE(Holds(0, kImageSize));
    ASSERT_TRUE(ReadForIdentification(File(0), image_).ok());
    EXPECT_TRUE(Erased(0, kImageSize));

    s_.FullFlash = 0x800000;
    ASSERT_TRUE(PlaceBySettings(File(12 << 20), image_, s_).ok());  // what fits
    EXPECT_TRUE(Erased(0, 0x800000) && Holds(0x800000, 0x800000));
    s_.FullFlash = 0xFFFFFF;
    ASSERT_TRUE(PlaceBySettings(file_, image_, s_).ok());
    EXPECT_TRUE(Erased(0, kImageSize - 1) && Holds(kImageSize - 1, 1));

    // A FullFlash outside the image is refused and the image left alone.
    for (const std::int32_t bad : {-1, kImageSize, INT32_MIN}) {
        s_.FullFlash = bad;
        const Status s = PlaceBySettings(file_, image_, s_);
        EXPECT_EQ(s.code(), Status::Code::InvalidArgument);
        EXPECT_TRUE(s.message().contains(Hex6(bad)));
        EXPECT_TRUE(Holds(kImageSize - 1, 1));
    }
}

TEST_F(FlashFileTest, ReadWithoutSettings) {
    s_.ModelAndVersion = "C55v50";
    ASSERT_TRUE(PlaceWithoutSettings(File(0x300000), image_, s_).ok());
    EXPECT_EQ(s_.FullFlash, 0xD00000);
    EXPECT_EQ(s_.PITAdrMin + s_.PictureAdrMin + s_.PlaceAdrMin, 0);
    EXPECT_EQ(s_.PITAdrMax & s_.PictureAdrMax & s_.PlaceAdrMax, 0x300000);
    EXPECT_TRUE(Erased(0, 0xD00000) && Holds(0xD00000, 0x300000));

    // S45 and ME45 get a second copy at 0x800000; a dump bigger than 2 MiB
    // lies there whole, as every later open by the stored FullFlash lays it.
    for (const std::int64_t size : {0x200000, 0x400000}) {
        s_.ModelAndVersion = size == 0x200000 ? "S45v21" : "ME45v10";
        ASSERT_TRUE(PlaceWithoutSettings(File(size), image_, s_).ok());
        EXPECT_EQ(s_.FullFlash, 0x800000);
        EXPECT_EQ(s_.PITAdrMax, size);
        EXPECT_TRUE(Holds(0x800000, size) && Holds(kImageSize - size, size));
    }
    EXPECT_TRUE(Erased(0, 0x800000));
    s_.ModelAndVersion = "s45v21";  // case-sensitive
    ASSERT_TRUE(PlaceWithoutSettings(File(0x200000), image_, s_).ok());
    EXPECT_EQ(s_.FullFlash, 0xE00000);
}

}  // namespace
}  // namespace vorlix
