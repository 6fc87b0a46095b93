// Undo and redo against doing the edits directly: random sequences of
// replacements, depth changes, reverts and batch loads, stepped back and
// forth on Qt's undo stack, leave the session exactly as a fresh one that
// makes only the edits still in effect.
#include <gtest/gtest.h>

#include <QUndoStack>
#include <cstring>
#include <random>

#include "patch/batch_replace.h"
#include "patch/patch_generator.h"
#include "patch/patch_test_support.h"
#include "picture/picture.h"
#include "session/edit_command.h"
#include "session/picture_revert.h"

namespace vorlix {
namespace {

constexpr int kPictures = 8;

// Eight pictures of every kind, two of them sharing their data, with gaps
// to grow into; a small placement area across a page boundary fills up, so
// that some edits find no place.
struct Session : testing::TestSession {
    Session() {
        settings.PlaceAdrMin = 0x5E3F00;
        settings.PlaceAdrMax = 0x5E4100;
        const std::int32_t d = 0xD00000;
        FlashBuilder b = FlashBuilder::C55();
        b.Pit(c55::kSpitAdr, 0xE60010,
              {{4, 4, 0x01, d},
               {6, 3, 0x05, d + 0x10},
               {4, 4, 0x08, d + 0x30},
               {8, 2, 0x81, d + 0x58},
               {5, 1, 0x88, d + 0x60},
               {3, 3, 0x08, d + 0x70},
               {3, 3, 0x08, d + 0x70},
               {2, 2, 0x07, d + 0x90}});
        b.Random(d, 0x58, 1).Bytes(d + 0x58, {0xC8, 0x88}).Bytes(d + 0x60, {0x05, 0x00, 0xE0});
        b.Random(d + 0x70, 0x68, 2).ExtPit(c55::kExtPitAdr, {});
        flash = b;
        Open(flash);
    }
    FlashBuilder flash = FlashBuilder::C55();
};

QImage RandomImage(std::mt19937& random) {
    std::uniform_int_distribution<int> side(1, 12), colour(0, 255);
    QImage image(side(random), side(random), QImage::Format_RGB32);
    const bool plain = random() % 2;
    const QRgb fill = qRgb(colour(random), colour(random), colour(random));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, plain ? fill : qRgb(colour(random), colour(random), x * y));
    return image;
}

// One edit as the window makes it, and the rows it may change.
struct Edit {
    enum Kind { Replace, Depth, Revert, Batch } kind = Replace;
    std::vector<int> rows;
    QImage image;
    std::uint8_t type = 0;
    QStringList files;

    void Make(Session& s) const {
        FlashSession& session = *s.session;
        Picture* p = session.PictureOfRow(rows.empty() ? -1 : rows.front());
        BatchResult result;
        switch (kind) {
            case Replace:
                ASSERT_TRUE(p->LoadImage(image, &session.Pictures,
                                         session.settings().KeepDepthAndCompression)
                                .status.ok());
                session.WriteRowAfterReplace(rows.front());
                break;
            case Depth: {
                const std::uint8_t before = p->Record[2];
                p->Record[2] = type;
                if (p->Replace(&session.Pictures) == Placement::NoPlace) p->Record[2] = before;
                session.WriteRowAfterReplace(rows.front());
                break;
            }
            case Revert:
                RevertPictures(session, rows);
                break;
            case Batch:
                ASSERT_TRUE(BatchReplace(session, files, result).ok());
                break;
        }
    }
};

void ExpectSame(Session& a, Session& b) {
    ASSERT_EQ(std::memcmp(a.work(), b.work(), kImageSize), 0);
    ASSERT_EQ(std::memcmp(a.image().Usage(), b.image().Usage(), kImageSize), 0);
    for (int row = 0; row < kPictures; ++row) {
        ASSERT_EQ(a.session->Rows[row].texts, b.session->Rows[row].texts) << row;
        const Picture &p = *a.session->PictureOfRow(row), &q = *b.session->PictureOfRow(row);
        ASSERT_EQ(p.Record, q.Record) << row;
        ASSERT_EQ(p.Modified, q.Modified) << row;
        ASSERT_EQ(p.NewData, q.NewData) << row;
        ASSERT_EQ(p.DecodedBitmap, q.DecodedBitmap) << row;
        ASSERT_EQ(p.SourceBitmap, q.SourceBitmap) << row;
    }
    QStringList patchA, patchB;
    GeneratePatch(*a.session, patchA);
    GeneratePatch(*b.session, patchB);
    ASSERT_EQ(patchA, patchB);
}

class UndoSequence : public ::testing::TestWithParam<unsigned> {};

TEST_P(UndoSequence, EqualsTheEditsInEffectMadeDirectly) {
    std::mt19937 random(GetParam());
    Session s, replay;
    s.settings.KeepDepthAndCompression = replay.settings.KeepDepthAndCompression =
        GetParam() % 2 == 1;
    QStringList files;  // two files for each picture, and one for none
    for (int i = 0; i <= 2 * kPictures; ++i) {
        const QString pit = i < 2 * kPictures ? s.session->Rows[i / 2][ColPIT] : "ABCDEF";
        files << s.dir.filePath(QStringLiteral("PIT_%1 %2.bmp").arg(pit).arg(i));
        ASSERT_TRUE(RandomImage(random).save(files.back(), "BMP"));
    }

    QUndoStack stack;
    EditRecorder recorder;
    std::vector<Edit> done;  // the edit of each command on the stack
    std::uniform_int_distribution<int> action(0, 99), row(0, kPictures - 1);
    const std::uint8_t types[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x81, 0x85, 0x87, 0x88};
    int pushed = 0;
    for (int step = 1; step <= 300; ++step) {
        const int a = action(random);
        if (a < 20) {
            stack.undo();
        } else if (a < 30) {
            stack.redo();
        } else {
            Edit e;
            e.rows = {row(random)};
            if (a < 55) {
                e.image = RandomImage(random);
            } else if (a < 70) {
                e.kind = Edit::Depth;
                e.type = types[random() % std::size(types)];
            } else if (a < 86) {
                e.kind = Edit::Revert;
                e.rows = a < 82 ? std::vector<int>{row(random), row(random)} : AllRows(*s.session);
            } else {
                e.kind = Edit::Batch;
                std::shuffle(files.begin(), files.end(), random);
                e.files = files.mid(0, 1 + int(random() % 4));
                e.rows.clear();
                for (const int r : MatchBatchFiles(*s.session, e.files)) e.rows.push_back(r);
            }
            recorder.Begin(*s.session, e.rows);
            e.Make(s);
            PictureEdit edit = recorder.End(*s.session);
            if (!edit.Empty()) {
                done.resize(static_cast<std::size_t>(stack.index()));
                done.push_back(e);
                stack.push(new PictureEditCommand(*s.session, std::move(edit), QString()));
                ++pushed;
            }
        }
        if (step % 25 == 0) {
            SCOPED_TRACE(step);
            replay.Open(replay.flash);
            for (int i = 0; i < stack.index(); ++i) done[static_cast<std::size_t>(i)].Make(replay);
            ExpectSame(s, replay);
            if (HasFatalFailure()) return;
        }
    }
    EXPECT_GT(pushed, 100);  // the sequence did what it is meant to test
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoSequence, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace vorlix
