#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "common/prompt.h"
#include "common/status.h"
#include "patch/progress.h"

namespace vorlix {

class FlashSession;
class Picture;

// The key that a picture file's name carries: the name without its folder
// ("/" and "\" both separate) must begin with "PIT_" and go on with six
// hexadecimal digits, in any letter case; whatever follows is ignored. The
// key is the six digits upper-cased, as the "PIT" column shows them.
std::optional<QString> BatchFileKey(const QString& fileName);

// The row each file goes onto: the first row whose "PIT" text equals the
// file's key; -1 for a file without a valid key or without such a row.
std::vector<int> MatchBatchFiles(const FlashSession& session, const QStringList& files);

// "Удачно заменено N картинок из M выбранных".
QString BatchClosingText(int replaced, int chosen);

struct BatchResult {
    int chosen = 0;    // M: files given
    int replaced = 0;  // N: files whose picture data was placed
    int lastRow = -1;  // row of the last picture matched, -1 when none
    Picture* last = nullptr;
    QStringList unmatched;  // names that match no picture (no valid key, or no row)
    QStringList skipped;    // files passed over on the caller's word
    QStringList notPlaced;  // files whose new data found no place
    int sizeChanged = 0;    // replaced pictures that took another size
};

// The closing text followed by what became of the files not replaced (their
// names without folders) and the count of pictures whose size changed.
QString BatchReportText(const BatchResult& result);

// Replaces, file by file in the given order, the picture of the first row
// whose "PIT" text equals the file's key, and rewrites that row. Files
// without a valid key or a matching row, and the files in `skip`, are
// passed over. A file that cannot be read ends the command with its error,
// which also tells how many pictures were replaced before it and how many
// files were not processed; it is returned for the caller to show. The
// files before it stay replaced.
[[nodiscard]] Status BatchReplace(FlashSession& session, const QStringList& files,
                                  BatchResult& result, const ProgressSink& progress = {},
                                  const QStringList& skip = {});

}  // namespace vorlix
