#include "picture/picture_test_support.h"

namespace vorlix::testing {
namespace {

constexpr std::int32_t kRec = 0xE60010;
constexpr std::int32_t kData = 0xA00000;
constexpr std::int32_t kAreaLo = 0xDE2000;  // FullFlash + PlaceAdrMin
constexpr std::int32_t kAreaHi = 0xE00000;

class PlacementTest : public PictureTest {
  protected:
    // Gives the picture a black source of w x h and the type, as a command would.
    static void Prepare(Picture& p, int w, int h, std::uint8_t type = 0x05) {
        p.SourceBitmap = QImage(w, h, QImage::Format_RGB32);
        p.SourceBitmap.fill(Qt::black);
        p.Record[0] = static_cast<std::uint8_t>(w);
        p.Record[1] = static_cast<std::uint8_t>(h);
        p.Record[2] = type;
    }
    void FillWork(std::int32_t from, std::int32_t to, std::uint8_t v) {
        std::fill(image.MutableWorkImage() + from, image.MutableWorkImage() + to, v);
    }
    std::uint8_t Work(std::int32_t pos) const { return image.MutableWorkImage()[pos]; }
    // The usage map as the old/new view reads it: 0x00 occupied, 0xFF free.
    std::uint8_t Usage(std::int32_t pos) const { return image.Usage()[pos] ? 0x00 : 0xFF; }
};

TEST_F(PlacementTest, ShorterDataStaysInPlace) {
    auto p = Make(kRec, 4, 1, 0x05, kData, {1, 2, 3, 4});
    Prepare(*p, 2, 1);
    ASSERT_EQ(p->Replace(), Placement::Placed);
    EXPECT_EQ(p->DataPos(), kData);
    EXPECT_EQ(p->Length, 2);
    EXPECT_TRUE(p->Modified);
    EXPECT_EQ(Work(kData), 0x00);
    EXPECT_EQ(Usage(kData + 1), 0x00);
    EXPECT_EQ(Work(kData + 2), 0xFF);  // the old tail is erased and free
    EXPECT_EQ(Usage(kData + 3), 0xFF);
    EXPECT_EQ(Work(kRec), 2);  // the record is rewritten in the working image only
    EXPECT_EQ(image.BaseImage()[kRec], 4);
    EXPECT_EQ(image.BaseImage()[kData], 1);
    EXPECT_EQ(p->DecodedBitmap.size(), QSize(2, 1));
    EXPECT_EQ(p->OldBitmap.size(), QSize(4, 1));
    EXPECT_EQ(p->NewData, (std::vector<std::uint8_t>{0, 0}));
}

TEST_F(PlacementTest, LongerDataGrowsInPlaceOnlyOverFreeBytes) {
    PutRecord(kRec, 2, 1, 0x05, kData);
    PutBytes(kData, {1, 2, 0x33});  // a busy byte right after the data
    PutRecord(kRec + 8, 2, 1, 0x05, kData + 0x100);
    PutBytes(kData + 0x100, {1, 2, 0xFF, 0xFF, 0x44});  // two free bytes, then a busy one
    Loaded();
    Picture a(image, kRec, settings), b(image, kRec + 8, settings);

    Prepare(b, 4, 1);
    ASSERT_EQ(b.Replace(), Placement::Placed);
    EXPECT_EQ(b.DataPos(), kData + 0x100);

    Prepare(b, 5, 1);  // would cover the busy byte
    ASSERT_EQ(b.Replace(), Placement::Placed);
    EXPECT_EQ(b.DataPos(), kAreaLo);
    EXPECT_EQ(Work(kData + 0x100), 0xFF);
    EXPECT_EQ(Work(kData + 0x104), 0x44);

    Prepare(a, 3, 1);
    ASSERT_EQ(a.Replace(), Placement::Placed);
    EXPECT_EQ(a.DataPos(), kAreaLo + 5);  // first fit after b
    PitRecord r;
    Picture::ReadRecord(r, image.WorkBytes(), kRec);
    EXPECT_EQ(GetDataPos(r.data(), AddressFormat::Paged), kAreaLo + 5);
}

TEST_F(PlacementTest, FreeSpaceSearch) {
    auto p = Make(kRec, 1, 1, 0x05, kData, {0});
    // Busy area except the bytes from 0x10 before a page boundary on.
    FillWork(kAreaLo, kAreaHi, 0x00);
    FillWork(0xDE3FF0, 0xDE5000, 0xFF);
    EXPECT_EQ(p->FindFreePlace(0x10), 0xDE3FF0);  // ends exactly on the boundary
    EXPECT_EQ(p->FindFreePlace(0x20), 0xDE4000);  // would straddle it
    std::fill(image.Usage() + 0xDE4000, image.Usage() + 0xDE4001, 0xFF);
    EXPECT_EQ(p->FindFreePlace(0x20), 0xDE4001);  // occupied in the usage map
    EXPECT_EQ(p->FindFreePlace(0x2000), kNoPlace);

    // A block longer than a page starts on a boundary.
    FillWork(kAreaLo, kAreaHi, 0xFF);
    std::fill(image.Usage() + 0xDE4000, image.Usage() + 0xDE4001, 0x00);
    EXPECT_EQ(p->FindFreePlace(0x5000), 0xDE4000);

    // Offset 0 is a real place.
    settings.FullFlash = 0;
    settings.PlaceAdrMin = 0;
    settings.PlaceAdrMax = 0x100;
    EXPECT_EQ(p->FindFreePlace(0x10), 0);

    // An area that reaches past the image: the search ends inside it.
    settings.FullFlash = 0x800000;
    settings.PlaceAdrMin = 0x7FFF00;
    settings.PlaceAdrMax = 0x7FFFFFFF;
    EXPECT_EQ(p->FindFreePlace(0x80), 0xFFFF00);
    EXPECT_EQ(p->FindFreePlace(0x200), kNoPlace);
    settings.PlaceAdrMin = 0x7F8010;
    EXPECT_EQ(p->FindFreePlace(0x3FF8), 0xFFC000);
}

TEST_F(PlacementTest, NoPlaceLeavesEverythingAsItWas) {
    auto p = Make(kRec, 2, 1, 0x05, kData, {1, 2, 0x33});
    FillWork(kAreaLo, kAreaHi, 0x00);
    Prepare(*p, 50, 1);
    const PitRecord before = p->Record;
    EXPECT_EQ(p->Replace(), Placement::NoPlace);
    EXPECT_FALSE(p->Modified);
    EXPECT_EQ(p->Record, before);
    EXPECT_EQ(p->Length, 2);
    EXPECT_TRUE(p->NewData.empty());
    EXPECT_EQ(Work(kData), 1);
    EXPECT_EQ(Work(kData + 1), 2);
    EXPECT_EQ(Usage(kData), 0x00);
    EXPECT_EQ(Usage(kData + 1), 0x00);
    EXPECT_EQ(Usage(kData + 2), 0xFF);
    EXPECT_EQ(Work(kRec), 2);

    // A later replacement frees only the two bytes the picture holds.
    image.Usage()[kData + 2] = 0xFF;
    Prepare(*p, 1, 1);
    ASSERT_EQ(p->Replace(), Placement::Placed);
    EXPECT_EQ(p->DataPos(), kData);
    EXPECT_EQ(Usage(kData + 1), 0xFF);
    EXPECT_EQ(Usage(kData + 2), 0x00);
    EXPECT_EQ(Work(kData + 2), 0x33);
}

TEST_F(PlacementTest, SharedDataIsNeverErasedFreedOrReused) {
    // Two records on one block, a third on the block's second half.
    PutRecord(kRec, 4, 1, 0x05, kData);
    PutRecord(kRec + 8, 4, 1, 0x05, kData);
    PutRecord(kRec + 16, 4, 1, 0x05, kData + 2);
    PutBytes(kData, {1, 2, 3, 4, 5, 6});
    Loaded();
    PictureList list;
    for (int i = 0; i < 3; ++i)
        list.push_back(std::make_unique<Picture>(image, kRec + 8 * i, settings));
    const QImage secondBefore = list[1]->DecodedBitmap;
    const QImage thirdBefore = list[2]->DecodedBitmap;

    Prepare(*list[0], 2, 1);  // shorter: in place it would overwrite the shared bytes
    ASSERT_EQ(list[0]->Replace(&list), Placement::Placed);
    EXPECT_EQ(list[0]->DataPos(), kAreaLo);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Work(kData + i), i + 1);
        EXPECT_EQ(Usage(kData + i), 0x00);
    }
    list[1]->Decode();
    EXPECT_EQ(list[1]->DecodedBitmap, secondBefore);

