#pragma once

#include <QStringList>
#include <vector>

namespace vorlix {

class FlashSession;

struct RevertResult {
    // The rows taken back, in list order.
    std::vector<int> rows;
    // "PIT" texts of the pictures taken back whose first data another
    // modified picture still uses: those bytes stay that picture's, so on
    // the phone the picture will not look as it did until that one is taken
    // back too.
    QStringList held;
};

// Takes the pictures of `rows` back to what the firmware holds ("Вернуть
// исходную"; every row for "Вернуть все"). Rows whose picture is not
// Modified are passed over. For each picture taken back:
//  - the bytes its placed data took are free again (erased, and free in the
//    usage map), except where another listed picture's data lies;
//  - its index record and its first data return from the base image into
//    the working image, and that data is occupied again; bytes of that data
//    that a modified picture not taken back now uses stay as they are;
//  - Record, Length, Depth and the bitmaps are those of the firmware,
//    NewData is empty, Modified is cleared, and its row reads as when it
//    was found, so a generated patch no longer holds it.
// All pictures are freed before any is restored, so pictures taken back
// together may have used each other's bytes.
RevertResult RevertPictures(FlashSession& session, const std::vector<int>& rows);

// Every row of the session, for "Вернуть все".
std::vector<int> AllRows(const FlashSession& session);

}  // namespace vorlix
