#include "patch/apply_files.h"

#include <QFileInfo>
#include <vector>

#include "session/flash_session.h"
#include "settings/settings.h"

namespace vorlix {

Status ApplyPatchFiles(FlashSession& session, const QStringList& fileNames,
                       PatchDirection direction, Prompt& prompt, const PatchWarnings& warn,
                       ApplyCounts* counts) {
    std::vector<PatchSource> sources(static_cast<std::size_t>(fileNames.size()));
    for (qsizetype i = 0; i < fileNames.size(); ++i) {
        PatchSource& source = sources[static_cast<std::size_t>(i)];
        source.name = QFileInfo(fileNames[i]).fileName();
        if (Status status = ReadVkpFile(fileNames[i], source.file); !status.ok()) return status;
    }
    return ApplyPatchSources(sources, direction, session.image(), session.settings().FullFlash,
                             prompt, warn, counts);
}

Status ApplyPatchFile(FlashSession& session, const QString& fileName, Prompt& prompt,
                      const PatchWarnings& warn, ApplyCounts* counts) {
    return ApplyPatchFiles(session, {fileName}, PatchDirection::Apply, prompt, warn, counts);
}

}  // namespace vorlix
