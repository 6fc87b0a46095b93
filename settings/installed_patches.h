#pragma once

#include <QString>
#include <vector>

#include "common/status.h"

namespace vorlix {

class SettingsStore;

// A V_Klay patch that stands on the phone (or is meant to): its file, and
// whether the open brings it onto the image.
struct InstalledPatch {
    QString path;
    bool on = true;

    bool operator==(const InstalledPatch&) const = default;
};
using InstalledPatchList = std::vector<InstalledPatch>;

// The installed patches of one model and firmware version, in order, in the
// model's sub-key: "InstalledPatch0", "InstalledPatch1", ... hold the paths
// and "InstalledPatchOn0", ... "0" for a patch switched off (anything else,
// or nothing, is on). The list ends at the first path that is missing or
// empty. A sub-key without these values holds the empty list; reading
// writes nothing.
InstalledPatchList ReadInstalledPatches(const SettingsStore& store, const QString& modelKey);
// Writes the list and ends it with an empty path where a longer list stood.
// A sub-key that never held a list gets no value for an empty one.
[[nodiscard]] Status WriteInstalledPatches(SettingsStore& store, const QString& modelKey,
                                           const InstalledPatchList& patches);

}  // namespace vorlix
