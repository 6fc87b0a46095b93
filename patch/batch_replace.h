#pragma once

#include <QString>
#include <QStringList>
#include <optional>

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

// "Удачно заменено N картинок из M выбранных".
QString BatchClosingText(int replaced, int chosen);

struct BatchResult {
    int chosen = 0;    // M: files given
    int replaced = 0;  // N: files whose picture data was placed
    int lastRow = -1;  // row of the last picture matched, -1 when none
    Picture* last = nullptr;
};

// Replaces, file by file in the given order, the picture of the first row
// whose "PIT" text equals the file's key, and rewrites that row. Files
// without a valid key or a matching row are passed over. A file that cannot
// be read ends the command with its error, shown through `prompt` and
// returned; the files before it stay replaced.
[[nodiscard]] Status BatchReplace(FlashSession& session, const QStringList& files, Prompt& prompt,
                                  BatchResult& result, const ProgressSink& progress = {});

}  // namespace vorlix
