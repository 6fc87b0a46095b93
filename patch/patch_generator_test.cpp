#include "patch/patch_generator.h"

#include <gtest/gtest.h>

#include <QFile>

#include "patch/patch_test_support.h"
#include "settings/version.h"
#include "vkp/patch_file.h"

namespace vorlix {
namespace {

using testing::TestSession;

constexpr std::int32_t kPit = 0xE60010;

// Three 2 x 1 8-bit pictures; rows 0 and 2 modified (a record byte and a
// data byte changed in the working image).
struct ThreePictures : TestSession {
    ThreePictures() {
        Open(FlashBuilder::C55()
                 .Pit(c55::kSpitAdr, kPit,
                      {{2, 1, 0x05, 0xD00000}, {2, 1, 0x05, 0xD00010}, {2, 1, 0x05, 0xD00020}})
                 .Bytes(0xD00000, {0x11, 0x12})
                 .Bytes(0xD00010, {0x21, 0x22})
                 .Bytes(0xD00020, {0x31, 0x32}));
        work()[kPit + 1] = 2;  // row 0: height 1 -> 2
        work()[kPit + 16] = 3;  // row 2: width 2 -> 3
        work()[0xD00021] = 0x99;
        MarkModified(0);
        MarkModified(2);
    }
};

const QString kVersionLine = QStringLiteral(";Сгенерировано vorlix, версия " VORLIX_VERSION_TEXT);
// Row 0's record from its height on (01 05 00, then the address of
// 0xD00000), row 2's whole record.
const QString kRecord0 = QStringLiteral("660011: 01050000004003 02050000004003");
const QString kRecord2 = QStringLiteral("660020: 0201050020004003 0301050020004003");

TEST(PatchGenerator, RecordLinesFirstThenDataBlocksUnlessPlain) {
    ThreePictures t;
    t.settings.AuthorName = QStringLiteral("Иван");
    QStringList lines;
    int maximum = -1;
    std::vector<int> positions;
    ProgressSink progress{[&](int m) { maximum = m; }, [&](int p) { positions.push_back(p); }};
    EXPECT_EQ(GeneratePatch(*t.session, lines, nullptr, progress), 2);
    EXPECT_EQ(lines, (QStringList{";Автор патча: Иван", kVersionLine, kRecord0, kRecord2,
                                  "500000: 1112 1112", "500020: 3132 3199"}));
    EXPECT_EQ(maximum, 6);
    EXPECT_EQ(positions, (std::vector<int>{0, 0, 1, 2, 4, 5, 0}));

    t.settings.PlainPatch = true;
    lines.clear();
    GeneratePatch(*t.session, lines);
    EXPECT_EQ(lines, (QStringList{";Автор патча: Иван", kVersionLine, kRecord0,
                                  "500000: 1112 1112", kRecord2, "500020: 3132 3199"}));
}

TEST(PatchGenerator, OnlySelectedRowsAndHeaderRules) {
    ThreePictures t;
    QStringList lines;
    const std::vector<bool> third{false, false, true};
    GeneratePatch(*t.session, lines, &third);
    EXPECT_EQ(lines, (QStringList{kVersionLine, kRecord2, "500020: 3132 3199"}));

    // A selected row that is not modified: no version line, nothing at all.
    const std::vector<bool> second{false, true};
    lines.clear();
    GeneratePatch(*t.session, lines, &second);
    EXPECT_TRUE(lines.isEmpty());

    // Rows whose picture was destroyed are passed over: "modified" is the
    // picture's, so no version line either.
    t.session->Pictures.clear();
    t.settings.AuthorName = QStringLiteral("A");
    lines.clear();
    EXPECT_EQ(GeneratePatch(*t.session, lines), 0);
    EXPECT_EQ(lines, (QStringList{";Автор патча: A"}));

    t.session->FilePath.clear();
    lines.clear();
    GeneratePatch(*t.session, lines);
    EXPECT_TRUE(lines.isEmpty());
}

TEST(PatchFile, SavesWindows1251WithCrLfAfterEveryLine) {
    // The extension is added only where the name lacks it.
    const char* const names[][3] = {{"a", "0", "a.vkp"},
                                    {"a.vkp", "0", "a.vkp"},
                                    {"dir/A.VKP", "0", "dir/A.VKP"},
                                    {"a.vkp.txt", "0", "a.vkp.txt.vkp"},
                                    {"a", "1", "a"},
                                    {"a.vkp", "1", "a.vkp"}};
    for (const auto& [chosen, filter, written] : names)
        EXPECT_EQ(PatchSaveName(chosen, QString(filter).toInt()), written) << chosen;

    TestSession t;
    const QString name = t.dir.filePath("p.vkp");
    ASSERT_TRUE(SavePatchFile(name, {";Автор патча: Ё", "000001: 00 FF"}).ok());
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_EQ(bytes, QByteArray("\x3B\xC0\xE2\xF2\xEE\xF0 \xEF\xE0\xF2\xF7\xE0: \xA8\r\n"
                                "000001: 00 FF\r\n"));
    EXPECT_EQ(DecodeWindows1251(bytes), ";Автор патча: Ё\r\n000001: 00 FF\r\n");

    EXPECT_EQ(SavePatchFile(t.dir.filePath("no/such/folder/p.vkp"), {"x"}).code(),
              Status::Code::IoError);
}

}  // namespace
}  // namespace vorlix