    // The second picture now shares only the last two bytes.
    settings.PlaceAdrMin = settings.PlaceAdrMax = 0x600000;  // no room anywhere
    Prepare(*list[1], 8, 1);
    EXPECT_EQ(list[1]->Replace(&list), Placement::NoPlace);
    EXPECT_EQ(Work(kData), 1);
    EXPECT_EQ(Usage(kData), 0x00);
    settings.PlaceAdrMin = 0x5E2000;
    ASSERT_EQ(list[1]->Replace(&list), Placement::Placed);
    EXPECT_EQ(list[1]->DataPos(), kAreaLo + 2);
    EXPECT_EQ(Work(kData + 1), 0xFF);  // used by nobody any more
    EXPECT_EQ(Usage(kData + 1), 0xFF);
    EXPECT_EQ(Work(kData + 2), 3);  // still the third picture's
    EXPECT_EQ(Usage(kData + 3), 0x00);
    list[2]->Decode();
    EXPECT_EQ(list[2]->DecodedBitmap, thirdBefore);
}

TEST_F(PlacementTest, BytesOfInstalledPatchesAreNeverChosenNorRewritten) {
    // An installed patch wrote 0xFF bytes at the start of the area, one byte
    // a little further on, and the data of a picture.
    auto p = Make(kRec, 4, 1, 0x05, kData, {1, 2, 3, 4});
    const ImageRange reserved[] = {{kAreaLo, 0x10}, {kAreaLo + 0x13, 1}, {kData, 4}};
    image.SetReserved(reserved);
    struct Unreserve {
        FlashImage& image;
        ~Unreserve() { image.SetReserved({}); }
    } unreserve{image};

    EXPECT_EQ(p->FindFreePlace(3), kAreaLo + 0x10);
    EXPECT_EQ(p->FindFreePlace(8), kAreaLo + 0x14);
    EXPECT_FALSE(p->FitsInPlace(kAreaLo + 0x08, 0x10));
    EXPECT_TRUE(p->FitsInPlace(kAreaLo + 0x14, 0x10));

    // A refresh keeps the reservation.
    image.ResetWorkingCopy();
    EXPECT_EQ(p->FindFreePlace(8), kAreaLo + 0x14);

    // Shorter data does not stay on the patch's bytes, which keep what the
    // patch wrote.
    Prepare(*p, 2, 1);
    ASSERT_EQ(p->Replace(), Placement::Placed);
    EXPECT_EQ(p->DataPos(), kAreaLo + 0x10);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(Work(kData + i), i + 1);

    // Without a reservation the same replacement stays in place.
    image.SetReserved({});
    auto q = Make(kRec + 8, 4, 1, 0x05, kData + 0x10, {1, 2, 3, 4});
    Prepare(*q, 2, 1);
    ASSERT_EQ(q->Replace(), Placement::Placed);
    EXPECT_EQ(q->DataPos(), kData + 0x10);
}

