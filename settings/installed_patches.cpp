#include "settings/installed_patches.h"

#include "settings/settings.h"

namespace vorlix {

namespace {

QString PathName(int i) { return QStringLiteral("InstalledPatch%1").arg(i); }
QString OnName(int i) { return QStringLiteral("InstalledPatchOn%1").arg(i); }

}  // namespace

InstalledPatchList ReadInstalledPatches(const SettingsStore& store, const QString& modelKey) {
    const QHash<QString, QString> values = store.ReadAllValues(modelKey);
    InstalledPatchList patches;
    for (int i = 0;; ++i) {
        const QString path = values.value(PathName(i));
        if (path.isEmpty()) break;
        patches.push_back({path, values.value(OnName(i)).trimmed() != QLatin1String("0")});
    }
    return patches;
}

Status WriteInstalledPatches(SettingsStore& store, const QString& modelKey,
                             const InstalledPatchList& patches) {
    const int n = static_cast<int>(patches.size());
    for (int i = 0; i < n; ++i) {
        const InstalledPatch& p = patches[static_cast<std::size_t>(i)];
        if (Status s = store.WriteValue(modelKey, PathName(i), p.path); !s.ok()) return s;
        if (Status s = store.WriteValue(modelKey, OnName(i),
                                        p.on ? QStringLiteral("1") : QStringLiteral("0"));
            !s.ok())
            return s;
    }
    if (!store.ReadAllValues(modelKey).value(PathName(n)).isEmpty())
        return store.WriteValue(modelKey, PathName(n), QString());
    return Status::Ok();
}

}  // namespace vorlix
