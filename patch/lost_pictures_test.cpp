#include "patch/lost_pictures.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QRegularExpression>
#include <cstring>
#include <set>

#include "image/record_scan.h"
#include "patch/batch_replace.h"
#include "patch/patch_test_support.h"
#include "patch/replacement_size.h"
#include "picture/picture.h"

namespace vorlix {
namespace {

QString WriteImage(testing::TestSession& t, const QString& name, int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString file = t.dir.filePath(name);
    EXPECT_TRUE(image.save(file, "BMP"));
    return file;
}

// The file offsets ("PIT" texts) of the records a search finds in the
// working image.
std::set<QString> FoundInWorkImage(testing::TestSession& t) {
    std::set<QString> found;
    SearchCallbacks callbacks;
    callbacks.found = [&](std::int32_t pos, const PitRecord&, int, int) {
        found.insert(Hex6(pos - t.settings.FullFlash));
    };
    RunPictureSearch(t.image().WorkBytes(),
                     PlanSearch(t.image().WorkBytes(), t.settings, t.settings.SearchType),
                     callbacks);
    return found;
}

std::set<QString> PitTexts(testing::TestSession& t, const std::vector<int>& rows) {
    std::set<QString> texts;
    for (const int row : rows) texts.insert(t.session->Rows[row][ColPIT]);
    return texts;
}

// The sample lists the PIT's records in rows 0 to 6 (660010 to 660040), an
// ExtPIT run of two slots in rows 7 and 8 (670000, 670010) and one of one
// slot in row 9 (670100). A record the record test refuses ends its ExtPIT
// run, so a picture too large takes the slots after it along; the PIT walk
// steps over it. The trial names what a search of the replaced image
// misses, and leaves session and image as they were.
TEST(LostPictures, TrialNamesWhatTheSearchNoLongerFinds) {
    const struct {
        const char* what;
        bool scanRecords;
        std::vector<const char*> files;  // PIT, width, height
        std::vector<int> lost;
    } cases[] = {
        {"too large in the PIT, by tables", false, {"660038:120x90"}, {5}},
        {"too large, first slot of a run", false, {"670000:120x90"}, {7, 8}},
        {"too large, last slot of a run", false, {"670010:102x2"}, {8}},
        {"another size within the largest", false, {"670000:5x5"}, {}},
        {"a batch", false, {"660018:5x5", "670000:120x90"}, {7, 8}},
        // By records a refused record throws the scan out of step, which
        // then misses the records that follow for a while.
        {"too large, by records", true, {"660038:120x90"}, {5, 6, 8}},
    };
    for (const auto& c : cases) {
        testing::TestSession t;
        t.Open(FlashBuilder::SampleC55());
        ASSERT_EQ(t.session->Rows.size(), 10u);
        t.settings.SearchType = c.scanRecords;
        QStringList files;
        for (const char* spec : c.files) {
            const QStringList parts = QString::fromLatin1(spec).split(QRegularExpression("[:x]"));
            files << WriteImage(t, "PIT_" + parts[0] + ".bmp", parts[1].toInt(), parts[2].toInt());
        }
        const std::vector<std::uint8_t> work(t.work(), t.work() + kImageSize);
        const std::vector<ListRow> rows = t.session->Rows;
        const std::set<QString> found = FoundInWorkImage(t);

        const std::vector<int> lost =
            files.size() == 1
                ? RowsLostByReplacing(*t.session, MatchBatchFiles(*t.session, files)[0], files[0])
                : RowsLostByBatch(*t.session, files);
        EXPECT_EQ(lost, c.lost) << c.what;
        EXPECT_TRUE(std::memcmp(t.work(), work.data(), kImageSize) == 0) << c.what;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            EXPECT_EQ(t.session->Rows[r].texts, rows[r].texts) << c.what << " row " << r;
            EXPECT_FALSE(t.session->PictureOfRow(int(r))->Modified) << c.what;
        }

        // Made for real, the replacement loses just those.
        BatchResult result;
        ASSERT_TRUE(BatchReplace(*t.session, files, result).ok());
        ASSERT_EQ(result.replaced, int(files.size())) << c.what;
        const std::set<QString> after = FoundInWorkImage(t);
        std::set<QString> missing;
        for (const QString& pit : found)
            if (!after.contains(pit)) missing.insert(pit);
        EXPECT_EQ(missing, PitTexts(t, lost)) << c.what;
    }
}

// The questions name the pictures as the list shows them.
TEST(LostPictures, QuestionsNameTheLostPictures) {
    testing::TestSession t;
    t.Open(FlashBuilder::SampleC55());
    const QString small = WriteImage(t, "PIT_660018.bmp", 5, 5);
    const QString big = WriteImage(t, "PIT_670000.bmp", 120, 90);
    const std::vector<SizeWarning> sizes = BatchSizeQuestions(*t.session, {small, big});
    ASSERT_EQ(sizes.size(), 2u);
    const QString lost = LostByBatchText(*t.session, sizes, {small, big});
    EXPECT_EQ(lost,
              "После применения патча программа не найдёт в прошивке эти картинки, строк в "
              "списке станет меньше на 2: №8 (PIT 670000), №9 (PIT 670010).");
    EXPECT_TRUE(BatchSizeQuestion(sizes, lost).contains("№9 (PIT 670010)"));
    EXPECT_EQ(LostByBatchText(*t.session, {sizes[0]}, {small}), "");
    EXPECT_TRUE(SingleSizeQuestion(sizes[1], LostByReplacingText(*t.session, sizes[1], 7, big))
                    .contains("№8 (PIT 670000), №9 (PIT 670010)"));
}

}  // namespace
}  // namespace vorlix
