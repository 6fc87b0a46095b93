#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "patch/patch_test_support.h"
#include "vkp/patch_apply.h"

namespace vorlix {
namespace {

using testing::TestSession;

// An image whose bytes at 0x812345.. (file offset 012345) are 0A 0B 0C 0D.
struct RunSession : TestSession {
    RunSession() { Open(FlashBuilder::C55().Bytes(0x812345, {0x0A, 0x0B, 0x0C, 0x0D}), false); }

    Status Run(std::initializer_list<std::pair<const char*, QByteArray>> files,
               PatchDirection direction = PatchDirection::Apply) {
        std::vector<PatchSource> sources;
        for (const auto& [name, text] : files)
            sources.push_back({QString::fromUtf8(name), ReadVkp(text)});
        // Shown as the window shows them: the warnings when they come, an
        // error (not a refused question) at the end.
        const Status status = ApplyPatchSources(
            sources, direction, image(), settings.FullFlash, prompt,
            [this](const QString& text) { prompt.Tell(kCaptionWarning, text); }, &counts);
        if (!status.ok() && status.code() != Status::Code::Cancelled)
            prompt.Error(status.message());
        return status;
    }
    std::string Work(std::int32_t pos = 0x812345, int n = 4) {
        return QByteArray(reinterpret_cast<const char*>(work() + pos), n)
            .toHex()
            .toUpper()
            .toStdString();
    }
    std::string Usage(std::int32_t pos = 0x812345, int n = 4) {
        // Shown as 00 for an occupied byte and FF for a free one.
        QByteArray bytes(reinterpret_cast<const char*>(image().Usage() + pos), n);
        for (char& b : bytes) b = b ? char(0x00) : char(0xFF);
        return bytes.toHex().toUpper().toStdString();
    }
    std::string Shown(std::size_t i) { return prompt.shown().at(i).text.toStdString(); }
    std::string Caption(std::size_t i) { return prompt.shown().at(i).caption.toStdString(); }

