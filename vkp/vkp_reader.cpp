#include "vkp/vkp_reader.h"

#include <QCoreApplication>
#include <QFile>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>

#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"

namespace vorlix {

namespace {

bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return c - 'a' + 10;
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
// Every control character but the line ends separates like a space: old
// DOS texts end with Ctrl-Z, and stray control characters at the ends of
// lines have always been taken as blanks.
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 && !IsLineEnd(c); }
// The letter after a "0" that starts a number item rather than a byte.
bool IsPrefixLetter(char c) {
    return c == 'x' || c == 'X' || c == 'i' || c == 'I' || c == 'n' || c == 'N';
}
bool IsPlaceholder(char32_t c) { return c == '?' || c == 'X' || c == 'x'; }

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(const char* text, const char* end) {
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    const auto* e = reinterpret_cast<const unsigned char*>(end);
    while (p < e) {
        if (e - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if ((word & 0x8080808080808080ull) == 0) {
                p += 8;
                continue;
            }
        }
        const unsigned c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int more;
        char32_t cp;
        if (c >= 0xC2 && c <= 0xDF) {
            more = 1;
            cp = c & 0x1F;
        } else if (c >= 0xE0 && c <= 0xEF) {
            more = 2;
            cp = c & 0x0F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            more = 3;
            cp = c & 0x07;
        } else {
            return false;
        }
        if (e - p <= more) return false;
        for (int k = 1; k <= more; ++k) {
            if ((p[k] & 0xC0) != 0x80) return false;
            cp = cp << 6 | (p[k] & 0x3F);
        }
        if (more == 2 && (cp < 0x800 || (cp >= 0xD800 && cp <= 0xDFFF))) return false;
        if (more == 3 && (cp < 0x10000 || cp > 0x10FFFF)) return false;
        p += more + 1;
    }
    return true;
}

struct PragmaName {
    const char* name;
    VkpFlag flag;
};
constexpr PragmaName kPragmas[] = {
    {"old_equal_ff", kOldEqualFF},
    {"warn_no_old_on_apply", kWarnNoOldOnApply},
    {"warn_if_new_exist_on_apply", kWarnIfNewExistOnApply},
    {"warn_if_old_exist_on_undo", kWarnIfOldExistOnUndo},
    {"undo", kUndo},
};

// Byte count of an "0i" number by its count of decimal digits; 0 for a
// count that names no size.
int DecimalSize(qsizetype digits) {
    switch (digits) {
        case 1:
        case 2:
        case 3:
            return 1;
        case 5:
            return 2;
        case 8:
            return 3;
        case 10:
            return 4;
        case 13:
            return 5;
        case 15:
            return 6;
        case 17:
            return 7;
        case 20:
            return 8;
        default:
            return 0;
    }
}

class VkpReader {
    Q_DECLARE_TR_FUNCTIONS(VkpReader)

  public:
    VkpReader(QByteArrayView text, VkpFile& out)
        : p_(text.data()), end_(text.data() + text.size()), lineStart_(p_), out_(out) {}

    void Read() {
        if (end_ - p_ >= 3 && std::memcmp(p_, "\xEF\xBB\xBF", 3) == 0) p_ += 3;
        lineStart_ = p_;
        utf8_ = IsValidUtf8(p_, end_);
        out_.records.reserve(
            static_cast<std::size_t>(std::min<qsizetype>((end_ - p_) / 40, 1 << 16)));
        if (end_ - p_ >= 5 && std::memcmp(p_, "{\\rtf", 5) == 0) {
            Error({1, 1}, tr("это документ RTF: сохраните его как обычный текст и откройте снова"));
            return;
        }
        while (!stopped_ && p_ < end_) {
            SkipBlanks();
            if (p_ >= end_) break;
            if (IsLineEnd(*p_)) {
                NextLine();
                continue;
            }
            Statement();
        }
    }

  private:
    using Ptr = const char*;

    char Peek(qsizetype k = 0) const { return end_ - p_ > k ? p_[k] : '\0'; }
    bool AtLineEnd() const { return p_ >= end_ || IsLineEnd(*p_); }
    void SkipBlanks() {
        while (p_ < end_ && IsBlank(*p_)) ++p_;
    }
    void SkipToLineEnd() {
        while (p_ < end_ && !IsLineEnd(*p_)) ++p_;
    }
    // Steps over the line end at p_ (CR LF, LF or CR).
    void NextLine() {
        if (p_ < end_) p_ += (*p_ == '\r' && Peek(1) == '\n') ? 2 : 1;
        ++line_;
        lineStart_ = p_;
    }

