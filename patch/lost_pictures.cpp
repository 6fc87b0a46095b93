#include "patch/lost_pictures.h"

#include <QCoreApplication>
#include <algorithm>
#include <unordered_set>

#include "common/name_list.h"
#include "common/prompt.h"
#include "image/record_scan.h"
#include "patch/batch_replace.h"
#include "patch/replacement_size.h"
#include "picture/picture.h"
#include "session/flash_session.h"
#include "session/picture_edit.h"

namespace vorlix {

namespace {

struct LostPicturesTr {
    Q_DECLARE_TR_FUNCTIONS(LostPictures)
};

// A list names at most this many pictures, then how many more.
constexpr qsizetype kListedPictures = 15;

// The record positions that the search finds in the working image.
std::unordered_set<std::int32_t> FoundRecords(const FlashSession& session) {
    const ImageBytes work = session.image().WorkBytes();
    const Settings& settings = session.settings();
    std::unordered_set<std::int32_t> found;
    SearchCallbacks callbacks;
    callbacks.found = [&found](std::int32_t pos, const PitRecord&, int, int) { found.insert(pos); };
    RunPictureSearch(work, PlanSearch(work, settings, settings.SearchType), callbacks);
    return found;
}

}  // namespace

std::vector<int> RowsLostBy(FlashSession& session, const std::vector<int>& rows,
                            const std::function<void()>& step) {
    const std::unordered_set<std::int32_t> before = FoundRecords(session);
    EditRecorder recorder;
    recorder.Begin(session, rows);
    step();
    const PictureEdit edit = recorder.End(session);
    const std::unordered_set<std::int32_t> after = FoundRecords(session);
    edit.Undo(session);

    std::vector<int> lost;
    for (int row = 0; row < static_cast<int>(session.Rows.size()); ++row) {
        const Picture* picture = session.PictureOfRow(row);
        if (picture && before.contains(picture->RecordPos) && !after.contains(picture->RecordPos))
            lost.push_back(row);
    }
    return lost;
}

std::vector<int> RowsLostByReplacing(FlashSession& session, int row, const QString& file,
                                     const QImage* image) {
    Picture* picture = session.PictureOfRow(row);
    if (!picture) return {};
    return RowsLostBy(session, {row}, [&] {
        // A file that cannot be read changes nothing; the replacement
        // itself reports it.
        const bool keepType = session.settings().KeepDepthAndCompression;
        (void)(image ? picture->LoadImage(*image, &session.Pictures, keepType)
                     : picture->LoadBmp(file, &session.Pictures, keepType));
    });
}

std::vector<int> RowsLostByBatch(FlashSession& session, const QStringList& files,
                                 const QStringList& skip) {
    return RowsLostBy(session, MatchBatchFiles(session, files), [&] {
        // Read errors are the batch's own to report; the trial stops there.
        BatchResult result;
        (void)BatchReplace(session, files, result, {}, skip);
    });
}

QString LostPicturesList(const FlashSession& session, const std::vector<int>& rows) {
    QStringList names;
    for (int row : rows) {
        names << LostPicturesTr::tr("№%1 (PIT %2)")
                     .arg(RowText(session, row, ColNumber), RowText(session, row, ColPIT));
    }
    return NameList(names, kListedPictures);
}

QString LostPicturesText(const FlashSession& session, const std::vector<int>& rows) {
    if (rows.empty()) return {};
    return LostPicturesTr::tr(
               "После применения патча программа не найдёт в прошивке эти картинки, строк в "
               "списке станет меньше на %1: %2.")
        .arg(rows.size())
        .arg(LostPicturesList(session, rows));
}

QString LostByReplacingText(FlashSession& session, const SizeWarning& warning, int row,
                            const QString& file, const QImage* image) {
    if (!warning.TooLarge()) return {};
    return LostPicturesText(session, RowsLostByReplacing(session, row, file, image));
}

QString LostByBatchText(FlashSession& session, const std::vector<SizeWarning>& warnings,
                        const QStringList& files) {
    if (std::none_of(warnings.begin(), warnings.end(),
                     [](const SizeWarning& w) { return w.TooLarge(); }))
        return {};
    return LostPicturesText(session, RowsLostByBatch(session, files));
}

}  // namespace vorlix
