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

struct ListRow {
    std::array<QString, kColumnCount> texts;
    const QString& operator[](int c) const { return texts[c]; }
    QString& operator[](int c) { return texts[c]; }
};

// An open FullFlash: the image arrays, the pictures found and their list
// rows, and the path of the file. The window and the command line each own
// one; the settings are the run's single instance.
class FlashSession {
public:
    explicit FlashSession(Settings& settings) : settings_(settings) {}

    Settings& settings() { return settings_; }
    const Settings& settings() const { return settings_; }
    FlashImage& image() { return image_; }
    const FlashImage& image() const { return image_; }

    PictureList Pictures;
    std::vector<ListRow> Rows;
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
    // Rewrites the columns that a replacement changes ("Compressed",
    // "Depth", "X", "Y", "Data", "Length", and "Modifyed", which is "yes"
    // exactly when the picture is Modified).
    void WriteRowAfterReplace(int row);

    // Destroys every picture and empties the rows.
    void ClearPictures();

private:
    Settings& settings_;
    FlashImage image_;
};

// Texts of a freshly found picture's row.
ListRow MakeRow(const Picture& picture, const PitRecord& record, std::int32_t foundPos, int found,
                const Settings& settings);

}  // namespace vorlix
