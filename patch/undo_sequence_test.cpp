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
#include "session/picture_edit.h"
#include "session/picture_revert.h"

namespace vorlix {
namespace {

using testing::TestSession;

constexpr std::int32_t kPit = 0xE60010;
constexpr std::int32_t kData = 0xD00000;
constexpr int kPictures = 8;

// Eight pictures of every kind, two of them sharing their data, with gaps
// to grow into; a small placement area across a page boundary fills up, so
// that some edits find no place.
FlashBuilder Flash() {
    FlashBuilder b = FlashBuilder::C55();
    const std::int32_t d = kData;
    b.Pit(c55::kSpitAdr, kPit,
          {{4, 4, 0x01, d},
           {6, 3, 0x05, d + 0x10},
           {4, 4, 0x08, d + 0x30},
           {8, 2, 0x81, d + 0x58},
           {5, 1, 0x88, d + 0x60},
           {3, 3, 0x08, d + 0x70},
           {3, 3, 0x08, d + 0x70},
           {2, 2, 0x07, d + 0x90}});
    b.Random(d, 4, 1).Random(d + 0x10, 18, 2).Random(d + 0x30, 32, 3);
    b.Bytes(d + 0x58, {0xC8, 0x88}).Bytes(d + 0x60, {0x05, 0x00, 0xE0});
    b.Random(d + 0x70, 18, 4).Random(d + 0x90, 8, 5).Random(d + 0x98, 0x40, 6);
    b.ExtPit(c55::kExtPitAdr, {});
    return b;
}

struct Session : TestSession {
    Session() {
        settings.PlaceAdrMin = 0x5E3F00;
        settings.PlaceAdrMax = 0x5E4100;
        Open(Flash());
    }
};

QImage RandomImage(std::mt19937& random) {
    std::uniform_int_distribution<int> side(1, 12), colour(0, 255), kind(0, 2);
    QImage image(side(random), side(random), QImage::Format_RGB32);
    const int k = kind(random);
    const QRgb fill = qRgb(colour(random), colour(random), colour(random));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y,
                           k == 0   ? fill
                           : k == 1 ? (x + y) % 2 ? fill : qRgb(255, 255, 255)
                                    : qRgb(colour(random), colour(random), colour(random)));
    return image;
}

// One edit as the window makes it.
struct Edit {
    enum Kind { Replace, Depth, Revert, RevertAll, Batch } kind;
    int row = 0;
    QImage image;
    std::uint8_t type = 0;
    std::vector<int> rows;
    QStringList files;
};

// The rows an edit may change.
std::vector<int> RowsOf(const Edit& e, const FlashSession& session) {
    switch (e.kind) {
        case Edit::Replace:
        case Edit::Depth:
            return {e.row};
        case Edit::Revert:
            return e.rows;
        case Edit::RevertAll:
            return AllRows(session);
        case Edit::Batch: {
            std::vector<int> rows;
            for (const int row : MatchBatchFiles(session, e.files))
                if (row >= 0) rows.push_back(row);
            return rows;
        }
    }
    return {};
}

void Make(const Edit& e, Session& s) {
    FlashSession& session = *s.session;
    Picture* p = session.PictureOfRow(e.row);
    switch (e.kind) {
        case Edit::Replace: {
            bool placed = false;
            ASSERT_TRUE(p->LoadImage(e.image, &placed, &session.Pictures).ok());
            session.WriteRowAfterReplace(e.row);
            break;
        }
        case Edit::Depth: {
            const std::uint8_t before = p->Record[2];
            p->Record[2] = e.type;
            if (!p->Replace(&session.Pictures)) p->Record[2] = before;
            session.WriteRowAfterReplace(e.row);
            break;
        }
        case Edit::Revert:
            RevertPictures(session, e.rows);
            break;
        case Edit::RevertAll:
            RevertPictures(session, AllRows(session));
            break;
        case Edit::Batch: {
            BatchResult result;
            ASSERT_TRUE(BatchReplace(session, e.files, s.prompt, result).ok());
            break;
        }
    }
}

void ExpectSame(Session& a, Session& b, int step) {
    SCOPED_TRACE(step);
    const FlashImage &x = a.image(), &y = b.image();
    ASSERT_EQ(std::memcmp(x.WorkImage(), y.WorkImage(), kImageSize), 0);
    ASSERT_EQ(std::memcmp(x.UsageMap(), y.UsageMap(), kImageSize), 0);
    for (int row = 0; row < kPictures; ++row) {
        ASSERT_EQ(a.session->Rows[row].texts, b.session->Rows[row].texts) << row;
        const Picture &p = *a.session->PictureOfRow(row), &q = *b.session->PictureOfRow(row);
        ASSERT_EQ(p.Record, q.Record) << row;
        ASSERT_EQ(p.Length, q.Length) << row;
        ASSERT_EQ(p.Depth, q.Depth) << row;
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
    s.settings.KeepDepthAndCompression = GetParam() % 2 == 1;
    replay.settings.KeepDepthAndCompression = s.settings.KeepDepthAndCompression;
    QStringList files;
    for (int row = 0; row < kPictures; ++row) {
        for (const char* variant : {"a", "b"}) {
            const QString path = s.dir.filePath(
                QStringLiteral("PIT_%1 %2.bmp").arg(s.session->Rows[row][ColPIT], variant));
            ASSERT_TRUE(RandomImage(random).save(path, "BMP"));
            files << path;
        }
    }
    files << s.dir.filePath(QStringLiteral("PIT_ABCDEF.bmp"));
    ASSERT_TRUE(RandomImage(random).save(files.back(), "BMP"));

    QUndoStack stack;
    EditRecorder recorder;
    std::vector<Edit> done;  // the edit of each command on the stack
    std::uniform_int_distribution<int> action(0, 99), row(0, kPictures - 1);
    const std::uint8_t types[] = {0x01, 0x03, 0x05, 0x07, 0x08, 0x81, 0x85, 0x87, 0x88};
    int pushed = 0, undone = 0;
    for (int step = 1; step <= 300; ++step) {
        const int a = action(random);
        if (a < 20) {
            stack.undo();
            ++undone;
        } else if (a < 30) {
            stack.redo();
        } else {
            Edit e;
            e.row = row(random);
            if (a < 55) {
                e.kind = Edit::Replace;
                e.image = RandomImage(random);
            } else if (a < 70) {
                e.kind = Edit::Depth;
                e.type = types[random() % std::size(types)];
            } else if (a < 82) {
                e.kind = Edit::Revert;
                e.rows = {row(random), row(random)};
            } else if (a < 86) {
                e.kind = Edit::RevertAll;
            } else {
                e.kind = Edit::Batch;
                std::shuffle(files.begin(), files.end(), random);
                e.files = files.mid(0, 1 + int(random() % 4));
            }
            recorder.Begin(*s.session, RowsOf(e, *s.session));
            Make(e, s);
            PictureEdit edit = recorder.End(*s.session);
            if (!edit.Empty()) {
                done.resize(static_cast<std::size_t>(stack.index()));
                done.push_back(e);
                stack.push(new PictureEditCommand(*s.session, std::move(edit), QString()));
                ++pushed;
            }
        }
        if (step % 25 == 0) {
            replay.Open(Flash());
            for (int i = 0; i < stack.index(); ++i) Make(done[static_cast<std::size_t>(i)], replay);
            ExpectSame(s, replay, step);
            if (HasFatalFailure()) return;
        }
    }
    // The sequence did what it is meant to test.
    EXPECT_GT(pushed, 100);
    EXPECT_GT(undone, 30);
}

INSTANTIATE_TEST_SUITE_P(Seeds, UndoSequence, ::testing::Values(1u, 2u, 3u));

}  // namespace
}  // namespace vorlix
