#include "vkp/vkp_reader.h"

#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QStringList>
#include <random>
#include <string_view>
#include <vector>

#include "patch/patch_generator.h"
#include "patch/patch_test_support.h"
#include "patch/picture_lines.h"
#include "picture/picture.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"
#include "vkp/patch_lines.h"

namespace vorlix {
namespace {

// Lists compare as text, so that a failure shows them.
std::string Lines(const QStringList& list) { return list.join(QLatin1Char('\n')).toStdString(); }

QString Hex(std::span<const std::uint8_t> bytes) {
    QString text;
    for (std::uint8_t b : bytes)
        text += QStringLiteral("%1").arg(b, 2, 16, QLatin1Char('0')).toUpper();
    return text;
}

// "LINE:COL ADDR OLD NEW", the flags added when they are not the initial ones.
QStringList Records(const VkpFile& f) {
    QStringList out;
    for (const VkpRecord& r : f.records) {
        QString line = QStringLiteral("%1:%2 %3 %4 %5")
                           .arg(r.at.line)
                           .arg(r.at.column)
                           .arg(r.address, 6, 16, QLatin1Char('0'))
                           .arg(r.hasOld ? Hex(f.OldBytes(r)) : QStringLiteral("-"))
                           .arg(Hex(f.NewBytes(r)))
                           .toUpper();
        if (r.flags != kVkpInitialFlags)
            line += QStringLiteral(" flags %1").arg(r.flags, 2, 16, QLatin1Char('0'));
        out << line;
    }
    return out;
}

QStringList Diagnostics(const std::vector<VkpDiagnostic>& list) {
    QStringList out;
    for (const VkpDiagnostic& d : list)
        out << QStringLiteral("%1:%2 %3").arg(d.at.line).arg(d.at.column).arg(d.message);
    return out;
}

TEST(VkpReader, EveryConstructAloneAndMixed) {
    const struct {
        QByteArray text;
        QStringList records;
    } cases[] = {
        // As this program writes it, and its relaxed spellings.
        {"012345: 0A0B 0C0D\r\n", {"1:1 012345 0A0B 0C0D"}},
        {"0xabcdef: 0a 0b\n0XABCDEF:0A 0B", {"1:1 ABCDEF 0A 0B", "2:1 ABCDEF 0A 0B"}},
        {"\t12345:\t77", {"1:2 012345 - 77"}},
        {"012345: 0A0B 0C", {"1:1 012345 0A0B 0C"}},
        {"FFFFFFFF: 00 11", {"1:1 FFFFFFFF 00 11"}},
        // Comments of every kind, on their own and after data.
        {"; a\n// b\n# c\n10: 0A 0B ; d\n11: 0C 0D // e\n12: 0E 0F # f\n13: AA BB;g\n14: CC#h",
         {"4:1 000010 0A 0B", "5:1 000011 0C 0D", "6:1 000012 0E 0F", "7:1 000013 AA BB",
          "8:1 000014 - CC"}},
        {"/* a\nb */10: 0A 0B /* c */\n/* d */ 11: 0C /* e\n*/ 12: 0D",
         {"2:5 000010 0A 0B", "3:9 000011 - 0C", "4:4 000012 - 0D"}},
        // Text after the two fields has always been passed over.
        {"10: AA BB ignored text\n11: CC DD", {"1:1 000010 AA BB", "2:1 000011 CC DD"}},
        // Offsets until the next offset line.
        {"+100\n10: AA BB\n-0x10\n20: CC DD\n+0\n30: EE FF",
         {"2:1 000110 AA BB", "4:1 000010 CC DD", "6:1 000030 EE FF"}},
        // Pragmas: old_equal_ff fills missing old data, the rest travel with records.
        {"#pragma enable old_equal_ff\n10: AABB\n11: CC DD\n#pragma disable old_equal_ff\n12: EE\n"
         "#pragma disable undo\n13: 01 02\n#pragma enable undo",
         {"2:1 000010 FFFF AABB flags 1f", "3:1 000011 CC DD flags 1f", "5:1 000012 - EE",
          "7:1 000013 01 02 flags 0e"}},
        {"#pragma disable warn_no_old_on_apply\n#pragma disable warn_if_new_exist_on_apply\n"
         "#pragma disable warn_if_old_exist_on_undo\n10: AA",
         {"4:1 000010 - AA flags 10"}},
        // Numbers.
        {"10: 0x123,0x1 0xABCD,0x0", {"1:1 000010 230101 CDAB00"}},
        {"10: 0x12345678", {"1:1 000010 - 78563412"}},
        {"10: 0i255,0i00001,0i0000000001 0i-1,0i+00001,0i-0000000001",
         {"1:1 000010 FF010001000000 FF0100FFFFFFFF"}},
        {"10: 0i-128,0i+127,0i18446744073709551615", {"1:1 000010 - 807FFFFFFFFFFFFFFFFF"}},
        {"10: 0i00000000000000000001", {"1:1 000010 - 0100000000000000"}},
        {"10: 0i0000000000001,0i000000000000001,0i00000000000000001",
         {"1:1 000010 - 010000000001000000000001000000000000"}},
        {"10: 0n1,0n111111111 0n0,0n100000000", {"1:1 000010 01FF01 000001"}},
        // Strings and their escapes.
        {"10: \"Hi\\n\"", {"1:1 000010 - 48690A"}},
        {"10: 'Hi'", {"1:1 000010 - 48006900"}},
        {"10: \"\\a\\b\\t\\r\\n\\v\\f\\e\\\\\\/\\*\\\"\\'\\`\\x41\\101\\0\\377\"",
         {"1:1 000010 - 0708090D0A0B0C1B5C2F2A2227604141"
          "00FF"}},
        {"10: '\\u0410\\xFF\\n'", {"1:1 000010 - 1004FF000A00"}},
        {"10: \"a\\/*b\"", {"1:1 000010 - 612F2A62"}},
        {"10: \"a\\\nb\" 0x1", {"1:1 000010 6162 01"}},
        // Cyrillic: Windows-1251 bytes from either encoding, UTF-16 for '...'.
        {"10: \"\xCF\xF0\xE8\"", {"1:1 000010 - CFF0E8"}},
        {"10: \"При\" 'П'", {"1:1 000010 CFF0E8 1F04"}},
        {"\xEF\xBB\xBF"
         "10: \"Ё\"",
         {"1:1 000010 - A8"}},
        {"10: '\xA8'", {"1:1 000010 - 0104"}},
        // Continued fields, commas and items joined without separators.
        {"10: AA\\\nBB CC\\\nDD", {"1:1 000010 AABB CCDD"}},
        {"10: AABB\\\n  CCDD\n11: 01,\\\n02", {"1:1 000010 AABB CCDD", "3:1 000011 - 0102"}},
        {"10: AA,BB,0x1 CC,DD,EE", {"1:1 000010 AABB01 CCDDEE"}},
        {"10: AA,0x1234\"z\"0n1,0i1 \"abcdef\"", {"1:1 000010 AA34127A0101 616263646566"}},
        {"10: AA,,BB, CC,", {"1:1 000010 AABB CC"}},
        // Line ends of every kind, a stray comment end, Ctrl-Z at the end.
        {"10: AA BB\r11: CC DD\r\n12: EE FF\n\x1A",
         {"1:1 000010 AA BB", "2:1 000011 CC DD", "3:1 000012 EE FF"}},
        {"10: AA BB */\n", {"1:1 000010 AA BB"}},
        {"10:\n11: AA", {"2:1 000011 - AA"}},
    };
    for (const auto& c : cases) {
        const VkpFile f = ReadVkp(c.text);
        EXPECT_EQ(Lines(Diagnostics(f.errors)), "") << c.text.toStdString();
        EXPECT_EQ(Lines(Records(f)), Lines(c.records)) << c.text.toStdString();
    }
}

TEST(VkpReader, ErrorsNameLineAndColumn) {
    const struct {
        QByteArray text;
        QString error;  // "LINE:COL message"
    } cases[] = {
        {"10: AAB BB", "1:5 нечётное число шестнадцатеричных цифр"},
        {"; header\n10: AA BBB", "2:8 нечётное число шестнадцатеричных цифр"},
        {"10: AA 0G", "1:9 недопустимый символ «G» в данных"},
        {"10: AA BB,-", "1:11 недопустимый символ «-» в данных"},
        {"10: ,AA", "1:5 недопустимый символ «,» в данных"},
        {"10: AA0x12", "1:7 между данными и числом «0x…» нужна запятая"},
        {"10: 0i001AA", "1:10 между числом и следующими данными нужна запятая"},
        {"10: XX 11", "1:5 заполнитель «XX» вместо данных: это шаблон, а не готовый патч"},
        {"10: ?? 11", "1:5 заполнитель «??» вместо данных: это шаблон, а не готовый патч"},
        {"XXXXXX: 00 11", "1:1 заполнитель «XXXXXX» вместо данных: это шаблон, а не готовый патч"},
        {"10 AA BB", "1:3 после адреса ожидается двоеточие"},
        {"123456789: AA", "1:1 адрес длиннее 8 шестнадцатеричных цифр"},
        {"0x: AA", "1:1 ожидается шестнадцатеричный адрес"},
        {"hello", "1:1 непонятная строка: ожидается адрес, смещение, #pragma или комментарий"},
        {"10: 0x 11", "1:5 после 0x нужно от 1 до 8 шестнадцатеричных цифр"},
        {"10: 0x123456789", "1:5 после 0x нужно от 1 до 8 шестнадцатеричных цифр"},
        {"10: 0n2", "1:5 после 0n нужно от 1 до 32 двоичных цифр"},
        {"10: 0n111111111111111111111111111111111", "1:5 после 0n нужно от 1 до 32 двоичных цифр"},
        {"10: 0i", "1:5 после 0i нужны десятичные цифры"},
        {"10: 0i1234",
         "1:5 0i1234: неверное число цифр (нужно 1–3, 5, 8, 10, 13, 15, 17 или 20; дополните "
         "нулями)"},
        {"10: 0i256", "1:5 0i256 вне пределов 0…255"},
        {"10: 0i+128", "1:5 0i+128 вне пределов -128…+127"},
        {"10: 0i-2147483649", "1:5 0i-2147483649 вне пределов -2147483648…+2147483647"},
        {"10: 0i99999999999999999999",
         "1:5 0i99999999999999999999 вне пределов 0…18446744073709551615"},
        {"10: \"abc", "1:5 кавычка не закрыта до конца строки"},
        {"10: 'abc\n11: AA", "1:5 кавычка не закрыта до конца строки"},
        {"10: \"a/*b\"", "1:7 «/*» в строке нужно записать через \\/ или \\*"},
        {"10: \"a//b\"", "1:7 «//» в строке нужно записать через \\/ или \\*"},
        {"10: \"a*/b\"", "1:7 «*/» в строке нужно записать через \\/ или \\*"},
        {"10: \"\\q\"", "1:6 неизвестная последовательность «\\q»"},
        {"10: \"\\u0410\"", "1:6 неизвестная последовательность «\\u»"},
        {"10: \"\\x7F\"", "1:6 «\\x7F» в строке \"…\": допустимы только значения ниже \\x7F"},
        {"10: \"\\xG1\"", "1:6 после «\\x» нужно 2 шестнадцатеричные цифры"},
        {"10: \"\\400\"", "1:6 «\\400»: восьмеричное значение больше 0xFF"},
        {"10: \"ä\"", "1:6 символа «ä» нет в кодировке Windows-1251"},
        {"10: \"\" AA", "1:5 пустые данные"},
        {"10: AA 0C0D", "1:5 Данные патча и данные для отката имеют различную длину"},
        {"#pragma enable foo", "1:16 неизвестная директива «foo»"},
        {"#pragma switch undo", "1:1 ожидается «#pragma enable ИМЯ» или «#pragma disable ИМЯ»"},
        {"#pragma enable undo junk", "1:21 лишний текст в конце строки"},
        {"+", "1:1 после «+» ожидается смещение: до 8 шестнадцатеричных цифр"},
        {"-123456789", "1:1 после «-» ожидается смещение: до 8 шестнадцатеричных цифр"},
        {"+10 junk", "1:5 лишний текст в конце строки"},
        {"-20\n10: AA BB", "2:1 адрес со смещением выходит за пределы 0…FFFFFFFF"},
        {"+10\nFFFFFFF8: AA BB", "2:1 адрес со смещением выходит за пределы 0…FFFFFFFF"},
        {"FFFFFFFF: AABB CCDD", "1:1 данные записи выходят за адрес FFFFFFFF"},
        {"{\\rtf1\\ansi 10: AA BB}",
         "1:1 это документ RTF: сохраните его как обычный текст и откройте снова"},
        {"10: AA\\\nBG", "2:2 недопустимый символ «G» в данных"},
        // Columns count characters: the same line in UTF-8 and in Windows-1251.
        {"/* Привет */ 10: AG", "1:19 недопустимый символ «G» в данных"},
        {"/* \xCF\xF0\xE8\xE2\xE5\xF2 */ 10: AG", "1:19 недопустимый символ «G» в данных"},
    };
    for (const auto& c : cases) {
        const VkpFile f = ReadVkp(c.text);
        EXPECT_EQ(Lines(Diagnostics(f.errors)), c.error.toStdString()) << c.text.toStdString();
    }
}

TEST(VkpReader, WarningsLeaveTheRecords) {
    const struct {
        QByteArray text;
        QString warning;
        int records;
    } cases[] = {
        {"10: AA BB\n/* open\n11: CC DD", "2:1 комментарий «/*» не закрыт до конца файла", 1},
        {"10: AA BB */", "1:11 «*/» без открывающего «/*»", 1},
        {"*/10: AA BB", "1:1 «*/» без открывающего «/*»", 1},
        {"10:\n", "1:1 после адреса нет данных; строка пропущена", 0},
        // An empty string as the new data is zero bytes: nothing to write.
        {"10: AA ''", "1:8 пустые данные: по этому адресу ничего не записывается", 0},
        {"10: AA \"\"\n11: BB CC", "1:8 пустые данные: по этому адресу ничего не записывается", 1},
        {"10: ''", "1:5 пустые данные: по этому адресу ничего не записывается", 0},
        {"#pragma enable old_equal_ff\n10: \"\"",
         "2:5 пустые данные: по этому адресу ничего не записывается", 0},
    };
    for (const auto& c : cases) {
        const VkpFile f = ReadVkp(c.text);
        EXPECT_TRUE(f.ok()) << c.text.toStdString();
        EXPECT_EQ(Lines(Diagnostics(f.warnings)), c.warning.toStdString()) << c.text.toStdString();
        EXPECT_EQ(static_cast<int>(f.records.size()), c.records) << c.text.toStdString();
    }
}

TEST(VkpReader, FilesThisProgramWritesReadBackLineByLine) {
    testing::TestSession t;
    t.Open(FlashBuilder::SampleC55());
    for (int row : {0, 3, 5}) {
        Picture* p = t.session->PictureOfRow(row);
        t.work()[p->DataPos() + 1] ^= 0xA5;
        t.work()[p->RecordPos + 2] ^= 0x80;
        t.MarkModified(row);
    }
    t.settings.AuthorName = QStringLiteral("Пётр");
    t.settings.PatchMaxLength = 5;
    QStringList lines;
    GeneratePatch(*t.session, lines);
    AppendFillLine(*t.session->PictureOfRow(1), t.settings.FullFlash, lines);

    const VkpFile f = ReadVkp(EncodePatchText(lines));
    ASSERT_TRUE(f.ok());
    EXPECT_TRUE(f.warnings.empty());
    QStringList expected;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].startsWith(QLatin1Char(';'))) continue;
        const QStringList parts = lines[i].split(QLatin1Char(' '));
        QString address = parts[0].chopped(1);
        if (address.size() < 6) address = address.rightJustified(6, QLatin1Char('0'));
        expected << QStringLiteral("%1:1 %2 %3 %4").arg(i + 1).arg(address, parts[1], parts[2]);
    }
    EXPECT_GT(expected.size(), 6);
    EXPECT_EQ(Lines(Records(f)), Lines(expected));
}

