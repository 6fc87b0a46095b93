#include "vkp/patch_apply.h"

#include <gtest/gtest.h>

#include <QFile>
#include <cstring>
#include <random>

#include "patch/apply_files.h"
#include "patch/patch_generator.h"
#include "patch/patch_test_support.h"
#include "picture/picture.h"
#include "vkp/patch_file.h"

namespace vorlix {
namespace {

using testing::TestSession;

// An image whose bytes at 0x812345.. are 0A 0B 0C 0D 0E 0F.
struct ApplySession : TestSession {
    ApplySession() {
        Open(FlashBuilder::C55().Bytes(0x812345, {0x0A, 0x0B, 0x0C, 0x0D, 0x0E, 0x0F}), false);
    }
    Status Apply(const QByteArray& text) {
        // Shown as the window shows them: the warnings when they come, an
        // error (not a refused question) at the end.
        const Status status = ApplyPatchText(
            image(), settings.FullFlash, text, prompt,
            [this](const QString& warning) { prompt.Tell(kCaptionWarning, warning); });
        if (!status.ok() && status.code() != Status::Code::Cancelled)
            prompt.Error(status.message());
        return status;
    }
    // True when neither the working image nor the usage map differs from a
    // freshly opened image.
    bool Untouched() {
        for (std::int32_t i = 0x812300; i < 0x812400; ++i) {
            if (work()[i] != base()[i] || image().Usage()[i] != 0x00) return false;
        }
        return true;
    }
};

TEST(PatchApply, WritesNewBytesAndMarksThemOccupied) {
    ApplySession t;
    ASSERT_TRUE(
        t.Apply("; comment\r\n\r\n  012345: 0A0B 0C0D  \r\n012347:0c0d 1112 ignored\n").ok());
    EXPECT_EQ(t.prompt.shown().size(), 0u);
    EXPECT_EQ(t.work()[0x812345], 0x0C);
    EXPECT_EQ(t.work()[0x812346], 0x0D);
    EXPECT_EQ(t.work()[0x812347], 0x11);  // lower-case old bytes read as upper-case
    EXPECT_EQ(t.work()[0x812348], 0x12);
    EXPECT_NE(t.image().Usage()[0x812345], 0x00);
    EXPECT_EQ(t.image().Usage()[0x812349], 0x00);
    EXPECT_EQ(t.base()[0x812345], 0x0A);
}

TEST(PatchApply, SingleFieldWritesItsBytesWithoutCheck) {
    ApplySession t;
    ASSERT_TRUE(t.Apply("012345: 7778\n").ok());
    EXPECT_EQ(t.prompt.questions(), 0);
    EXPECT_EQ(t.work()[0x812345], 0x77);
    EXPECT_EQ(t.work()[0x812346], 0x78);
}

TEST(PatchApply, RefusedLinesApplyNothing) {
    const struct {
        const char* line;
        QString message;
    } cases[] = {
        {"012345: 0A 0C0D", "строка 2, столбец 9: " + kUnequalLengthsMessage},
        {"012345: 0A0 0C0", "строка 2, столбец 9: нечётное число шестнадцатеричных цифр"},
        {"012345: 0A0B0 ", "строка 2, столбец 9: нечётное число шестнадцатеричных цифр"},
        {"0x0x012345: 0A 0C", "строка 2, столбец 4: после адреса ожидается двоеточие"},
        {"012345 : 0A 0C", "строка 2, столбец 7: после адреса ожидается двоеточие"},
        {"012345 0A 0C", "строка 2, столбец 7: после адреса ожидается двоеточие"},
        {"012345: 0G 0C", "строка 2, столбец 10: недопустимый символ «G» в данных"},
        {"012345: 0A0B 0Я0", "строка 2, столбец 15: недопустимый символ «Я» в данных"},
        {"7FFFFF: 0A0B 0C0D", "строка 2, столбец 1: данные выходят за пределы образа"},
        {"FFFFFFFF: 0A 0B", "строка 2, столбец 1: данные выходят за пределы образа"},
    };
    for (const auto& c : cases) {
        ApplySession t;
        // The first line is good: it must not be applied either.
        const Status status = t.Apply(QByteArray("012345: 0A0B 0C0D\n") + c.line + "\n");
        EXPECT_FALSE(status.ok()) << c.line;
        ASSERT_EQ(t.prompt.shown().size(), 1u) << c.line;
        EXPECT_EQ(t.prompt.shown()[0].caption, kCaptionError);
        EXPECT_EQ(t.prompt.shown()[0].text, c.message) << c.line;
        EXPECT_TRUE(t.Untouched()) << c.line;
    }
}

TEST(PatchApply, MismatchAnsweredYesStopsCheckingAndNoAppliesNothing) {
    const QByteArray patch = "012345: 0A 01\n012346: 0B 02\n012347: 55 03\n012348: 66 04\n";
    ApplySession yes;
    yes.prompt.Script({Answer::Yes});
    ASSERT_TRUE(yes.Apply(patch).ok());
    EXPECT_EQ(yes.prompt.questions(), 1);  // the fourth line is not compared
    EXPECT_EQ(yes.prompt.shown()[0].text, kMismatchQuestion);
    EXPECT_EQ(yes.prompt.shown()[0].caption, kCaptionError);
    EXPECT_EQ(yes.work()[0x812348], 0x04);

    ApplySession no;
    no.prompt.Script({Answer::No});
    EXPECT_EQ(no.Apply(patch).code(), Status::Code::Cancelled);
    EXPECT_TRUE(no.Untouched());
}

TEST(PatchApply, GeneratedPatchReproducesTheWorkingImage) {
    TestSession source;
    source.Open(FlashBuilder::SampleC55());
    // Change two pictures' data and one record through the working image.
    for (int row : {1, 4}) {
        Picture* p = source.session->PictureOfRow(row);
        source.work()[p->DataPos()] ^= 0x5A;
        source.MarkModified(row);
    }
    source.work()[source.session->PictureOfRow(4)->RecordPos + 1] = 2;
    source.settings.AuthorName = QStringLiteral("Пётр");
    QStringList lines;
    GeneratePatch(*source.session, lines);

    ApplySession target;
    target.Open(FlashBuilder::SampleC55(), false);
    ASSERT_TRUE(target.Apply(EncodePatchText(lines)).ok());
    EXPECT_EQ(target.prompt.questions(), 0);
    EXPECT_EQ(std::memcmp(target.work(), source.work(), kImageSize), 0);
}

TEST(PatchApply, GarbageAndHugeLinesEndWithAShortError) {
    ApplySession t;
    QByteArray garbage(64 * 1024, 0);
    std::mt19937 random(7);
    for (char& c : garbage) c = static_cast<char>(random());
    EXPECT_FALSE(t.Apply(garbage).ok());
    EXPECT_TRUE(t.Untouched());

    t.prompt.Clear();
    const QByteArray huge = QByteArray(2 * 1024 * 1024, 'A') + ": 00 01\n";
    EXPECT_FALSE(t.Apply(huge).ok());
    ASSERT_EQ(t.prompt.shown().size(), 1u);
    EXPECT_LT(t.prompt.shown()[0].text.size(), 120);

    // Cyrillic comments in Windows-1251 and in UTF-8 are skipped alike.
    EXPECT_TRUE(
        t.Apply(QByteArray(";\xC0\xE2\xF2\xEE\xF0\r;") + QByteArray(";Автор") + "\r012345: 0A 0B")
            .ok());
    EXPECT_EQ(t.work()[0x812345], 0x0B);
}

TEST(PatchApply, UnreadableFileIsReported) {
    ApplySession t;
    const Status status = ApplyPatchFile(*t.session, t.dir.filePath("missing.vkp"), t.prompt, {});
    EXPECT_EQ(status.code(), Status::Code::IoError);
    EXPECT_TRUE(status.message().contains(QStringLiteral("missing.vkp")))
        << status.message().toStdString();
    // The caller shows it: nothing has been.
    EXPECT_TRUE(t.prompt.shown().empty());
}

}  // namespace
}  // namespace vorlix
