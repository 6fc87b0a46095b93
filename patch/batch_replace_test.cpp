#include "patch/batch_replace.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <cstring>

#include "patch/patch_test_support.h"
#include "picture/picture.h"

namespace vorlix {
namespace {

using testing::TestSession;

TEST(BatchReplace, FileNameKeys) {
    EXPECT_EQ(BatchFileKey("PIT_01A2B3.bmp"), "01A2B3");
    EXPECT_EQ(BatchFileKey("/home/u/pit_01a2b3.BMP"), "01A2B3");
    EXPECT_EQ(BatchFileKey("C:\\pics\\Pit_01A2B3 edited.bmp"), "01A2B3");
    EXPECT_EQ(BatchFileKey("PIT_01A2B3"), "01A2B3");
    for (const char* name : {"PIT_12.bmp", "PIT_0G0000.bmp", "PIT_01A2B", "xPIT_01A2B3.bmp",
                             "PIT-01A2B3.bmp", "PIT_ 01A2B3.bmp", "PIT_01A2B3/x.bmp",
                             "C:\\PIT_01A2B3\\x.bmp"}) {
        EXPECT_FALSE(BatchFileKey(QString::fromUtf8(name))) << name;
    }
    // Letters that upper-case to Latin ones elsewhere do not pass for them.
    EXPECT_FALSE(BatchFileKey(QString::fromUtf8("pıt_01A2B3.bmp")));
    EXPECT_FALSE(BatchFileKey(QString::fromUtf8("PIT_０1A2B3.bmp")));
    EXPECT_EQ(BatchClosingText(3, 5), "Удачно заменено 3 картинок из 5 выбранных");
}

struct BatchSession : TestSession {
    BatchSession() { Open(FlashBuilder::SampleC55()); }
    QString Bmp(const QString& name, int w, int h, QColor color = Qt::black) {
        QImage image(w, h, QImage::Format_RGB32);
        image.fill(color);
        const QString path = dir.filePath(name);
        image.save(path, "BMP");
        return path;
    }
};

TEST(BatchReplace, ReplacesTheFirstMatchingRowOfEachFile) {
    BatchSession t;
    ASSERT_EQ(t.session->Rows[0][ColPIT], "660010");
    const QStringList files = {t.Bmp("PIT_660010.bmp", 4, 4),  // 1-bit stays 1-bit
                               t.Bmp("pit_660018.BMP", 3, 2, Qt::red),
                               t.Bmp("PIT_660020 edited.bmp", 5, 3, Qt::blue),
                               t.Bmp("PIT_12.bmp", 2, 2), t.Bmp("PIT_AAAAAA.bmp", 2, 2)};
    BatchResult result;
    int maximum = -1;
    ASSERT_TRUE(BatchReplace(*t.session, files, result, {[&](int m) { maximum = m; }, {}}).ok());
    EXPECT_EQ(maximum, 5);
    EXPECT_EQ(result.chosen, 5);
    EXPECT_EQ(result.replaced, 3);
    EXPECT_EQ(result.lastRow, 2);
    EXPECT_EQ(result.last, t.session->PictureOfRow(2));

    const auto& rows = t.session->Rows;
    EXPECT_EQ(rows[0][ColCompressed], "");
    EXPECT_EQ(rows[0][ColDepth], "1");
    EXPECT_EQ(rows[1][ColCompressed], "yes");
    EXPECT_EQ(rows[1][ColDepth], "16");
    EXPECT_EQ(rows[2][ColX], "5");
    EXPECT_EQ(rows[2][ColY], "3");
    for (int r : {0, 1, 2}) EXPECT_EQ(rows[r][ColModified], "yes");
    EXPECT_EQ(rows[3][ColModified], "");
    EXPECT_EQ(t.prompt.shown().size(), 0u);
}

TEST(BatchReplace, UnreadableFileEndsTheCommandKeepingEarlierOnes) {
    BatchSession t;
    const QString bad = t.dir.filePath("PIT_660020.bmp");
    QFile file(bad);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not really a bitmap");
    file.close();
    BatchResult result;
    const Status status = BatchReplace(
        *t.session, {t.Bmp("PIT_660018.bmp", 3, 2), bad, t.Bmp("PIT_660028.bmp", 2, 2)}, result);
    EXPECT_FALSE(status.ok());
    EXPECT_FALSE(status.message().isEmpty());
    // The error is the caller's to show.
    EXPECT_EQ(t.prompt.shown().size(), 0u);
    EXPECT_EQ(t.session->Rows[1][ColModified], "yes");
    EXPECT_EQ(t.session->Rows[2][ColModified], "");
    EXPECT_EQ(t.session->Rows[3][ColModified], "");
}

TEST(BatchReplace, RowsWithoutPicturesAreSkipped) {
    BatchSession t;
    t.session->Pictures.clear();
    BatchResult result;
    ASSERT_TRUE(BatchReplace(*t.session, {t.Bmp("PIT_660018.bmp", 3, 2)}, result).ok());
    EXPECT_EQ(result.replaced, 0);
    EXPECT_EQ(result.lastRow, -1);
}

// What became of every file: replaced, passed over on the caller's word,
// matching no picture, without a place, or unreadable (which ends it).
TEST(BatchReplace, ReportNamesTheFilesNotReplaced) {
    BatchSession t;
    // Nothing is free where the 8-bit picture's larger data could go.
    std::memset(t.work() + t.settings.FullFlash + t.settings.PlaceAdrMin, 0,
                t.settings.PlaceAdrMax - t.settings.PlaceAdrMin);
    const Picture& eightBit = *t.session->PictureOfRow(1);
    std::memset(t.work() + eightBit.DataPos() + eightBit.Length, 0, 256);
    QStringList files = {t.Bmp("PIT_660010.bmp", 4, 4), t.Bmp("PIT_660018.bmp", 30, 20),
                         t.Bmp("PIT_660020.bmp", 2, 1), t.Bmp("PIT_660028.bmp", 8, 2),
                         t.Bmp("PIT_ABCDEF.bmp", 2, 2), t.Bmp("notes.bmp", 2, 2)};
    t.settings.KeepDepthAndCompression = true;  // the 16-bit picture stays uncompressed
    BatchResult result;
    ASSERT_TRUE(BatchReplace(*t.session, files, result, {}, {files[3]}).ok());
    EXPECT_EQ(t.session->PictureOfRow(2)->Type(), 0x08);
    EXPECT_EQ(BatchReportText(result),
              "Удачно заменено 2 картинок из 6 выбранных; нет такой картинки: PIT_ABCDEF.bmp, "
              "notes.bmp; пропущены: PIT_660028.bmp; не хватило места: PIT_660018.bmp; размер "
              "изменён: 1");
    EXPECT_EQ(t.session->Rows[3][ColModified], "");

    files.insert(2, t.dir.filePath("PIT_660030.bmp"));  // no such file
    EXPECT_TRUE(BatchReplace(*t.session, files, result)
                    .message()
                    .endsWith("\nДо этого файла заменено картинок: 1. Не обработано файлов, "
                              "включая этот: 5 из 7."));
}

}  // namespace
}  // namespace vorlix