// Writes bytes in one of the spellings the dialect allows for them.
class RandomSpeller {
  public:
    explicit RandomSpeller(std::uint32_t seed) : random_(seed) {}

    int Pick(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    QByteArray Field(std::span<const std::uint8_t> bytes) {
        QByteArray text;
        std::size_t i = 0;
        enum Kind { kNone, kHex, kNumber, kString } previous = kNone;
        while (i < bytes.size()) {
            const std::size_t left = bytes.size() - i;
            QByteArray item;
            Kind kind = kNumber;
            const int pick = Pick(6);
            if (pick == 1 && left >= 2) {  // 0x number of 2 or 4 bytes
                const int n = left >= 4 && Pick(2) ? 4 : 2;
                std::uint32_t v = 0;
                for (int k = n - 1; k >= 0; --k)
                    v = v << 8 | bytes[i + static_cast<std::size_t>(k)];
                const QByteArray digits = QByteArray::number(v, 16).rightJustified(2 * n, '0');
                item = (Pick(2) ? "0x" : "0X") + (Pick(2) ? digits.toUpper() : digits);
                i += static_cast<std::size_t>(n);
            } else if (pick == 2) {  // 0i, signed or not
                const std::uint8_t b = bytes[i++];
                if (Pick(2)) {
                    item = "0i" + QByteArray::number(b).rightJustified(1 + Pick(3), '0');
                } else {
                    const int v = static_cast<std::int8_t>(b);
                    item = (v < 0 ? "0i-" : "0i+") +
                           QByteArray::number(std::abs(v)).rightJustified(3, '0');
                }
            } else if (pick == 3) {  // 0n
                item = "0n" + QByteArray::number(bytes[i++], 2).rightJustified(8, '0');
            } else if (pick == 4 && bytes[i] >= 0x20 && bytes[i] < 0x7F) {  // a string
                kind = kString;
                QByteArray s;
                while (i < bytes.size() && bytes[i] >= 0x20 && bytes[i] < 0x7F && s.size() < 6) {
                    const char c = static_cast<char>(bytes[i++]);
                    if (c == '"' || c == '\\' || c == '/' || c == '*') s += '\\';
                    s += c;
                }
                item = '"' + s + '"';
            } else if (pick == 5 && bytes[i] < 0x7F) {
                kind = kString;
                item = "\"\\x" + QByteArray::number(bytes[i++], 16).rightJustified(2, '0') + '"';
            } else {
                kind = kHex;
                const QByteArray pair = QByteArray::number(bytes[i++], 16).rightJustified(2, '0');
                item = Pick(2) ? pair.toUpper() : pair;
            }
            if (previous != kNone) {
                // Directly joined only where nothing can be misread.
                const bool direct =
                    previous == kString || kind == kString || (previous == kHex && kind == kHex);
                const int joint = Pick(3);
                if (joint == 2) {
                    text += "\\\n";
                } else if (joint == 1 || !direct) {
                    text += Pick(4) ? "," : ",,";
                }
            }
            text += item;
            previous = kind;
        }
        if (Pick(8) == 0) text += ',';
        return text;
    }

    QByteArray Blank() { return Pick(3) ? " " : Pick(2) ? "\t" : " \t "; }

  private:
    std::mt19937 random_;
};

TEST(VkpReader, RandomSpellingsReadBackAsWritten) {
    for (std::uint32_t seed = 1; seed <= 40; ++seed) {
        RandomSpeller s(seed);
        QByteArray text = s.Pick(2) ? "\xEF\xBB\xBF" : "";
        QStringList expected;
        std::int64_t offset = 0;
        bool oldEqualFF = false;
        bool undo = true;
        auto newline = [&] { text += s.Pick(3) ? "\r\n" : s.Pick(2) ? "\n" : "\r"; };
        for (int k = 0; k < 60; ++k) {
            switch (s.Pick(12)) {
                case 0:
                    text += "; comment";
                    newline();
                    continue;
                case 1:
                    text += "/* a\nb */";
                    newline();
                    continue;
                case 2:
                    offset = s.Pick(3) == 0 ? 0 : s.Pick(0x10000);
                    text += "+0x" + QByteArray::number(offset, 16);
                    newline();
                    continue;
                case 3:
                    oldEqualFF = !oldEqualFF;
                    text +=
                        oldEqualFF ? "#pragma enable old_equal_ff" : "#pragma disable old_equal_ff";
                    newline();
                    continue;
                case 4:
                    undo = !undo;
                    text += undo ? "#pragma enable undo ; on" : "#pragma disable undo";
                    newline();
                    continue;
                default:
                    break;
            }
            const auto address = static_cast<std::uint32_t>(s.Pick(0x1000000));
            std::vector<std::uint8_t> newBytes(static_cast<std::size_t>(1 + s.Pick(12)));
            for (auto& b : newBytes) b = static_cast<std::uint8_t>(s.Pick(256));
            // Old data is sometimes a byte longer than new data.
            std::vector<std::uint8_t> oldBytes(newBytes.size() + (s.Pick(3) == 0 ? 1 : 0));
            for (auto& b : oldBytes) b = static_cast<std::uint8_t>(s.Pick(256));
            const bool withOld = s.Pick(4) != 0;
            const auto line = text.count('\n') + text.count('\r') - text.count("\r\n") + 1;
            if (s.Pick(4) == 0) text += "/* c */ ";
            text += s.Pick(2) ? "0x" + QByteArray::number(address, 16)
                              : QByteArray::number(address, 16).toUpper();
            text += ":" + s.Blank() + s.Field(withOld ? oldBytes : newBytes);
            if (withOld) text += s.Blank() + s.Field(newBytes);
            if (s.Pick(2)) text += " ; done";
            newline();

            const QString old = withOld      ? Hex(oldBytes)
                                : oldEqualFF ? Hex(std::vector<std::uint8_t>(newBytes.size(), 0xFF))
                                             : QStringLiteral("-");
            QString record = QStringLiteral("%1 %2 %3 %4")
                                 .arg(line)
                                 .arg(address + offset, 6, 16, QLatin1Char('0'))
                                 .arg(old, Hex(newBytes))
                                 .toUpper();
            const auto flags = static_cast<std::uint8_t>(
                (kVkpInitialFlags & ~kUndo) | (undo ? kUndo : 0) | (oldEqualFF ? kOldEqualFF : 0));
            if (flags != kVkpInitialFlags)
                record += QStringLiteral(" flags %1").arg(flags, 2, 16, QLatin1Char('0'));
            expected << record;
        }
        const VkpFile f = ReadVkp(text);
        ASSERT_EQ(Lines(Diagnostics(f.errors)), "") << "seed " << seed << "\n"
                                                    << text.toStdString();
        QStringList got = Records(f);
        for (QString& r : got)
            r.replace(QRegularExpression(QStringLiteral("^(\\d+):\\d+")), QStringLiteral("\\1"));
        EXPECT_EQ(Lines(got), Lines(expected)) << "seed " << seed << "\n" << text.toStdString();
    }
}

TEST(VkpReader, BadInputEndsQuicklyWithFewMessages) {
    QByteArray garbage(1 << 20, 0);
    std::mt19937 random(11);
    for (char& c : garbage) c = static_cast<char>(random());
    const VkpFile g = ReadVkp(garbage);
    EXPECT_FALSE(g.ok());
    EXPECT_LE(g.errors.size(), std::size_t{kVkpMaxErrors} + 1);
    EXPECT_LE(g.warnings.size(), std::size_t{kVkpMaxErrors} + 1);

    // One line of a mebibyte: the message does not quote it.
    const VkpFile line = ReadVkp("10: " + QByteArray(1 << 20, 'A') + "G");
    ASSERT_EQ(line.errors.size(), 1u);
    EXPECT_EQ(line.errors[0].at.column, (1 << 20) + 5);
    const VkpFile address = ReadVkp(QByteArray(1 << 20, '1') + ": 00");
    ASSERT_EQ(address.errors.size(), 1u);
    EXPECT_LT(address.errors[0].message.size(), 60);
    const VkpFile number = ReadVkp("10: 0i" + QByteArray(1 << 20, '9'));
    ASSERT_EQ(number.errors.size(), 1u);
    EXPECT_LT(number.errors[0].message.size(), 160);

    // A million stray comment ends in UTF-8: counted, not all kept.
    const VkpFile stray = ReadVkp("/* Ж */ " + QByteArray(1 << 20, ' ').replace(' ', "*/"));
    EXPECT_TRUE(stray.ok());
    EXPECT_EQ(stray.warnings.size(), std::size_t{kVkpMaxErrors} + 1);

    // A line of a quarter of a million strings, then one of block comments.
    const VkpFile many = ReadVkp("/* Ж */ 10: " + QByteArray(1 << 18, ' ').replace(" ", "\"a\"") +
                                 "\n/* Ж */" + QByteArray(1 << 18, ' ').replace(" ", "/**/"));
    ASSERT_EQ(many.records.size(), 1u);
    EXPECT_EQ(many.records[0].newCount, 1u << 18);

    // An unclosed string or comment reaching the end of a large file.
    EXPECT_FALSE(ReadVkp("10: \"" + QByteArray(1 << 20, 'a')).ok());
    const VkpFile comment = ReadVkp("10: AA BB /*" + QByteArray(1 << 20, '\n'));
    EXPECT_TRUE(comment.ok());
    EXPECT_EQ(comment.records.size(), 1u);
    EXPECT_EQ(comment.warnings.size(), 1u);

    // A text that stops right after an offset's sign or an address's "0x",
    // read from a buffer of exactly its size (no terminating zero behind it).
    using namespace std::string_view_literals;
    for (const std::string_view text : {"+"sv, "\0\3-"sv, "0x"sv, "10: 0x"sv}) {
        const std::vector<char> exact(text.begin(), text.end());
        const VkpFile f = ReadVkp(QByteArrayView(exact.data(), qsizetype(exact.size())));
        EXPECT_FALSE(f.ok()) << QByteArray(text.data(), qsizetype(text.size())).toHex().data();
        EXPECT_TRUE(f.records.empty());
    }
}

}  // namespace
}  // namespace vorlix
