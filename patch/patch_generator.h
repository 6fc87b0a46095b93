#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "patch/progress.h"

namespace vorlix {

class FlashSession;

inline const QString kAuthorLinePrefix = QStringLiteral(";Автор патча: ");
inline const QString kGeneratedLinePrefix = QStringLiteral(";Сгенерировано vorlix, версия ");

// Appends the patch of the session's modified rows, in list order, to
// `lines`: the author line (when AuthorName is set), the version line (when
// a taken row is modified), then record and data lines as PlainPatch
// orders them. `selected` null takes every row; otherwise only the rows
// whose flag is set (the "patch only for the selected" mode). Rows whose
// picture no longer exists are passed over. Does nothing when no FullFlash
// is open. Returns the number of pictures that went into the patch.
int GeneratePatch(const FlashSession& session, QStringList& lines,
                  const std::vector<bool>* selected = nullptr, const ProgressSink& progress = {});

}  // namespace vorlix
