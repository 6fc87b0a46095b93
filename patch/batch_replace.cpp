#include "patch/batch_replace.h"

#include <QHash>
#include <algorithm>

#include "session/flash_session.h"
#include "picture/picture.h"

namespace vorlix {

namespace {

// Upper-cases ASCII letters only, so that no other letter can pass for
// one of the key's characters.
char16_t AsciiUpper(QChar c) {
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? char16_t(u - u'a' + u'A') : u;
}

bool IsHexDigit(char16_t u) { return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F'); }

}  // namespace

std::optional<QString> BatchFileKey(const QString& fileName) {
    const qsizetype slash = std::max(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
    const QStringView name = QStringView(fileName).mid(slash + 1);
    static constexpr char16_t kPrefix[] = u"PIT_";
    if (name.size() < 10) return std::nullopt;
    for (int i = 0; i < 4; ++i) {
        if (AsciiUpper(name[i]) != kPrefix[i]) return std::nullopt;
    }
    QString key(6, Qt::Uninitialized);
    for (int i = 0; i < 6; ++i) {
        const char16_t u = AsciiUpper(name[4 + i]);
        if (!IsHexDigit(u)) return std::nullopt;
        key[i] = QChar(u);
    }
    return key;
}

QString BatchClosingText(int replaced, int chosen) {
    return QStringLiteral("Удачно заменено %1 картинок из %2 выбранных").arg(replaced).arg(chosen);
}

Status BatchReplace(FlashSession& session, const QStringList& files, Prompt& prompt,
                    BatchResult& result, const ProgressSink& progress) {
    result = BatchResult();
    result.chosen = static_cast<int>(files.size());

    // The first row of each "PIT" text; replacements never change that column.
    QHash<QString, int> rowOfKey;
    for (int r = static_cast<int>(session.Rows.size()) - 1; r >= 0; --r) {
        rowOfKey.insert(session.Rows[r][ColPIT], r);
    }

    progress.Maximum(result.chosen);
    for (int k = 0; k < result.chosen; ++k) {
        progress.Position(k);
        const std::optional<QString> key = BatchFileKey(files[k]);
        if (!key) continue;
        const auto found = rowOfKey.constFind(*key);
        if (found == rowOfKey.constEnd()) continue;
        const int row = found.value();
        Picture* picture = session.PictureOfRow(row);
        if (!picture) continue;

        bool placed = false;
        if (Status status = picture->LoadBmp(files[k], &placed, &session.Pictures); !status.ok()) {
            progress.Position(0);
            prompt.Error(status.message());
            return status;
        }
        if (placed) ++result.replaced;
        session.WriteRowAfterReplace(row);
        result.last = picture;
        result.lastRow = row;
    }
    progress.Position(0);
    return Status::Ok();
}

}  // namespace vorlix
