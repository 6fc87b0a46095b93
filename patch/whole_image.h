#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "patch/progress.h"

namespace vorlix {

class FlashSession;
struct ListRow;

struct FillCounts {
    int total = 0;     // T: pictures found in all
    int extended = 0;  // E: of these, found through the ExtPIT
};
// "Всего T картинок, из них T-E в PIT и E в ExtPIT".
QString FillCountsText(const FillCounts& counts);

// Fill pictures with FF: walks the sPIT and the ExtPIT of the base image and
// appends to `lines` a patch that turns every index record, ExtPIT entry and
// picture data into 0xFF bytes. Neither image changes, but the session's
// picture list is emptied first (its rows stay, without pictures). Walks
// end where a record, entry or slot would leave the image.
FillCounts FillPicturesWithFF(FlashSession& session, QStringList& lines,
                              const ProgressSink& progress = {});

// Re-create all graphics: empties the "Compressed" text of every row that is
// not modified.
void RecreateAllGraphics(FlashSession& session, const ProgressSink& progress = {});

}  // namespace vorlix
