#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>

#include "common/prompt.h"
#include "common/status.h"

namespace vorlix {

// The question of the new-patch command; true when the pane may be cleared.
bool ConfirmNewPatch(Prompt& prompt);

// The file name a save writes: with the first filter (index 0) selected,
// the chosen name with ".vkp" appended unless it already ends so; with
// another filter, the name as chosen.
QString PatchSaveName(const QString& chosenName, int filterIndex);

// Patch text as stored: Windows-1251, every line (the last included)
// followed by CR LF. Characters the code page lacks become '?'.
QByteArray EncodePatchText(const QStringList& lines);
// Windows-1251 bytes to text (patch comments hold Cyrillic).
QString DecodeWindows1251(const QByteArray& bytes);

// One character and its Windows-1251 byte: the byte of a character, or -1
// when the code page lacks it; the character of a byte (U+FFFD for the
// unassigned 0x98).
int Windows1251Byte(char32_t character);
char16_t Windows1251Char(std::uint8_t byte);

// Writes the lines to `fileName` in the stored form. The file is replaced
// only once all of it is written.
[[nodiscard]] Status SavePatchFile(const QString& fileName, const QStringList& lines);

}  // namespace vorlix
