#pragma once

#include <QByteArrayView>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "common/status.h"

namespace vorlix {

// The switches a V_Klay file turns with "#pragma enable NAME" and
// "#pragma disable NAME"; every record carries those in force where it
// stands.
enum VkpFlag : std::uint8_t {
    // A record without old data gets as many 0xFF bytes as it has new ones.
    kOldEqualFF = 0x01,
    kWarnNoOldOnApply = 0x02,
    kWarnIfNewExistOnApply = 0x04,
    kWarnIfOldExistOnUndo = 0x08,
    // Undo restores the record; off, undo leaves it as it is.
    kUndo = 0x10,
};
inline constexpr std::uint8_t kVkpInitialFlags =
    kWarnNoOldOnApply | kWarnIfNewExistOnApply | kWarnIfOldExistOnUndo | kUndo;

// Where something stands in the text: 1-based line and column (characters,
// not bytes, in a UTF-8 file).
struct VkpLocation {
    int line = 0;
    int column = 0;
};

struct VkpDiagnostic {
    VkpLocation at;
    QString message;
};

// One record: the address (with the offset in force added), the new bytes
// to write there and, when the text gives them (or old_equal_ff makes
// them), the old bytes that must stand there first. Old data may be longer
// than new data: all of it is compared, only the new bytes are written.
struct VkpRecord {
    std::uint32_t address = 0;
    VkpLocation at;              // of the address
    std::uint32_t newFirst = 0;  // slices of VkpFile::bytes
    std::uint32_t newCount = 0;
    std::uint32_t oldFirst = 0;
    std::uint32_t oldCount = 0;
    bool hasOld = false;
    std::uint8_t flags = kVkpInitialFlags;

    bool Has(VkpFlag flag) const { return (flags & flag) != 0; }
    // One past the last address the record writes; never above 2^32.
    std::uint64_t End() const { return std::uint64_t{address} + newCount; }
    // One past the last address the record compares or writes.
    std::uint64_t CheckedEnd() const {
        return std::uint64_t{address} + std::max(newCount, hasOld ? oldCount : 0u);
    }
};

// A V_Klay text as read: its records in file order, and what was wrong
// with it. A file with errors must not be applied; its records are those
// that were read without an error, for showing.
struct VkpFile {
    std::vector<VkpRecord> records;
    std::vector<std::uint8_t> bytes;
    std::vector<VkpDiagnostic> errors;
    std::vector<VkpDiagnostic> warnings;

    bool ok() const { return errors.empty(); }
    std::span<const std::uint8_t> NewBytes(const VkpRecord& r) const {
        return {bytes.data() + r.newFirst, r.newCount};
    }
    std::span<const std::uint8_t> OldBytes(const VkpRecord& r) const {
        return {bytes.data() + r.oldFirst, r.hasOld ? r.oldCount : 0u};
    }
};

// Reading stops after this many errors, so that a file that is no patch at
// all ends quickly with a short report.
inline constexpr int kVkpMaxErrors = 100;
// Larger files are refused unread: the largest patch of a 16 MiB image,
// old and new bytes in full, is smaller.
inline constexpr qint64 kVkpMaxFileSize = 64 * 1024 * 1024;

// Reads a V_Klay text (the bytes as stored: Windows-1251, or UTF-8 when
// the whole text is valid UTF-8, a UTF-8 byte order mark dropped).
[[nodiscard]] VkpFile ReadVkp(QByteArrayView text);

// Reads a file from disk; a file that cannot be read or is larger than
// kVkpMaxFileSize gives an I/O error with a message for the user.
[[nodiscard]] Status ReadVkpFile(const QString& fileName, VkpFile& file);

// A patch file's text as a person reads it, decoded as the reader decodes
// it (UTF-8 when the whole file is valid UTF-8, its byte order mark
// dropped, else Windows-1251), under the same bounds as ReadVkpFile.
[[nodiscard]] Status ReadVkpText(const QString& fileName, QString& text);

}  // namespace vorlix