    // A place in the text whose column is counted only when it is needed:
    // counting characters costs as much as the line is long.
    struct Mark {
        Ptr at;
        Ptr lineStart;
        int line;
    };
    Mark MarkAt(Ptr at) const { return {at, lineStart_, line_}; }
    VkpLocation Locate(const Mark& m) const {
        qsizetype column = 1;
        if (!utf8_) {
            column += m.at - m.lineStart;
        } else {
            for (Ptr q = m.lineStart; q < m.at; ++q)
                column += (static_cast<unsigned char>(*q) & 0xC0) != 0x80;
        }
        return {m.line, static_cast<int>(std::min<qsizetype>(column, INT32_MAX))};
    }
    // The location of `at`, which lies on the current line.
    VkpLocation Here(Ptr at) const { return Locate(MarkAt(at)); }

    // The character at `at` and its length in bytes.
    std::pair<char32_t, int> CharAt(Ptr at) const {
        const auto c = static_cast<unsigned char>(*at);
        if (!utf8_) return {Windows1251Char(c), 1};
        if (c < 0x80) return {c, 1};
        const int more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
        char32_t cp = c & (0x3F >> more);
        for (int k = 1; k <= more; ++k) cp = cp << 6 | (static_cast<unsigned char>(at[k]) & 0x3F);
        return {cp, more + 1};
    }

    static QString Shown(char32_t c) {
        if (c < 0x20 || c == 0x7F) return QStringLiteral("\\x%1").arg(c, 2, 16, QLatin1Char('0'));
        return QString::fromUcs4(&c, 1);
    }
    // The text [from, to) for a message, cut short when long; ASCII only.
    static QString ShownText(Ptr from, Ptr to) {
        constexpr qsizetype kMax = 24;
        const qsizetype n = to - from;
        QString text = QString::fromLatin1(from, std::min(n, kMax));
        if (n > kMax) text += QStringLiteral("…");
        return text;
    }

    void Error(VkpLocation at, const QString& message) {
        if (stopped_) return;
        out_.errors.push_back({at, message});
        if (static_cast<int>(out_.errors.size()) >= kVkpMaxErrors) {
            out_.errors.push_back({at, tr("слишком много ошибок; дальше файл не читался")});
            stopped_ = true;
        }
    }
    // Warnings are kept up to the same count as errors; past it they cost
    // nothing (not even their column), so a line of a million stray "*/"
    // stays cheap.
    bool WantWarning() const { return out_.warnings.size() <= std::size_t{kVkpMaxErrors}; }
    void Warning(VkpLocation at, const QString& message) {
        if (out_.warnings.size() < std::size_t{kVkpMaxErrors}) {
            out_.warnings.push_back({at, message});
        } else if (WantWarning()) {
            out_.warnings.push_back(
                {at, tr("слишком много предупреждений; остальные не показаны")});
        }
    }

    // ---- comments

    bool IsPragmaAt() const {
        return end_ - p_ >= 7 && std::memcmp(p_, "#pragma", 7) == 0 &&
               (end_ - p_ == 7 || IsBlank(p_[7]) || IsLineEnd(p_[7]));
    }
    bool AtCommentStart() const {
        if (p_ >= end_) return false;
        const char c = *p_, d = Peek(1);
        return c == ';' || c == '#' || (c == '/' && (d == '/' || d == '*')) ||
               (c == '*' && d == '/');
    }

    // Steps over a comment at p_; false when none starts there. A "#pragma"
    // at the start of a statement is no comment.
    bool TryComment(bool statementStart) {
        const char c = *p_, d = Peek(1);
        if (c == ';' || (c == '/' && d == '/')) {
            SkipToLineEnd();
            return true;
        }
        if (c == '#') {
            if (statementStart && IsPragmaAt()) return false;
            SkipToLineEnd();
            return true;
        }
        if (c == '/' && d == '*') {
            BlockComment();
            return true;
        }
        if (c == '*' && d == '/') {
            if (WantWarning()) Warning(Here(p_), tr("«*/» без открывающего «/*»"));
            p_ += 2;
            return true;
        }
        return false;
    }

