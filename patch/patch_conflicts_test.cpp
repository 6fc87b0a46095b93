#include "vkp/patch_conflicts.h"

#include <gtest/gtest.h>

#include <random>
#include <set>
#include <tuple>

#include "patch/patch_test_support.h"

namespace vorlix {
namespace {

using testing::TestSession;

std::vector<PatchSource> Sources(std::initializer_list<std::pair<const char*, QByteArray>> files) {
    std::vector<PatchSource> sources;
    for (const auto& [name, text] : files) {
        sources.push_back({QString::fromUtf8(name), ReadVkp(text)});
        EXPECT_TRUE(sources.back().file.ok()) << name;
    }
    return sources;
}

// The report a user reads: each kind of finding, in the order of the
// files and their lines, as the window lists it and the command line
// prints it.
TEST(PatchConflicts, ReportsOverlapsMismatchesAndPresentPatches) {
    TestSession t;
    t.Open(FlashBuilder::C55().Bytes(0x812345, {0x0A, 0x0B, 0x0C, 0x0D}), false);
    const std::vector<PatchSource> sources = Sources({
        {"present.vkp", "012345: 0000 0A0B\n"},
        {"a.vkp", "; a\n012347: 0C0D0000 11121314\n100000: FF 00\n"},
        {"b.vkp", "012340: FFFFFFFFFF 0102030405\n012349: FFFF 2122\n012345: 0A0B 3132\n"},
        {"c.vkp", "100000: 00 01\n"},
    });
    const std::vector<Conflict> found =
        FindConflicts(sources, t.image().BaseBytes(), t.settings.FullFlash);
    QStringList texts, lines;
    for (const Conflict& c : found) {
        texts << ConflictText(c, sources);
        lines << ConflictLine(c, sources);
    }
    EXPECT_EQ(texts.join('\n').toStdString(),
              "«present.vkp»: патч уже есть в дампе\n"
              "«a.vkp», строка 2: данные отката не совпадают: по адресу 012347 в патче "
              "0C0D0000, в образе 0C0DFFFF\n"
              "«b.vkp», строка 2: данные отката не совпадают: по адресу 012349 в патче FFFF, "
              "в образе 1314\n"
              "«b.vkp», строка 2: пересекается с «a.vkp», строка 2: байты 012349-01234A\n"
              "«b.vkp», строка 3: пересекается с «present.vkp», строка 1: байты 012345-012346\n"
              "«c.vkp», строка 1: пересекается с «a.vkp», строка 3: байт 100000");
    EXPECT_EQ(lines.join('\n').toStdString(),
              "present.vkp: патч уже есть в дампе\n"
              "a.vkp:2: данные отката не совпадают: по адресу 012347 в патче 0C0D0000, в образе "
              "0C0DFFFF\n"
              "b.vkp:2: данные отката не совпадают: по адресу 012349 в патче FFFF, в образе 1314\n"
              "b.vkp:2: пересекается с a.vkp:2: байты 012349-01234A\n"
              "b.vkp:3: пересекается с present.vkp:1: байты 012345-012346\n"
              "c.vkp:1: пересекается с a.vkp:3: байт 100000");
    EXPECT_TRUE(HasConflicts(found));
    EXPECT_FALSE(HasConflicts(std::span(found).first(1)));
}

// The sweep finds exactly the pairs that comparing every pair finds.
TEST(PatchConflicts, SweepFindsEveryOverlappingPairOnce) {
    TestSession t;
    t.Open(FlashBuilder::C55(), false);
    std::mt19937 gen(7);
    std::vector<PatchSource> sources(6);
    for (std::size_t s = 0; s < sources.size(); ++s) {
        QByteArray text;
        for (int r = 0; r < 40; ++r) {
            const int address = 0x100000 + int(gen() % 0x400);
            const int n = 1 + int(gen() % 12);
            text += QByteArray::number(address, 16) + ": " + QByteArray(n * 2, 'A') + "\n";
        }
        sources[s] = {QStringLiteral("p%1.vkp").arg(s), ReadVkp(text)};
        ASSERT_TRUE(sources[s].file.ok());
    }
    std::set<std::tuple<int, int, int, int, std::uint32_t, std::uint32_t>> expected, got;
    for (std::size_t a = 0; a < sources.size(); ++a)
        for (std::size_t b = a + 1; b < sources.size(); ++b)
            for (const VkpRecord& x : sources[a].file.records)
                for (const VkpRecord& y : sources[b].file.records) {
                    const std::uint64_t from = std::max<std::uint64_t>(x.address, y.address);
                    const std::uint64_t to = std::min(x.End(), y.End());
                    if (from < to)
                        expected.insert({int(b), y.at.line, int(a), x.at.line, std::uint32_t(from),
                                         std::uint32_t(to)});
                }
    for (const Conflict& c : FindConflicts(sources, t.image().BaseBytes(), t.settings.FullFlash)) {
        if (c.kind != ConflictKind::Overlap) continue;
        EXPECT_TRUE(
            got.insert({c.source, c.at.line, c.other, c.otherAt.line, c.from, c.to}).second);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace vorlix
