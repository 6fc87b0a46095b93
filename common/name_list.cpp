#include "common/name_list.h"

#include <QCoreApplication>

namespace vorlix {

namespace {

struct NameListText {
    Q_DECLARE_TR_FUNCTIONS(NameList)
};

}  // namespace

QString NameList(const QStringList& names, qsizetype shown) {
    QStringList listed = names.mid(0, shown);
    if (names.size() > shown) listed << NameListText::tr("и ещё %1").arg(names.size() - shown);
    return listed.join(QStringLiteral(", "));
}

}  // namespace vorlix