    void BlockComment() {
        const Mark start = MarkAt(p_);
        p_ += 2;
        while (p_ < end_) {
            if (*p_ == '*' && Peek(1) == '/') {
                p_ += 2;
                return;
            }
            if (IsLineEnd(*p_)) {
                NextLine();
            } else {
                ++p_;
            }
        }
        Warning(Locate(start), tr("комментарий «/*» не закрыт до конца файла"));
    }

    // What may follow a statement on its line: blanks and comments. Text
    // after the two data fields of a record has always been passed over;
    // `ignoreText` keeps that. A block comment that ends on a later line
    // ends the statement there.
    void RestOfLine(bool ignoreText) {
        const int line = line_;
        for (;;) {
            SkipBlanks();
            if (AtLineEnd()) return;
            if (TryComment(false)) {
                if (line_ != line) return;
                continue;
            }
            if (ignoreText) {
                ++p_;
                continue;
            }
            Error(Here(p_), tr("лишний текст в конце строки"));
            SkipToLineEnd();
            return;
        }
    }

    // ---- statements

    void Statement() {
        const char c = *p_;
        if (TryComment(true)) return;
        if (c == '#') {
            Pragma();
        } else if (c == '+' || c == '-') {
            Offset();
        } else if (IsHex(c)) {
            Record();
        } else if (IsPlaceholder(static_cast<unsigned char>(c))) {
            BadChar(p_);
            SkipToLineEnd();
        } else {
            Error(Here(p_),
                  tr("непонятная строка: ожидается адрес, смещение, #pragma или комментарий"));
            SkipToLineEnd();
        }
    }

    QByteArrayView Word() {
        const Ptr s = p_;
        while (p_ < end_ && (std::isalnum(static_cast<unsigned char>(*p_)) || *p_ == '_')) ++p_;
        return QByteArrayView(s, p_ - s);
    }

    void Pragma() {
        const VkpLocation at = Here(p_);
        p_ += 7;
        SkipBlanks();
        const QByteArrayView action = Word();
        SkipBlanks();
        const Ptr nameAt = p_;
        const QByteArrayView name = Word();
        if ((action != "enable" && action != "disable") || name.isEmpty()) {
            Error(at, tr("ожидается «#pragma enable ИМЯ» или «#pragma disable ИМЯ»"));
            SkipToLineEnd();
            return;
        }
        const PragmaName* known = nullptr;
        for (const PragmaName& p : kPragmas) {
            if (name == p.name) known = &p;
        }
        if (!known) {
            Error(Here(nameAt),
                  tr("неизвестная директива «%1»").arg(ShownText(name.begin(), name.end())));
            SkipToLineEnd();
            return;
        }
        if (action == "enable") {
            flags_ |= known->flag;
        } else {
            flags_ &= static_cast<std::uint8_t>(~known->flag);
        }
        RestOfLine(false);
    }

    // Up to `maxDigits` hexadecimal digits after an optional "0x"; the
    // value, or nothing when there are none or too many.
    std::optional<std::uint32_t> HexValueAt(int maxDigits) {
        if (p_ < end_ && *p_ == '0' && (Peek(1) == 'x' || Peek(1) == 'X')) p_ += 2;
        const Ptr digits = p_;
        while (p_ < end_ && IsHex(*p_)) ++p_;
        const qsizetype n = p_ - digits;
        if (n == 0 || n > maxDigits) return std::nullopt;
        std::uint32_t value = 0;
        for (Ptr q = digits; q < p_; ++q)
            value = value << 4 | static_cast<std::uint32_t>(HexValue(*q));
        return value;
    }

    void Offset() {
        const VkpLocation at = Here(p_);
        const char sign = *p_++;
        const std::optional<std::uint32_t> value = HexValueAt(8);
        if (!value) {
            Error(at, tr("после «%1» ожидается смещение: до 8 шестнадцатеричных цифр")
                          .arg(QLatin1Char(sign)));
            SkipToLineEnd();
            return;
        }
        offset_ = sign == '-' ? -std::int64_t{*value} : std::int64_t{*value};
        RestOfLine(false);
    }

