#include "session/editing_state.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <cstring>
#include <random>

#include "builder/flash_builder.h"
#include "picture/color_tables.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"

namespace vorlix {
namespace {

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;

// Six uncompressed pictures of their own data, 16- and 1-bit.
constexpr RecordSpec kRecords[] = {{4, 4, 0x08, kData},        {8, 6, 0x08, kData + 0x20},
                                   {8, 8, 0x01, kData + 0x80}, {6, 3, 0x08, kData + 0x90},
                                   {2, 2, 0x08, kData + 0xC0}, {16, 2, 0x01, kData + 0xC8}};
constexpr int kRows = int(std::size(kRecords));

void List(FlashSession& session) {
    session.ClearPictures();
    for (int i = 0; i < kRows; ++i) {
        PitRecord r;
        Picture::ReadRecord(r, session.image().BaseBytes(), kPit + 8 * i);
        session.AddFoundPicture(kPit + 8 * i, r, i + 1);
    }
}

QImage Drawn(int w, int h, int colour, bool noisy) {
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            image.setPixel(
                x, y, noisy ? qRgb(x * 23 + colour, y * 29, colour * 7) : qRgb(colour, 0, 255));
    return image;
}

// The regions that make a picture, as the model shows it.
bool SameAsShown(const FlashSession& session, int row, const std::uint8_t* applied) {
    const Picture& p = *session.PictureOfRow(row);
    const std::uint8_t* work = session.image().WorkImage();
    if (std::memcmp(applied + p.RecordPos, work + p.RecordPos, sizeof(PitRecord)) != 0)
        return false;
    return p.Length == 0 || std::memcmp(applied + p.DataPos(), work + p.DataPos(), p.Length) == 0;
}

bool Writes(const VkpFile& file, std::int32_t fullFlash, std::int64_t pos, std::int64_t length) {
    return std::any_of(file.records.begin(), file.records.end(), [&](const VkpRecord& r) {
        const std::int64_t at = std::int64_t{fullFlash} + r.address;
        return at < pos + length && pos < at + r.newCount;
    });
}

class EditingStateTest : public ::testing::Test {
  protected:
    EditingStateTest() {
        BuildColorTables();
        c55::SetC55ModelValues(settings_);
        settings_.ModelAndVersion = QStringLiteral("C55v50");
        FlashBuilder b = FlashBuilder::C55();
        b.Pit(c55::kSpitAdr, kPit, {std::begin(kRecords), std::end(kRecords)});
        b.Random(kData, 0x100, 1).LoadInto(state_.session().image());
        state_.session().FilePath = QStringLiteral("a.fls");
        List(state_.session());
    }

    FlashSession& session() { return state_.session(); }

    // Applies a saved file to the base image with the apply command's own
    // code; false when it does not apply.
    bool Apply(const QString& path) {
        std::vector<PatchSource> sources(1);
        sources[0].name = path;
        if (!ReadVkpFile(path, sources[0].file).ok()) return false;
        std::memcpy(applied_.BaseImage(), session().image().BaseImage(), kImageSize);
        applied_.ResetWorkingCopy();
        ScriptedPrompt no(Answer::No);
        return RunPatches(sources, PatchDirection::Apply, applied_, settings_.FullFlash, no).ok();
    }

    // The rows whose picture the file writes, and whether each comes out
    // as the model shows it; false when the file does not apply.
    bool Covered(const QString& path, std::vector<int>& rows, std::vector<int>& differing) {
        if (!Apply(path)) return false;
        VkpFile file;
        (void)ReadVkpFile(path, file);
        for (int row = 0; row < kRows; ++row) {
            const Picture& p = *session().PictureOfRow(row);
            if (!Writes(file, settings_.FullFlash, p.RecordPos, sizeof(PitRecord)) &&
                !Writes(file, settings_.FullFlash, p.DataPos(), p.Length))
                continue;
            rows.push_back(row);
            if (!SameAsShown(session(), row, applied_.WorkImage())) differing.push_back(row);
        }
        return true;
    }

