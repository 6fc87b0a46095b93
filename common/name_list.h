#pragma once

#include <QString>
#include <QStringList>

namespace vorlix {

// Names as a message lists them: the first `shown` joined by commas, then
// how many more there are ("a, b, c, и ещё 4").
QString NameList(const QStringList& names, qsizetype shown);

}  // namespace vorlix