    void Record() {
        const VkpLocation at = Here(p_);
        const Ptr start = p_;
        const std::optional<std::uint32_t> address = HexValueAt(8);
        if (!address) {
            Error(at, p_ - start > 8 ? tr("адрес длиннее 8 шестнадцатеричных цифр")
                                     : tr("ожидается шестнадцатеричный адрес"));
            SkipToLineEnd();
            return;
        }
        if (p_ >= end_ || *p_ != ':') {
            Error(Here(p_), tr("после адреса ожидается двоеточие"));
            SkipToLineEnd();
            return;
        }
        ++p_;
        SkipBlanksAcrossLines();
        if (AtLineEnd() || AtCommentStart()) {
            Warning(at, tr("после адреса нет данных; строка пропущена"));
            RestOfLine(false);
            return;
        }
        const std::size_t first = out_.bytes.size();
        const Mark firstAt = MarkAt(p_);
        if (!Field()) return Abandon(first);
        const std::size_t middle = out_.bytes.size();
        SkipBlanksAcrossLines();
        const bool two = !AtLineEnd() && !AtCommentStart();
        const Mark secondAt = MarkAt(p_);
        if (two && !Field()) return Abandon(first);
        const std::size_t last = out_.bytes.size();

        VkpRecord r;
        r.at = at;
        r.flags = flags_;
        r.hasOld = two;
        r.oldFirst = static_cast<std::uint32_t>(first);
        r.oldCount = two ? static_cast<std::uint32_t>(middle - first) : 0;
        r.newFirst = static_cast<std::uint32_t>(two ? middle : first);
        r.newCount = static_cast<std::uint32_t>(last - r.newFirst);
        const std::int64_t shifted = std::int64_t{*address} + offset_;
        bool good = true;
        if (r.newCount == 0) {
            // An empty string as the new data ("" or ''): zero bytes, as
            // flashers read it, so the record writes nothing.
            Warning(Locate(two ? secondAt : firstAt),
                    tr("пустые данные: по этому адресу ничего не записывается"));
            out_.bytes.resize(first);
            RestOfLine(two);
            return;
        }
        if (two && r.oldCount == 0) {
            Error(Locate(firstAt), tr("пустые данные"));
            good = false;
        } else if (two && r.oldCount < r.newCount) {
            Error(Locate(firstAt), kUnequalLengthsMessage);
            good = false;
        } else if (shifted < 0 || shifted > 0xFFFFFFFF) {
            Error(at, tr("адрес со смещением выходит за пределы 0…FFFFFFFF"));
            good = false;
        } else {
            r.address = static_cast<std::uint32_t>(shifted);
            if (r.CheckedEnd() > 0x100000000ull) {
                Error(at, tr("данные записи выходят за адрес FFFFFFFF"));
                good = false;
            }
        }
        if (!good) {
            out_.bytes.resize(first);
        } else {
            if (!two && (flags_ & kOldEqualFF)) {
                r.hasOld = true;
                r.oldFirst = static_cast<std::uint32_t>(out_.bytes.size());
                r.oldCount = r.newCount;
                out_.bytes.insert(out_.bytes.end(), r.newCount, 0xFF);
            }
            out_.records.push_back(r);
        }
        RestOfLine(two);
    }

    // Blanks, and a backslash that joins the next line to this one.
    void SkipBlanksAcrossLines() {
        SkipBlanks();
        while (AtContinuation()) {
            SkipToLineEnd();
            NextLine();
            SkipBlanks();
        }
    }

    void Abandon(std::size_t bytesBefore) {
        out_.bytes.resize(bytesBefore);
        SkipToLineEnd();
    }

    // ---- data

    bool AtItemStart() const { return p_ < end_ && (IsHex(*p_) || *p_ == '"' || *p_ == '\''); }
    // A backslash with nothing but blanks after it on its line.
    bool AtContinuation() const {
        if (p_ >= end_ || *p_ != '\\') return false;
        Ptr q = p_ + 1;
        while (q < end_ && IsBlank(*q)) ++q;
        return q >= end_ || IsLineEnd(*q);
    }