    ApplyCounts counts;
};

TEST(PatchRun, FilesApplyInOrderEachRelyingOnTheOnesBefore) {
    RunSession t;
    ASSERT_TRUE(
        t.Run({{"a.vkp", "012345: 0A0B 1112"}, {"b.vkp", "012345: 11 21\n012347: 0C0D 3132"}})
            .ok());
    EXPECT_TRUE(t.prompt.shown().empty());
    EXPECT_EQ(t.Work(), "21123132");
    EXPECT_EQ(t.Usage(0x812344, 6), "FF00000000FF");
    EXPECT_EQ(t.counts.entries, 3);
    EXPECT_EQ(t.counts.bytes, 5);
    EXPECT_TRUE(t.counts.checkedAll);
}

TEST(PatchRun, OldDataLongerThanNewIsComparedWhole) {
    RunSession t;
    ASSERT_TRUE(t.Run({{"a.vkp", "012345: 0A0B 0C"}}).ok());
    EXPECT_TRUE(t.prompt.shown().empty());
    EXPECT_EQ(t.Work(), "0C0B0C0D");
    EXPECT_EQ(t.Usage(), "00FFFFFF");

    RunSession mismatch;
    EXPECT_EQ(mismatch.Run({{"a.vkp", "012345: 0A0F 0C"}}).code(), Status::Code::Cancelled);
    EXPECT_EQ(mismatch.Shown(0), kMismatchQuestion.toStdString());
    EXPECT_EQ(mismatch.Work(), "0A0B0C0D");
}

TEST(PatchRun, NothingIsWrittenWhenAnyFileIsRefused) {
    const struct {
        QByteArray second;
        Answer answer;
        std::string box;
    } cases[] = {
        {"; b\n012347: 0C0 11", Answer::No,
         "«b.vkp», строка 2, столбец 9: нечётное число шестнадцатеричных цифр"},
        {"012347: 55 11", Answer::No,
         "«b.vkp», строка 1: Данные отката не совпадают. Применять патч?"},
        {"; only a comment", Answer::No, "«b.vkp»: нет данных патча"},
        {"{\\rtf1 012347: 0C 11}", Answer::No,
         "«b.vkp», строка 1, столбец 1: это документ RTF: сохраните его как обычный текст и "
         "откройте снова"},
        {"FFFFFF: 00 01", Answer::No,
         "«b.vkp», строка 1, столбец 1: данные выходят за пределы образа"},
        {"7FFFFF: 0A0B 0C", Answer::No,
         "«b.vkp», строка 1, столбец 1: данные выходят за пределы образа"},
        {"-10\n0: 0A 01", Answer::No,
         "«b.vkp», строка 2, столбец 1: адрес со смещением выходит за пределы 0…FFFFFFFF"},
    };
    for (const auto& c : cases) {
        RunSession t;
        t.prompt.Script({c.answer});
        EXPECT_FALSE(t.Run({{"a.vkp", "012345: 0A 01"}, {"b.vkp", c.second}}).ok()) << c.box;
        ASSERT_EQ(t.prompt.shown().size(), 1u) << c.box;
        EXPECT_EQ(t.Shown(0), c.box);
        EXPECT_EQ(t.Work(), "0A0B0C0D") << c.box;
        EXPECT_EQ(t.Usage(), "FFFFFFFF") << c.box;
    }
}

// The command itself shows nothing: a file the check refuses comes back as
// the status, unasked, and the warnings are handed over before the run's
// first question, so that the user reads them first.
TEST(PatchRun, TheCheckIsReturnedAndItsWarningsComeBeforeAnyQuestion) {
    struct Case {
        QByteArray text;
        std::vector<std::string> seen;  // "warning: …" handed over, "ask: …" asked
        Status::Code code;
    };
    const Case cases[] = {
        {"012345: 0A0 01", {}, Status::Code::InvalidArgument},
        {"012345: 0A 01\n012346: 55 02\n012347: 03",
         {"warning: строка 3, столбец 1: записи без данных отката (1) будут записаны без "
          "проверки; строки 3",
          "ask: Данные отката не совпадают. Применять патч?"},
         Status::Code::Cancelled},
    };
    for (const Case& c : cases) {
        RunSession t;
        std::vector<std::string> seen;
        struct Recording : Prompt {
            std::vector<std::string>* seen;
            Answer Ask(const QString&, const QString& text, Buttons) override {
                seen->push_back("ask: " + text.toStdString());
                return Answer::No;
            }
        } prompt;
        prompt.seen = &seen;
        const PatchSource source{QString(), ReadVkp(c.text)};
        const Status status = ApplyPatchSources(
            std::span(&source, 1), PatchDirection::Apply, t.image(), t.settings.FullFlash, prompt,
            [&](const QString& text) { seen.push_back("warning: " + text.toStdString()); });
        EXPECT_EQ(status.code(), c.code) << c.text.toStdString();
        EXPECT_FALSE(status.message().isEmpty());
        EXPECT_EQ(seen, c.seen) << c.text.toStdString();
        EXPECT_EQ(t.Work(), "0A0B0C0D");
    }
}

TEST(PatchRun, RecordsWithoutOldDataAreListedInOneWarning) {
    RunSession t;
    ASSERT_TRUE(
        t.Run({{"a.vkp", "012345: 01\n012346: 0B 02"}, {"b.vkp", "; x\n012347: 03\n012348: 04"}})
            .ok());
    ASSERT_EQ(t.prompt.shown().size(), 1u);
    EXPECT_EQ(t.Caption(0), "Предупреждение");
    EXPECT_EQ(t.Shown(0),
              "«a.vkp», строка 1, столбец 1: записи без данных отката (1) будут записаны без "
              "проверки; строки 1\n"
              "«b.vkp», строка 2, столбец 1: записи без данных отката (2) будут записаны без "
              "проверки; строки 2, 3");
    EXPECT_EQ(t.Work(0x812345, 4), "01020304");

    RunSession quiet;
    ASSERT_TRUE(quiet.Run({{"a.vkp", "#pragma disable warn_no_old_on_apply\n012345: 01"}}).ok());
    EXPECT_TRUE(quiet.prompt.shown().empty());
}

TEST(PatchRun, AFileAlreadyAppliedIsLeftUnlessConfirmed) {
    // Every record already holds its new bytes.
    const QByteArray applied = "012345: 5A 0A\n012346: 5B 0B";
    RunSession no;
    ASSERT_TRUE(no.Run({{"a.vkp", applied}, {"b.vkp", "012347: 0C 11"}}).ok());
    ASSERT_EQ(no.prompt.shown().size(), 1u);
    EXPECT_EQ(no.Caption(0), "Патч уже применён");
    EXPECT_EQ(no.Shown(0),
              "«a.vkp»: Все записи уже содержат новые данные: похоже, патч уже применён. "
              "Применить его ещё раз?");
    EXPECT_EQ(no.counts.skippedFiles, 1);
    EXPECT_EQ(no.Usage(), "FFFF00FF");

    RunSession yes;
    yes.prompt.Script({Answer::Yes});
    ASSERT_TRUE(yes.Run({{"a.vkp", applied}}).ok());
    EXPECT_EQ(yes.prompt.questions(), 1);  // no mismatch question after it
    EXPECT_EQ(yes.Usage(), "0000FFFF");
    EXPECT_FALSE(yes.counts.checkedAll);

    // Switched off, the mismatch question comes instead; a record whose old
    // and new bytes agree changes nothing and asks nothing.
    RunSession off;
    EXPECT_FALSE(
        off.Run({{"a.vkp", "#pragma disable warn_if_new_exist_on_apply\n" + applied}}).ok());
    EXPECT_EQ(off.Shown(0), kMismatchQuestion.toStdString());
    RunSession same;
    ASSERT_TRUE(same.Run({{"a.vkp", "012345: 0A0B 0A0B"}}).ok());
    EXPECT_TRUE(same.prompt.shown().empty());
}

TEST(PatchRun, UndoTakesFilesOutLastFirst) {
    RunSession t;
    const QByteArray a = "012345: 0A0B 1112\n#pragma disable undo\n012347: 0C 77";
    const QByteArray b = "012345: 11 21";
    ASSERT_TRUE(t.Run({{"a.vkp", a}, {"b.vkp", b}}).ok());
    EXPECT_EQ(t.Work(), "2112770D");
    ASSERT_TRUE(t.Run({{"a.vkp", a}, {"b.vkp", b}}, PatchDirection::Undo).ok());
    EXPECT_TRUE(t.prompt.shown().empty());
    // Records under "disable undo" stay; written bytes stay occupied.
    EXPECT_EQ(t.Work(), "0A0B770D");
    EXPECT_EQ(t.Usage(), "000000FF");
    EXPECT_EQ(t.counts.entries, 2);

    // Undone already: asked, and left on No.
    ASSERT_TRUE(t.Run({{"a.vkp", a}}, PatchDirection::Undo).ok());
    EXPECT_EQ(t.Caption(0), "Патч уже откачен");
    EXPECT_EQ(t.counts.skippedFiles, 1);

    // Old data longer than new: only what apply wrote is put back.
    RunSession longer;
    longer.work()[0x812345] = 0x0C;
    ASSERT_TRUE(longer.Run({{"a.vkp", "012345: 0A55 0C"}}, PatchDirection::Undo).ok());
    EXPECT_EQ(longer.Work(), "0A0B0C0D");
}

TEST(PatchRun, UndoRefusesRecordsWithoutOldDataAndAsksOnMismatch) {
    RunSession t;
    EXPECT_FALSE(t.Run({{"a.vkp", "012345: 0A 01\n012346: 02"}}, PatchDirection::Undo).ok());
    EXPECT_EQ(
        t.Shown(0),
        "«a.vkp», строка 2, столбец 1: у записи нет данных отката: откатить этот файл нельзя");

    RunSession ff;  // old_equal_ff gives the old data; disabled undo needs none
    ff.work()[0x812345] = 0x01;
    ASSERT_TRUE(
        ff.Run({{"a.vkp",
                 "#pragma enable old_equal_ff\n012345: 01\n#pragma disable undo\n012346: 02"}},
               PatchDirection::Undo)
            .ok());
    EXPECT_EQ(ff.Work(), "FF0B0C0D");

    RunSession mismatch;
    EXPECT_EQ(mismatch.Run({{"a.vkp", "012345: 55 01"}}, PatchDirection::Undo).code(),
              Status::Code::Cancelled);
    EXPECT_EQ(mismatch.Shown(0), "«a.vkp», строка 1: Данные патча не совпадают. Откатывать патч?");
    EXPECT_EQ(mismatch.Work(), "0A0B0C0D");
}

}  // namespace
}  // namespace vorlix
