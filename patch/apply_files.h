#pragma once

#include <QString>
#include <QStringList>

#include "common/prompt.h"
#include "common/status.h"
#include "vkp/patch_apply.h"

namespace vorlix {

class FlashSession;

// ApplyPatchSources for files onto the session's image, in the order
// given; a file that cannot be read comes back as the status and nothing is
// applied.
[[nodiscard]] Status ApplyPatchFiles(FlashSession& session, const QStringList& fileNames,
                                     PatchDirection direction, Prompt& prompt,
                                     const PatchWarnings& warn, ApplyCounts* counts = nullptr);
[[nodiscard]] Status ApplyPatchFile(FlashSession& session, const QString& fileName, Prompt& prompt,
                                    const PatchWarnings& warn, ApplyCounts* counts = nullptr);

}  // namespace vorlix