    // One data field: items separated by commas (doubled and trailing ones
    // are harmless) or joined directly where that cannot be misread: next
    // to a quoted string, never between a number and the digits after it.
    // A backslash at the end of a line continues the field on the next.
    bool Field() {
        for (;;) {
            const bool quoted = *p_ == '"' || *p_ == '\'';
            if (!Item()) return false;
            bool comma = false;
            while (p_ < end_ && *p_ == ',') {
                ++p_;
                comma = true;
            }
            if (AtContinuation()) {
                // The line end goes as if the two lines were one: blanks at
                // the start of the next one end the field.
                SkipToLineEnd();
                NextLine();
                if (AtLineEnd() || IsBlank(*p_) || AtCommentStart()) return true;
                continue;
            }
            if (AtLineEnd() || IsBlank(*p_) || AtCommentStart()) return true;
            if (!AtItemStart()) return BadChar(p_);
            if (comma || quoted || *p_ == '"' || *p_ == '\'') continue;
            Error(Here(p_), tr("между числом и следующими данными нужна запятая"));
            return false;
        }
    }

    bool Item() {
        const char c = *p_, d = Peek(1);
        if (c == '0' && (d == 'x' || d == 'X')) return HexNumber();
        if (c == '0' && (d == 'i' || d == 'I')) return Decimal();
        if (c == '0' && (d == 'n' || d == 'N')) return Binary();
        if (IsHex(c)) return HexBytes();
        if (c == '"' || c == '\'') return Quoted();
        return BadChar(p_);
    }

    bool BadChar(Ptr at) {
        const auto [c, length] = CharAt(at);
        if (IsPlaceholder(c)) {
            Ptr q = at;
            while (q < end_ && q - at < 8 && IsPlaceholder(static_cast<unsigned char>(*q))) ++q;
            Error(Here(at), tr("заполнитель «%1» вместо данных: это шаблон, а не готовый патч")
                                .arg(ShownText(at, q)));
        } else {
            Error(Here(at), tr("недопустимый символ «%1» в данных").arg(Shown(c)));
        }
        return false;
    }

    // Byte pairs: every hexadecimal digit in a row.
    bool HexBytes() {
        const Ptr s = p_;
        while (p_ < end_ && IsHex(*p_)) ++p_;
        if ((p_ - s) & 1) {
            // "AA0x12" lacks a comma; "0G" has a wrong character rather
            // than a missing digit.
            if (p_[-1] == '0' && IsPrefixLetter(Peek())) {
                Error(Here(p_ - 1),
                      tr("между данными и числом «0%1…» нужна запятая").arg(QLatin1Char(*p_)));
                return false;
            }
            if (p_ < end_ && !IsBlank(*p_) && !IsLineEnd(*p_) && *p_ != ',' && *p_ != '"' &&
                *p_ != '\'' && !AtContinuation() && !AtCommentStart())
                return BadChar(p_);
            Error(Here(s), tr("нечётное число шестнадцатеричных цифр"));
            return false;
        }
        for (Ptr q = s; q < p_; q += 2) {
            out_.bytes.push_back(static_cast<std::uint8_t>(HexValue(q[0]) << 4 | HexValue(q[1])));
        }
        return true;
    }

    void PushLittleEndian(std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i)
            out_.bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }

    bool HexNumber() {
        const Ptr s = p_;
        p_ += 2;
        const Ptr digits = p_;
        while (p_ < end_ && IsHex(*p_)) ++p_;
        const qsizetype n = p_ - digits;
        if (n == 0 || n > 8) {
            Error(Here(s), tr("после 0x нужно от 1 до 8 шестнадцатеричных цифр"));
            return false;
        }
        std::uint32_t value = 0;
        for (Ptr q = digits; q < p_; ++q)
            value = value << 4 | static_cast<std::uint32_t>(HexValue(*q));
        PushLittleEndian(value, static_cast<int>((n + 1) / 2));
        return true;
    }

    bool Binary() {
        const Ptr s = p_;
        p_ += 2;
        const Ptr digits = p_;
        while (p_ < end_ && (*p_ == '0' || *p_ == '1')) ++p_;
        const qsizetype n = p_ - digits;
        if (n == 0 || n > 32) {
            Error(Here(s), tr("после 0n нужно от 1 до 32 двоичных цифр"));
            return false;
        }
        std::uint32_t value = 0;
        for (Ptr q = digits; q < p_; ++q) value = value << 1 | static_cast<std::uint32_t>(*q - '0');
        PushLittleEndian(value, static_cast<int>((n + 7) / 8));
        return true;
    }

