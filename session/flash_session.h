#pragma once

#include <QString>
#include <array>
#include <functional>
#include <vector>

#include "common/prompt.h"
#include "common/status.h"
#include "image/flash_image.h"
#include "picture/picture.h"
#include "settings/settings.h"

namespace vorlix {

// Columns of the picture list, in order. A tenth text, empty, follows
// "Modifyed"; it has no column.
enum Column : int {
    ColNumber,      // "№": 1-based position of the row's picture in Pictures
    ColCompressed,  // "yes" or empty
    ColDepth,
    ColX,
    ColY,
    ColPIT,   // file offset of the index record, "%06X"
    ColData,  // file offset of the data, "%06X"
    ColLength,
    ColModified,  // "Modifyed": "yes" or empty
    ColExtra,
    kColumnCount
};
// The captions of the shown columns, in the language in force.
QString ColumnCaption(int column);

// The texts of one row, as RowText derives them; a copy, never state.
struct ListRow {
    std::array<QString, kColumnCount> texts;
    const QString& operator[](int c) const& { return texts[c]; }
    QString& operator[](int c) & { return texts[c]; }
    // A derived row read in passing: its texts read, never written.
    const QString operator[](int c) && { return texts[c]; }
};

// The "yes" of the "Compressed" and "Modifyed" columns.
extern const QString kRowYes;

// What a list row holds: the picture it shows, by its "№" and the position
// of its index record, and whether the re-create command emptied its
// "Compressed" text. Everything the row shows is derived from its picture;
// a row that outlived its picture (the fill command empties the pictures)
// still shows its "№" and "PIT", by which a batch still finds it.
struct RowSlot {
    int number = 0;
    std::int32_t recordPos = 0;
    bool compressedCleared = false;
    bool operator==(const RowSlot&) const = default;
};

class FlashSession;

// The rows of the list as texts: a read-only view over a session whose
// every text is derived on demand from the row's picture.
class RowTexts {
  public:
    explicit RowTexts(const FlashSession& session) : session_(session) {}
    std::size_t size() const;
    bool empty() const { return size() == 0; }
    ListRow operator[](std::size_t row) const;
    ListRow at(std::size_t row) const;
    operator std::vector<ListRow>() const;

  private:
    const FlashSession& session_;
};

// An open FullFlash: the image arrays, the pictures found and their list
// rows, and the path of the file. The window and the command line each own
// one; the settings are the run's single instance.
class FlashSession {
  public:
    explicit FlashSession(Settings& settings) : settings_(settings) {}
    FlashSession(const FlashSession&) = delete;
    FlashSession& operator=(const FlashSession&) = delete;

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    FlashImage& image() { return image_; }
    const FlashImage& image() const { return image_; }

    PictureList Pictures;
    // The list's rows, what each holds and its texts derived.
    std::vector<RowSlot> Slots;
    const RowTexts Rows{*this};
    QString FilePath;           // empty: no FullFlash open
    std::int64_t FileSize = 0;  // bytes of the open file
    // The user accepted an unchecked placement area for the open firmware
    // (see ConfirmPlacementArea); every open starts without.
    bool PlacementAreaAccepted = false;

    bool IsOpen() const { return !FilePath.isEmpty(); }

    // The picture of a row, found through its "№" text; null when the row
    // names no picture that exists (for instance after the fill command
    // emptied the list).
    Picture* PictureOfRow(int row) const;

    // The add-picture step of a search: builds the Picture for the record
    // at `foundPos`, appends it and a row numbered `found`.
    void AddFoundPicture(std::int32_t foundPos, const PitRecord& record, int found);
    // A replacement changed the row's picture: its "Compressed" text shows
    // the picture's type again.
    void WriteRowAfterReplace(int row);

    // Destroys every picture and empties the rows.
    void ClearPictures();
    // Empties the rows only.
    void ClearRows() { Slots.clear(); }

  private:
    Settings& settings_;
    FlashImage image_;
};

// The text of a row's cell, derived from the row's picture: the one source
// of what the list, the gallery and `vorlix-cli list` show. A row without a
// picture shows its "№" and "PIT" only.
QString RowText(const FlashSession& session, int row, int column);
// Every text of a row.
ListRow MakeRowTexts(const FlashSession& session, int row);

}  // namespace vorlix