    // Modified pictures that no file saved since the open gives as shown.
    int InNoSavedFile() {
        std::vector<bool> held(kRows, false);
        for (const QString& path : saved_) {
            if (!Apply(path)) continue;
            for (int row = 0; row < kRows; ++row)
                held[row] = held[row] || SameAsShown(session(), row, applied_.WorkImage());
        }
        int count = 0;
        for (int row = 0; row < kRows; ++row)
            count += session().PictureOfRow(row)->Modified && !held[row];
        return count;
    }

    QString NextFile() { return dir_.filePath(QStringLiteral("p%1.vkp").arg(files_++)); }

    QTemporaryDir dir_;
    ScriptedPrompt prompt_;
    SettingsStore store_{dir_.filePath("settings.ini")};
    Settings settings_{store_};
    EditingState state_{settings_};
    FlashImage applied_;
    QStringList saved_;  // files saved since the open
    QByteArray lastWritten_;
    int files_ = 0;
};

TEST_F(EditingStateTest, RandomEditsNeverSaveAPatchThatIsNotWhatTheWindowShows) {
    // Replace, undo, redo, revert, generate, a hand edit of the pane, save,
    // and close with its question, in random order; the same seeds each
    // run. After every save the file, applied to the base, gives exactly
    // the shown pictures it covers; the check refused exactly the texts
    // that do not; every question before losing work names at least the
    // modified pictures no saved file holds.
    const int sequences = qEnvironmentVariableIntValue("VORLIX_EDIT_SEQUENCES") > 0
                              ? qEnvironmentVariableIntValue("VORLIX_EDIT_SEQUENCES")
                              : 1000;
    constexpr int kSteps = 10;
    int saves = 0, refused = 0, questions = 0;
    for (int seed = 1; seed <= sequences; ++seed) {
        std::mt19937 random(seed);
        const auto pick = [&](int n) { return int(random() % unsigned(n)); };
        for (int step = 0; step < kSteps; ++step) {
            SCOPED_TRACE(testing::Message() << "seed " << seed << " step " << step);
            ScriptedPrompt ask(Answer::No);
            switch (pick(9)) {
                case 0:
                case 1: {
                    const QImage image = Drawn(2 + pick(9), 2 + pick(7), pick(256), pick(2));
                    ASSERT_TRUE(state_.ReplacePicture(pick(kRows), {}, &image).status.ok());
                    break;
                }
                case 2:
                    state_.undoStack().undo();
                    break;
                case 3:
                    state_.undoStack().redo();
                    break;
                case 4: {
                    std::vector<int> rows;
                    for (int row = 0; row < kRows; ++row)
                        if (pick(2)) rows.push_back(row);
                    state_.Revert(rows);
                    break;
                }
                case 5: {
                    std::vector<bool> selected(kRows);
                    for (int row = 0; row < kRows; ++row) selected[row] = pick(2);
                    const bool typed = state_.PatchTyped() && !state_.PatchSaved();
                    const QString before = state_.PatchText();
                    ask.Script({pick(2) ? Answer::Yes : Answer::No});
                    const auto generated = state_.Generate(pick(2) ? &selected : nullptr, ask);
                    // Typed text goes only after a Yes.
                    if (typed && generated == EditingState::Generated::Patch) {
                        ASSERT_EQ(ask.questions(), 1);
                    }
                    if (generated == EditingState::Generated::KeptTyped) {
                        ASSERT_EQ(state_.PatchText(), before);
                    }
                    break;
                }
                case 6: {
                    // A hand edit: a comment, a line dropped, or the text twice.
                    QStringList lines = state_.PatchLines();
                    switch (pick(3)) {
                        case 0:
                            lines << QStringLiteral("; my note");
                            break;
                        case 1:
                            if (!lines.isEmpty()) lines.removeAt(pick(int(lines.size())));
                            break;
                        default:
                            lines += state_.PatchLines();
                    }
                    state_.SetTypedText(lines.join(QLatin1Char('\n')));
                    break;
                }
                case 7: {
                    if (state_.PatchText().isEmpty()) break;
                    const QString path = NextFile();
                    ask.Script({Answer::No});  // a text that does not fit is not saved
                    const Status result = state_.SavePatch(path, ask);
                    // A refused text is the user's answer, never a failure.
                    ASSERT_TRUE(result.ok() || result.code() == Status::Code::Cancelled)
                        << result.ToString().toStdString();
                    std::vector<int> covered, differing;
                    QFile::remove(path + QStringLiteral(".check"));
                    QFile check(path + QStringLiteral(".check"));
                    ASSERT_TRUE(check.open(QIODevice::WriteOnly));
                    check.write(EncodePatchText(state_.PatchLines()));
                    check.close();
                    const bool applies =
                        Covered(path + QStringLiteral(".check"), covered, differing);
                    VkpFile read;
                    (void)ReadVkpFile(path + QStringLiteral(".check"), read);
                    // Comments alone write nothing: they are saved unchecked.
                    const bool fits =
                        (read.ok() && read.records.empty()) || (applies && differing.empty());
                    ASSERT_EQ(result.ok(), fits) << state_.PatchText().toStdString();
                    if (fits) {
                        saved_ << path;
                        ++saves;
                    } else {
                        ++refused;
                    }
                    break;
                }
                case 8: {
                    // Close and open again, after the question.
                    const int lost = InNoSavedFile();
                    const bool paneUnsaved = !state_.PatchText().isEmpty() &&
                                             EncodePatchText(state_.PatchLines()) != lastWritten_;
                    const int named = state_.WhatWouldBeLost().pictures;
                    const Answer answer = pick(2) ? Answer::Yes : Answer::No;
                    ask.Script({answer, Answer::No});
                    QString savedTo;
                    const bool goOn = state_
                                          .ConfirmLoss(ask, QStringLiteral("close"),
                                                       [&] {
                                                           savedTo = NextFile();
                                                           return savedTo;
                                                       })
                                          .ok();
                    if (lost > 0 || paneUnsaved) {
                        ASSERT_GE(ask.questions(), 1);
                        ++questions;
                        const QString text = ask.shown().front().text;
                        if (lost > 0) {
                            ASSERT_GE(named, lost);
                            ASSERT_TRUE(text.startsWith(
                                EditingState::LossText({named, false}).section('\n', 0, 0)))
                                << text.toStdString();
                        }
                        if (paneUnsaved) {
                            ASSERT_TRUE(text.contains(QStringLiteral("Текст патча не сохранён")));
                        }
                    }
                    if (ask.questions() > 0 && answer == Answer::Yes) {
                        // Save first saved every picture as it is now, unless
                        // the pane's own text did not pass the check and the
                        // user kept it: then nothing is closed.
                        if (!goOn) {
                            ASSERT_EQ(ask.questions(), 2);
                            ASSERT_EQ(lost, 0);
                            break;
                        }
                        saved_ << savedTo;
                        ASSERT_EQ(InNoSavedFile(), 0)
                            << lost << " " << named << " " << savedTo.toStdString() << "\n"
                            << state_.PatchText().toStdString();
                    }
                    if (ask.questions() == 0) {
                        ASSERT_TRUE(goOn);
                    }
                    state_.PicturesListedAnew();
                    session().image().ResetWorkingCopy();
                    List(session());
                    saved_.clear();
                    // Nothing changed since the open: nothing to ask.
                    ask.Clear();
                    if (state_.PatchSaved()) {
                        ASSERT_FALSE(state_.WhatWouldBeLost().any());
                        ASSERT_TRUE(state_.ConfirmLoss(ask, QStringLiteral("refresh"), {}).ok());
                        ASSERT_EQ(ask.questions(), 0);
                    }
                    break;
                }
            }
            if (state_.PatchSaved() && !state_.PatchText().isEmpty())
                lastWritten_ = EncodePatchText(state_.PatchLines());
        }
        // The next sequence starts from the firmware as opened.
        state_.PicturesListedAnew();
        session().image().ResetWorkingCopy();
        List(session());
        state_.ClearPatch();
        saved_.clear();
        lastWritten_.clear();
    }
    // The sequences met every outcome.
    EXPECT_GT(saves, 0);
    EXPECT_GT(refused, 0);
    EXPECT_GT(questions, 0);
}

TEST_F(EditingStateTest, GeneratingTwiceReplacesThePatchAndTypedTextIsKept) {
    const QImage image = Drawn(4, 4, 9, true);
    ASSERT_TRUE(state_.ReplacePicture(0, {}, &image).placed());
    ASSERT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    const QString once = state_.PatchText();
    ASSERT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    EXPECT_EQ(state_.PatchText(), once);
    EXPECT_EQ(prompt_.questions(), 0);
    // The pane's own text: No keeps it, Yes replaces it.
    state_.SetTypedText(once + QStringLiteral("\n; mine"));
    prompt_.Script({Answer::No, Answer::Yes});
    EXPECT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::KeptTyped);
    // Yes: the patch of the pictures takes its place.
    EXPECT_TRUE(state_.PatchText().endsWith(QStringLiteral("; mine")));
    EXPECT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    EXPECT_EQ(state_.PatchText(), once);