TEST_F(PlacementTest, IndexRecordsAreKeptAndNeverChosen) {
    // A damaged table: the first record's data starts just before it and
    // runs over it and over the second record, whose data lies elsewhere.
    PutRecord(kRec, 6, 4, 0x05, kRec - 4);
    PutRecord(kRec + 8, 2, 1, 0x05, kData);
    PutBytes(kData, {7, 8});
    Loaded();
    PictureList list;
    for (int i = 0; i < 2; ++i)
        list.push_back(std::make_unique<Picture>(image, kRec + 8 * i, settings));
    const QImage secondBefore = list[1]->DecodedBitmap;
    ASSERT_EQ(list[0]->Length, 24);

    // Shorter data would fit in place, over both records.
    Prepare(*list[0], 2, 1);
    ASSERT_EQ(list[0]->Replace(&list), Placement::Placed);
    EXPECT_EQ(list[0]->DataPos(), kAreaLo);
    PitRecord first, second;
    Picture::ReadRecord(first, image.WorkBytes(), kRec);
    Picture::ReadRecord(second, image.WorkBytes(), kRec + 8);
    EXPECT_EQ(first, list[0]->Record);
    EXPECT_EQ(second, list[1]->Record);
    EXPECT_EQ(Work(kRec - 4), 0xFF);  // the data bytes outside the records are freed
    EXPECT_EQ(Usage(kRec - 1), 0xFF);
    list[1]->Decode();
    EXPECT_EQ(list[1]->DecodedBitmap, secondBefore);

    // Without the list the picture's own record is still kept.
    auto p = Make(kRec + 0x100, 8, 1, 0x05, kRec + 0xFE);
    Prepare(*p, 2, 1);
    ASSERT_EQ(p->Replace(), Placement::Placed);
    PitRecord own;
    Picture::ReadRecord(own, image.WorkBytes(), kRec + 0x100);
    EXPECT_EQ(own, p->Record);
    EXPECT_NE(p->DataPos(), kRec + 0xFE);

    // A record standing in the placement area is not free space, not even
    // where its bytes are 0xFF.
    PutRecord(kAreaLo, 1, 1, 0x05, kData);
    PutBytes(kAreaLo + 3, {0xFF});
    Loaded();
    Picture q(image, kAreaLo, settings);
    EXPECT_EQ(q.FindFreePlace(1), kAreaLo + 8);
}

}  // namespace
}  // namespace vorlix::testing
