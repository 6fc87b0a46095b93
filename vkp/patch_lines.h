#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace vorlix {

class Picture;

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

// The line that changes the picture's index record, from the first byte that
// differs between the base and the working image to the record's end;
// nothing when the record is unchanged.
void AppendRecordLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines);

// The lines of the picture's current data, every byte of it, `maxLength`
// bytes a line (values below 1 count as 1), the last line shorter.
void AppendDataLines(const Picture& picture, std::int32_t fullFlash, std::int32_t maxLength,
                     QStringList& lines);

// One line that fills the picture's current data with 0xFF, never split. A
// picture without data bytes gets no line: it would carry nothing.
void AppendFillLine(const Picture& picture, std::int32_t fullFlash, QStringList& lines);

}  // namespace vorlix