    // "0i" decimal numbers: the count of digits (without a sign) sets the
    // size, so that leading zeros keep a column of numbers one size.
    bool Decimal() {
        const Ptr s = p_;
        p_ += 2;
        const bool isSigned = Peek() == '+' || Peek() == '-';
        const bool negative = Peek() == '-';
        if (isSigned) ++p_;
        const Ptr digits = p_;
        while (p_ < end_ && IsDigit(*p_)) ++p_;
        const qsizetype n = p_ - digits;
        if (n == 0) {
            Error(Here(s), tr("после 0i нужны десятичные цифры"));
            return false;
        }
        const int size = DecimalSize(n);
        if (size == 0) {
            Error(Here(s), tr("%1: неверное число цифр (нужно 1–3, 5, 8, 10, 13, 15, 17 или 20; "
                              "дополните нулями)")
                               .arg(ShownText(s, p_)));
            return false;
        }
        std::uint64_t value = 0;
        bool overflow = false;
        for (Ptr q = digits; q < p_; ++q) {
            const auto digit = static_cast<std::uint64_t>(*q - '0');
            if (value > (UINT64_MAX - digit) / 10) overflow = true;
            value = value * 10 + digit;
        }
        const int bits = 8 * size;
        const std::uint64_t unsignedMax = bits == 64 ? UINT64_MAX : (std::uint64_t{1} << bits) - 1;
        const std::uint64_t half = std::uint64_t{1} << (bits - 1);
        const std::uint64_t max = !isSigned ? unsignedMax : negative ? half : half - 1;
        if (overflow || value > max) {
            const QString range = !isSigned ? QStringLiteral("0…%1").arg(unsignedMax)
                                            : QStringLiteral("-%1…+%2").arg(half).arg(half - 1);
            Error(Here(s), tr("%1 вне пределов %2").arg(ShownText(s, p_), range));
            return false;
        }
        PushLittleEndian(negative ? 0 - value : value, size);
        return true;
    }

    // "..." gives Windows-1251 bytes, '...' UTF-16LE units.
    void PushUnit(std::uint32_t unit, bool wide) {
        out_.bytes.push_back(static_cast<std::uint8_t>(unit));
        if (wide) out_.bytes.push_back(static_cast<std::uint8_t>(unit >> 8));
    }

    bool Quoted() {
        const Mark start = MarkAt(p_);
        const char quote = *p_++;
        const bool wide = quote == '\'';
        for (;;) {
            if (AtLineEnd()) {
                Error(Locate(start), tr("кавычка не закрыта до конца строки"));
                return false;
            }
            const char c = *p_, d = Peek(1);
            if (c == quote) {
                ++p_;
                return true;
            }
            if (c == '\\') {
                if (!Escape(wide)) return false;
                continue;
            }
            if ((c == '/' && (d == '*' || d == '/')) || (c == '*' && d == '/')) {
                Error(Here(p_), tr("«%1» в строке нужно записать через \\/ или \\*")
                                    .arg(QLatin1StringView(p_, 2)));
                return false;
            }
            const auto [ch, length] = CharAt(p_);
            if (wide) {
                if (ch > 0xFFFF) {
                    PushUnit(0xD800 + ((ch - 0x10000) >> 10), true);
                    PushUnit(0xDC00 + ((ch - 0x10000) & 0x3FF), true);
                } else {
                    PushUnit(ch, true);
                }
            } else if (!utf8_) {
                PushUnit(static_cast<unsigned char>(c), false);
            } else {
                const int byte = Windows1251Byte(ch);
                if (byte < 0) {
                    Error(Here(p_), tr("символа «%1» нет в кодировке Windows-1251").arg(Shown(ch)));
                    return false;
                }
                PushUnit(static_cast<std::uint32_t>(byte), false);
            }
            p_ += length;
        }
    }

