#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace vorlix {

// Record lines never carry more than the 8 bytes of an index record.
inline constexpr int kRecordLineBytes = 8;

// The offset of a patch line: an image offset minus FullFlash as at least
// six upper-case hexadecimal digits ("%06X"); a negative difference prints
// as its eight-digit two's complement, which reads back to the same value.
QString PatchOffsetText(std::int64_t imageOffset, std::int32_t fullFlash);

// One patch line: "<offset>: <old bytes> <new bytes>", two upper-case
// hexadecimal digits a byte, no separators, no trailing space. `newBytes`
// null stands for `count` bytes 0xFF.
QString MakePatchLine(std::int64_t imageOffset, std::int32_t fullFlash,
                      const std::uint8_t* oldBytes, const std::uint8_t* newBytes, int count);

}  // namespace vorlix
