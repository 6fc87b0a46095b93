#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

#include "common/prompt.h"
#include "common/status.h"

namespace vorlix {

class FlashImage;
class FlashSession;

inline const QString kUnequalLengthsMessage =
    QStringLiteral("Данные патча и данные для отката имеют различную длину");
inline const QString kOddLengthMessage = QStringLiteral("Данные патча имеют нечётную длину");
inline const QString kMismatchQuestion = QStringLiteral("Данные отката не совпадают. Применять патч?");

// A patch read and checked, ready to be written: its entries in file order,
// each the image offset and the new bytes (a slice of `bytes`).
struct ParsedPatch {
    struct Entry {
        std::int32_t imageOffset = 0;
        std::int32_t first = 0;  // index of the entry's first byte in `bytes`
        std::int32_t count = 0;
    };
    std::vector<Entry> entries;
    std::vector<std::uint8_t> bytes;
    bool checkedAll = true;  // false once the user accepted a mismatch
};

// Reads the patch text (bytes as stored) line by line and checks it against
// the base image: old bytes must stand where a line says, unless the user
// accepts a mismatch, after which nothing more is compared. A line with a
// single data field writes its bytes without any check. Every refusal is
// shown through `prompt` (caption "Ошибка") and returned; the patch is then
// not to be applied. Refused besides the rules of the format: characters
// other than hexadecimal digits in the data (lower-case digits are read as
// upper-case) and bytes outside the image or before the FullFlash.
[[nodiscard]] Status ReadPatch(const QByteArray& text, const std::uint8_t* baseImage,
                               std::int32_t fullFlash, Prompt& prompt, ParsedPatch& patch);

// Writes every entry into the working image, later entries over earlier
// ones, and marks the written bytes occupied in the usage map.
void WritePatch(const ParsedPatch& patch, FlashImage& image);

struct ApplyCounts {
    int entries = 0;
    std::int64_t bytes = 0;
    bool checkedAll = true;
};

// The apply command: reads, checks and, when all of it passes, writes the
// patch file into the session's working image. All or nothing.
[[nodiscard]] Status ApplyPatchFile(FlashSession& session, const QString& fileName, Prompt& prompt,
                                    ApplyCounts* counts = nullptr);
// The same for a patch text already in memory.
[[nodiscard]] Status ApplyPatchText(FlashImage& image, std::int32_t fullFlash,
                                    const QByteArray& text, Prompt& prompt,
                                    ApplyCounts* counts = nullptr);

}  // namespace vorlix
