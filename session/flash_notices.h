#pragma once

#include <QString>
#include <cstdint>
#include <optional>

namespace vorlix {

class Settings;

// Plain words for a FullFlash that is not what it seems. The open procedure
// and the search shown by the window and by the command line use these, so
// that both say the same. Nothing here changes a file or the image.

// Why `path` cannot be taken as a FullFlash before anything is read from
// it: it does not exist, is a folder or something else than a regular file,
// cannot be read, or is empty. Nothing when it can be opened.
std::optional<QString> RefusalOfFlashFile(const QString& path);

// The file could not be opened for reading although it looked fine;
// `systemReason` is what the system said.
QString CannotOpenFlashText(const QString& path, const QString& systemReason);

// The file is longer than what the image holds from where it was placed:
// only its first `usedBytes` bytes are in the image. Nothing when the whole
// file is there.
std::optional<QString> FlashCutText(const QString& path, std::int64_t fileSize,
                                    std::int64_t usedBytes);

// The file is shorter than the firmware's flash: `flashSize` bytes (a known
// model's whole dump, else as far as the settings in force reach), of
// which `fileSize` are there. New data is never placed past the file's end.
// Nothing when the file is long enough.
std::optional<QString> FlashShortText(const QString& path, std::int64_t fileSize,
                                      std::int64_t flashSize);

// The file is longer than a whole dump of its known model `modelName`
// (`dumpSize` bytes): the bytes behind are not the phone's flash. Nothing
// when it is not longer.
std::optional<QString> FlashLongText(const QString& path, std::int64_t fileSize,
                                     const QString& modelName, std::int64_t dumpSize);

// A known model met for the first time: `modelAndVersion` has no settings
// yet and takes the values the table of known models holds for
// `modelName`, with address bounds that cover the file.
QString KnownModelValuesText(const QString& modelAndVersion, const QString& modelName,
                             const Settings& settings);

// No build-information block was found: the firmware was not recognised,
// and the settings of `modelAndVersion` (the general ones for "All") stay
// in force.
QString NotRecognisedText(const QString& modelAndVersion);

// A search that found no picture: that the settings it ran with want
// checking, and where it looked by them; `howToCheck` says how the front
// end lets the user do that ("кнопкой «Nastavení»").
QString NoPicturesText(const Settings& settings, bool scanRecords, const QString& howToCheck);

}  // namespace vorlix