    // The text twice does not apply: the save names the line and stops.
    state_.SetTypedText(once + QLatin1Char('\n') + once);
    prompt_.Clear();
    prompt_.Script({Answer::No, Answer::Yes});
    EXPECT_EQ(state_.SavePatch(NextFile(), prompt_).code(), Status::Code::Cancelled);
    ASSERT_EQ(prompt_.questions(), 1);
    const QStringList onceLines = once.split(QLatin1Char('\n'));
    int firstRecord = 1;
    while (onceLines[firstRecord - 1].startsWith(QLatin1Char(';'))) ++firstRecord;
    const int secondRecord = int(onceLines.size()) + firstRecord;
    EXPECT_TRUE(prompt_.shown()[0].text.contains(QStringLiteral("строка %1: ").arg(secondRecord)))
        << prompt_.shown()[0].text.toStdString();

    // An undo after generation: the pane's patch no longer gives the
    // picture the window shows.
    ASSERT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    state_.undoStack().undo();
    const PatchVerdict verdict = CheckPatchText(session(), EncodePatchText(state_.PatchLines()));
    ASSERT_EQ(verdict.mismatches.size(), 1u);
    EXPECT_EQ(verdict.mismatches[0].pit, session().Rows[0][ColPIT]);
    EXPECT_EQ(PatchMismatchText(verdict.mismatches),
              QStringLiteral("строка %2: картинка %1: после патча картинка не та, что в окне")
                  .arg(session().Rows[0][ColPIT])
                  .arg(firstRecord));
}

TEST_F(EditingStateTest, TheQuestionNamesWhatWouldBeLost) {
    EXPECT_FALSE(state_.WhatWouldBeLost().any());
    const QImage image = Drawn(4, 4, 9, true);
    ASSERT_TRUE(state_.ReplacePicture(0, {}, &image).status.ok());
    ASSERT_TRUE(state_.ReplacePicture(1, {}, &image).status.ok());
    EXPECT_EQ(EditingState::LossText(state_.WhatWouldBeLost()),
              QStringLiteral("Изменённых картинок, которых нет ни в одном сохранённом патче: 2.\n"
                             "Сохранить патч перед этим? «Да» — сохранить, «Нет» — продолжить "
                             "без сохранения, «Отмена» — вернуться."));
    // Only the first picture in a saved patch; the pane then holds it.
    std::vector<bool> first{true, false};
    ASSERT_EQ(state_.Generate(&first, prompt_), EditingState::Generated::Patch);
    ASSERT_TRUE(state_.SavePatch(NextFile(), prompt_).ok());
    EXPECT_EQ(state_.WhatWouldBeLost().pictures, 1);
    EXPECT_FALSE(state_.WhatWouldBeLost().patch);
    // Cancel stays; Save first saves both pictures as they are now.
    prompt_.Script({Answer::Cancel, Answer::Yes});
    EXPECT_EQ(state_.ConfirmLoss(prompt_, QStringLiteral("x"), [&] { return NextFile(); }).code(),
              Status::Code::Cancelled);
    const QString path = dir_.filePath(QStringLiteral("p%1.vkp").arg(files_));
    EXPECT_TRUE(state_.ConfirmLoss(prompt_, QStringLiteral("x"), [&] { return NextFile(); }).ok());
    EXPECT_FALSE(state_.WhatWouldBeLost().any());
    std::vector<int> covered, differing;
    ASSERT_TRUE(Covered(path, covered, differing));
    EXPECT_EQ(covered, (std::vector<int>{0, 1}));
    EXPECT_TRUE(differing.empty());
}

// A save that cannot write comes back for the caller to show, whether the
// user saved or answered the question before a loss; the state shows
// nothing but its questions and keeps the work unsaved.
TEST_F(EditingStateTest, AFailedSaveComesBackUnshown) {
    const QImage image = Drawn(4, 4, 9, true);
    ASSERT_TRUE(state_.ReplacePicture(0, {}, &image).status.ok());
    ASSERT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    const QString nowhere = dir_.filePath(QStringLiteral("no/such/folder/p.vkp"));
    prompt_.Clear();
    const Status save = state_.SavePatch(nowhere, prompt_);
    EXPECT_EQ(save.code(), Status::Code::IoError);
    EXPECT_TRUE(save.message().contains(QStringLiteral("p.vkp"))) << save.message().toStdString();
    EXPECT_TRUE(prompt_.shown().empty());
    EXPECT_FALSE(state_.PatchSaved());

    prompt_.Script({Answer::Yes});
    const Status loss = state_.ConfirmLoss(prompt_, QStringLiteral("x"), [&] { return nowhere; });
    EXPECT_EQ(loss.code(), Status::Code::IoError);
    EXPECT_EQ(loss.message(), save.message());
    ASSERT_EQ(prompt_.shown().size(), 1u);
    EXPECT_EQ(prompt_.questions(), 1);
    EXPECT_TRUE(state_.WhatWouldBeLost().any());
}

// A patch file opened into the pane (a .vkp started from the file manager):
// its text as a person reads it, whatever its line ends and code page,
// saved where it stands, so that a generation replaces it unasked (the file
// keeps it) with a text not yet saved; a file that cannot be read leaves
// the pane as it was.
TEST_F(EditingStateTest, APatchFileOpensAsTheSavedDocument) {
    struct Case {
        const char* name;
        QByteArray bytes;
        QString text;
    };
    const Case cases[] = {
        {"cp1251.vkp", QByteArray("; \xCF\xE0\xF2\xF7\r\n000100: FF 00\r\n"),
         QStringLiteral("; Патч\n000100: FF 00\n")},
        {"utf8.vkp", QByteArray("\xEF\xBB\xBF; \xD0\x9F\xD0\xB0\xD1\x82\xD1\x87\n000100: FF 00"),
         QStringLiteral("; Патч\n000100: FF 00")},
        {"cr.vkp", QByteArray("; a\r000100: FF 00\r"), QStringLiteral("; a\n000100: FF 00\n")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dir_.filePath(QString::fromLatin1(c.name));
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size());
        file.close();
        ASSERT_TRUE(state_.OpenPatchDocument(path).ok());
        EXPECT_EQ(state_.PatchText(), c.text);
        EXPECT_TRUE(state_.PatchSaved());
        EXPECT_EQ(state_.PatchPath(), path);
        EXPECT_EQ(state_.PatchLines().size(), 2);
    }

    const QImage image = Drawn(4, 4, 9, true);
    ASSERT_TRUE(state_.ReplacePicture(0, {}, &image).placed());
    prompt_.Clear();
    EXPECT_EQ(state_.Generate(nullptr, prompt_), EditingState::Generated::Patch);
    EXPECT_EQ(prompt_.questions(), 0);
    EXPECT_FALSE(state_.PatchSaved());

    const QString before = state_.PatchText();
    EXPECT_FALSE(state_.OpenPatchDocument(dir_.filePath(QStringLiteral("missing.vkp"))).ok());
    EXPECT_EQ(state_.PatchText(), before);
}

}  // namespace
}  // namespace vorlix
