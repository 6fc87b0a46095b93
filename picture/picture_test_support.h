#pragma once

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <initializer_list>
#include <memory>

#include "common/prompt.h"
#include "image/flash_image.h"
#include "picture/picture.h"
#include "settings/settings.h"

namespace vorlix::testing {

// One set of image arrays for the whole test program (they are 48 MiB);
// every test starts from an erased image and an empty usage map.
inline FlashImage& SharedImage() {
    static FlashImage* image = new FlashImage;
    return *image;
}

class PictureTest : public ::testing::Test {
  protected:
    static constexpr std::int32_t kFullFlash = 0x800000;

    void SetUp() override {
        image.ClearBase();
        image.ResetWorkingCopy();
        settings.FullFlash = kFullFlash;
        settings.PlaceAdrMin = 0x5E2000;
        settings.PlaceAdrMax = 0x600000;
        settings.ModelAndVersion = QStringLiteral("C55v52");
    }

    // Writes a record into the base image.
    void PutRecord(std::int32_t pos, int w, int h, std::uint8_t type, std::int32_t dataPos) {
        PitRecord r{static_cast<std::uint8_t>(w), static_cast<std::uint8_t>(h), type, 0};
        SetDataPos(r.data(), dataPos, FormatFor(settings.ModelAndVersion));
        Picture::WriteRecord(r, {image.BaseImage(), static_cast<std::size_t>(image.Size())}, pos);
    }
    void PutBytes(std::int32_t pos, std::initializer_list<int> bytes) {
        for (int b : bytes) image.BaseImage()[pos++] = static_cast<std::uint8_t>(b);
    }
    // The working image becomes the base image and the usage map is freed,
    // as when a FullFlash has just been read.
    void Loaded() { image.ResetWorkingCopy(); }

    // Record at `recordPos` pointing at `dataPos`, with the data bytes; built
    // and decoded.
    std::unique_ptr<Picture> Make(std::int32_t recordPos, int w, int h, std::uint8_t type,
                                  std::int32_t dataPos, std::initializer_list<int> data = {}) {
        PutRecord(recordPos, w, h, type, dataPos);
        PutBytes(dataPos, data);
        Loaded();
        return std::make_unique<Picture>(image, recordPos, settings);
    }

    FlashImage& image = SharedImage();
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("vorlix.ini"))};
    ScriptedPrompt prompt;
    Settings settings{store};
};

inline QRgb Pixel(const QImage& img, int x, int y) { return img.pixel(x, y) | 0xFF000000u; }

}  // namespace vorlix::testing
