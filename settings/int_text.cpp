#include "settings/settings.h"

namespace vorlix {

namespace {

int HexDigit(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

}  // namespace

std::optional<std::int32_t> ParseIntText(const QString& text) {
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && text[i] == u' ') ++i;

    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }

    // The hexadecimal forms: "$", "x", "X", "0x", "0X".
    qsizetype hexStart = -1;
    if (i < n && (text[i] == u'$' || text[i] == u'x' || text[i] == u'X')) {
        hexStart = i + 1;
    } else if (i + 1 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        hexStart = i + 2;
    }

    if (hexStart >= 0) {
        const qsizetype digits = n - hexStart;
        if (digits < 1 || digits > 8) return std::nullopt;
        std::uint32_t value = 0;
        for (qsizetype k = hexStart; k < n; ++k) {
            const int d = HexDigit(text[k]);
            if (d < 0) return std::nullopt;
            value = (value << 4) | static_cast<std::uint32_t>(d);
        }
        // Eight digits fill all 32 bits: the top bit makes the value negative,
        // and a sign in front negates that 32-bit pattern.
        if (negative) value = 0u - value;
        return static_cast<std::int32_t>(value);
    }

    if (i >= n) return std::nullopt;
    std::int64_t value = 0;
    const std::int64_t limit = negative ? 2147483648LL : 2147483647LL;
    for (; i < n; ++i) {
        const char16_t u = text[i].unicode();
        if (u < u'0' || u > u'9') return std::nullopt;
        value = value * 10 + (u - u'0');
        if (value > limit) return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

QString NotAnIntegerMessage(const QString& text) {
    return QCoreApplication::translate("Settings", "'%1' is not a valid integer value").arg(text);
}

Status ConvertInt(const QString& text, std::int32_t& out) {
    const std::optional<std::int32_t> value = ParseIntText(text);
    if (!value) return Status::InvalidArgument(NotAnIntegerMessage(text));
    out = *value;
    return Status::Ok();
}

QString HexSetting(std::int32_t value) { return QStringLiteral("0x") + Hex6(value); }

QString Hex6(std::int32_t value) {
    return QString::asprintf("%06X", static_cast<unsigned int>(static_cast<std::uint32_t>(value)));
}

}  // namespace vorlix
