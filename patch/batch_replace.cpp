#include "patch/batch_replace.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QSet>
#include <algorithm>

#include "common/name_list.h"
#include "picture/picture.h"
#include "session/flash_session.h"
#include "session/pit_name.h"

namespace vorlix {

namespace {

// Upper-cases ASCII letters only, so that no other letter can pass for
// one of the key's characters.
char16_t AsciiUpper(QChar c) {
    const char16_t u = c.unicode();
    return u >= u'a' && u <= u'z' ? char16_t(u - u'a' + u'A') : u;
}

bool IsHexDigit(char16_t u) { return (u >= u'0' && u <= u'9') || (u >= u'A' && u <= u'F'); }

struct BatchReplaceText {
    Q_DECLARE_TR_FUNCTIONS(BatchReplace)
};

// The report lists at most this many names of one kind, then how many more.
constexpr int kListedNames = 5;

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

std::vector<int> MatchBatchFiles(const FlashSession& session, const QStringList& files) {
    // The first row of each picture's file name; replacements never change
    // where its index record lies.
    QHash<QString, int> rowOfName;
    for (int r = static_cast<int>(session.Slots.size()) - 1; r >= 0; --r) {
        if (const QString name = PitFileName(session, r); !name.isEmpty())
            rowOfName.insert(name, r);
    }
    std::vector<int> rows;
    rows.reserve(static_cast<std::size_t>(files.size()));
    for (const QString& file : files) {
        const std::optional<QString> key = BatchFileKey(file);
        rows.push_back(key ? rowOfName.value(QStringLiteral("PIT_") + *key, -1) : -1);
    }
    return rows;
}

QString BatchClosingText(int replaced, int chosen) {
    return BatchReplaceText::tr("Удачно заменено %n картинок из %1 выбранных", nullptr, replaced)
        .arg(chosen);
}

QString BatchReportText(const BatchResult& result) {
    QString text = BatchClosingText(result.replaced, result.chosen);
    if (!result.unmatched.isEmpty())
        text += BatchReplaceText::tr("; нет такой картинки: %1").arg(NameList(result.unmatched, kListedNames));
    if (!result.skipped.isEmpty())
        text += BatchReplaceText::tr("; пропущены: %1").arg(NameList(result.skipped, kListedNames));
    if (!result.notPlaced.isEmpty())
        text += BatchReplaceText::tr("; не хватило места: %1").arg(NameList(result.notPlaced, kListedNames));
    if (result.sizeChanged > 0)
        text += BatchReplaceText::tr("; размер изменён: %1").arg(result.sizeChanged);
    return text;
}

Status BatchReplace(FlashSession& session, const QStringList& files, BatchResult& result,
                    const ProgressSink& progress, const QStringList& skip) {
    result = BatchResult();
    result.chosen = static_cast<int>(files.size());
    const std::vector<int> rows = MatchBatchFiles(session, files);
    const QSet<QString> skipped(skip.begin(), skip.end());

    progress.Maximum(result.chosen);
    for (int k = 0; k < result.chosen; ++k) {
        progress.Position(k);
        const QString name = QFileInfo(files[k]).fileName();
        const int row = rows[static_cast<std::size_t>(k)];
        if (row < 0) {
            result.unmatched << name;
            continue;
        }
        Picture* picture = session.PictureOfRow(row);
        if (!picture) continue;
        if (skipped.contains(files[k])) {
            result.skipped << name;
            continue;
        }

        const int widthBefore = picture->Width(), heightBefore = picture->Height();
        const Replacement replaced = picture->LoadBmp(files[k], &session.Pictures,
                                                      session.settings().KeepDepthAndCompression);
        if (const Status& status = replaced.status; !status.ok()) {
            progress.Position(0);
            return status.WithMessage(
                status.message() + QLatin1Char('\n') +
                BatchReplaceText::tr(
                    "До этого файла заменено картинок: %1. Не обработано файлов, включая "
                    "этот: %2 из %3.")
                    .arg(result.replaced)
                    .arg(result.chosen - k)
                    .arg(result.chosen));
        }
        if (replaced.placed()) {
            ++result.replaced;
            if (picture->Width() != widthBefore || picture->Height() != heightBefore)
                ++result.sizeChanged;
        } else {
            result.notPlaced << name;
        }
        session.WriteRowAfterReplace(row);
        result.last = picture;
        result.lastRow = row;
    }
    progress.Position(0);
    return Status::Ok();
}

}  // namespace vorlix