    // A backslash sequence inside quotes, p_ on the backslash.
    bool Escape(bool wide) {
        const Ptr e = p_;
        if (end_ - p_ < 2) {
            ++p_;
            return true;  // the quote is then reported unclosed
        }
        const char n = p_[1];
        if (IsLineEnd(n)) {
            ++p_;
            NextLine();
            return true;
        }
        static constexpr struct {
            char letter;
            char value;
        } kSimple[] = {{'a', 7},   {'b', 8},   {'t', 9},     {'r', 13},    {'n', 10},
                       {'v', 11},  {'f', 12},  {'e', 27},    {'\\', '\\'}, {'/', '/'},
                       {'*', '*'}, {'"', '"'}, {'\'', '\''}, {'`', '`'}};
        for (const auto& s : kSimple) {
            if (n == s.letter) {
                PushUnit(static_cast<unsigned char>(s.value), wide);
                p_ += 2;
                return true;
            }
        }
        if (n == 'x' || (n == 'u' && wide)) {
            const int digits = n == 'x' ? 2 : 4;
            std::uint32_t value = 0;
            for (int k = 0; k < digits; ++k) {
                const char h = Peek(2 + k);
                if (!IsHex(h)) {
                    Error(Here(e), tr("после «\\%1» нужно %2 шестнадцатеричные цифры")
                                       .arg(QLatin1Char(n))
                                       .arg(digits));
                    return false;
                }
                value = value << 4 | static_cast<std::uint32_t>(HexValue(h));
            }
            if (!wide && value >= 0x7F) {
                Error(Here(e), tr("«%1» в строке \"…\": допустимы только значения ниже \\x7F")
                                   .arg(ShownText(e, e + 4)));
                return false;
            }
            PushUnit(value, wide);
            p_ += 2 + digits;
            return true;
        }
        if (n >= '0' && n <= '7') {
            std::uint32_t value = 0;
            Ptr q = p_ + 1;
            while (q < end_ && q < p_ + 4 && *q >= '0' && *q <= '7')
                value = value * 8 + static_cast<std::uint32_t>(*q++ - '0');
            if (value > 0xFF) {
                Error(Here(e), tr("«%1»: восьмеричное значение больше 0xFF").arg(ShownText(e, q)));
                return false;
            }
            PushUnit(value, wide);
            p_ = q;
            return true;
        }
        Error(Here(e), tr("неизвестная последовательность «\\%1»").arg(Shown(CharAt(e + 1).first)));
        return false;
    }

    Ptr p_;
    Ptr end_;
    Ptr lineStart_;
    VkpFile& out_;
    int line_ = 1;
    bool utf8_ = false;
    bool stopped_ = false;
    std::uint8_t flags_ = kVkpInitialFlags;
    std::int64_t offset_ = 0;
};

}  // namespace

VkpFile ReadVkp(QByteArrayView text) {
    VkpFile file;
    VkpReader(text, file).Read();
    return file;
}

namespace {

// The bytes of a patch file, at most kVkpMaxFileSize of them.
Status ReadVkpBytes(const QString& fileName, QByteArray& bytes) {
    QFile in(fileName);
    if (!in.open(QIODevice::ReadOnly)) {
        return Status::IoError(
            QCoreApplication::translate("VkpReader", "Не удалось прочитать файл \"%1\": %2")
                .arg(fileName, in.errorString()));
    }
    if (in.size() > kVkpMaxFileSize) {
        return Status::IoError(
            QCoreApplication::translate(
                "VkpReader", "Файл \"%1\" слишком велик для патча: %2 МиБ (не больше %3 МиБ)")
                .arg(fileName)
                .arg(in.size() / (1024 * 1024))
                .arg(kVkpMaxFileSize / (1024 * 1024)));
    }
    bytes = in.read(kVkpMaxFileSize + 1);
    if (in.error() != QFileDevice::NoError || bytes.size() > kVkpMaxFileSize) {
        return Status::IoError(
            QCoreApplication::translate("VkpReader", "Не удалось прочитать файл \"%1\": %2")
                .arg(fileName, in.errorString()));
    }
    return Status::Ok();
}

}  // namespace

Status ReadVkpFile(const QString& fileName, VkpFile& file) {
    file = VkpFile();
    QByteArray text;
    if (Status status = ReadVkpBytes(fileName, text); !status.ok()) return status;
    file = ReadVkp(text);
    return Status::Ok();
}

Status ReadVkpText(const QString& fileName, QString& text) {
    text.clear();
    QByteArray bytes;
    if (Status status = ReadVkpBytes(fileName, bytes); !status.ok()) return status;
    if (bytes.startsWith("\xEF\xBB\xBF")) bytes.remove(0, 3);
    text = IsValidUtf8(bytes.constData(), bytes.constData() + bytes.size())
               ? QString::fromUtf8(bytes)
               : DecodeWindows1251(bytes);
    return Status::Ok();
}

}  // namespace vorlix
