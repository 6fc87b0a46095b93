#include "image/flash_image.h"

#include <gtest/gtest.h>

namespace vorlix {
namespace {

TEST(AddressFormat, PagedAndLinearReadAndWriteTheSameBytesDifferently) {
    const PitRecord r = {1, 1, 1, 0, 0x34, 0x12, 0x21, 0x03};  // W0 0x1234, W1 0x0321
    EXPECT_EQ(GetDataPos(r.data(), FormatFor("C55v50")), 0xC85234);
    EXPECT_EQ(GetDataPos(r.data(), FormatFor("CF62v13")), 0x03211234);
    EXPECT_EQ(FormatFor("cf62v13"), AddressFormat::Paged);
    EXPECT_EQ(FormatFor(" CF62v13"), AddressFormat::Paged);

    PitRecord w{};
    SetDataPos(w.data(), 0xC85234, AddressFormat::Paged);
    EXPECT_EQ(w, (PitRecord{0, 0, 0, 0, 0x34, 0x12, 0x21, 0x03}));
    SetDataPos(w.data(), 0xA01234, AddressFormat::Linear);
    EXPECT_EQ(w, (PitRecord{0, 0, 0, 0, 0x34, 0x12, 0xA0, 0x00}));
}

}  // namespace
}  // namespace vorlix
