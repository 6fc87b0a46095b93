#include "patch/stacked_open.h"

#include <QCoreApplication>

#include "settings/settings.h"

namespace vorlix {

namespace {

struct InstalledPatches {
    Q_DECLARE_TR_FUNCTIONS(InstalledPatches)
};

}  // namespace

OpenResult OpenFullFlashStacked(FlashSession& session, const QString& path, OpenHooks hooks,
                                const std::function<InstalledPatchList()>& patches,
                                PatchStack& stack) {
    PatchStack next;
    const auto status = hooks.status;
    hooks.placed = [&](WritableImageBytes base, std::vector<ImageRange>& reserved) {
        const InstalledPatchList list = patches ? patches() : InstalledPatchList();
        if (list.empty()) return true;
        if (status) status(InstalledPatches::tr("Наложение установленных патчей"));
        Settings& settings = session.settings();
        if (!StackInstalledPatches(list, base, settings.FullFlash, settings.prompt(), next).ok())
            return false;
        reserved = next.reserved;
        return true;
    };
    const OpenResult result = OpenFullFlash(session, path, hooks);
    if (result == OpenResult::Opened || result == OpenResult::Stopped) stack = std::move(next);
    return result;
}

}  // namespace vorlix
