#include "patch/stacked_open.h"

#include <QCoreApplication>

#include "settings/settings.h"

namespace vorlix {

namespace {

struct InstalledPatches {
    Q_DECLARE_TR_FUNCTIONS(InstalledPatches)
};

}  // namespace

OpenOutcome OpenFullFlashStacked(FlashSession& session, const QString& path, OpenHooks hooks,
                                 const std::function<InstalledPatchList()>& patches, Prompt& prompt,
                                 PatchStack& stack) {
    PatchStack next;
    const auto status = hooks.status;
    hooks.placed = [&](WritableImageBytes base, std::vector<ImageRange>& reserved) {
        const InstalledPatchList list = patches ? patches() : InstalledPatchList();
        if (list.empty()) return true;
        if (status) status(InstalledPatches::tr("Наложение установленных патчей"));
        if (!StackInstalledPatches(list, base, session.settings().FullFlash, prompt, next).ok())
            return false;
        reserved = next.reserved;
        return true;
    };
    OpenOutcome outcome = OpenFullFlash(session, path, hooks);
    if (outcome.result == OpenResult::Opened || outcome.result == OpenResult::Stopped)
        stack = std::move(next);
    return outcome;
}

}  // namespace vorlix
