#pragma once

#include <QStringList>
#include <cstdint>

#include "vkp/patch_lines.h"

namespace vorlix {

class Picture;

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
