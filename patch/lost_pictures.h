#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace vorlix {

class FlashSession;
struct SizeWarning;

// Which listed pictures a replacement would take out of the list. A record
// that fails the record test is not listed after the patch, and a table
// walk ends at it, so the pictures after it in its table are lost with it.
// Nothing short of the search itself tells which, so the step is made on
// trial: the search runs over the working image before and after it (as
// the next open of the patched firmware would search), and the step is
// undone exactly, the pictures, their rows and every byte it touched.
// Returns the rows of the pictures found before and not after, in list
// order.
std::vector<int> RowsLostBy(FlashSession& session, const std::vector<int>& rows,
                            const std::function<void()>& step);

// The trial of replacing the picture of `row` by `file`, or by `image` when
// it is not null (the clipboard's).
std::vector<int> RowsLostByReplacing(FlashSession& session, int row, const QString& file,
                                     const QImage* image = nullptr);

// The trial of a batch, file by file as the batch replacement goes, the
// files in `skip` passed over.
std::vector<int> RowsLostByBatch(FlashSession& session, const QStringList& files,
                                 const QStringList& skip = {});

// "№31 (PIT 670010), №32 (PIT 670020)": the rows as the list shows them,
// at most fifteen, then how many more.
QString LostPicturesList(const FlashSession& session, const std::vector<int>& rows);

// What the user is told before such a replacement: how many pictures the
// list would lose after the patch, and which; empty for no rows.
QString LostPicturesText(const FlashSession& session, const std::vector<int>& rows);

// The questions' line on the pictures lost: for a picture larger than the
// model's largest size the trial is made and its losses named; other sizes
// keep every picture, and give the empty text.
QString LostByReplacingText(FlashSession& session, const SizeWarning& warning, int row,
                            const QString& file, const QImage* image = nullptr);
QString LostByBatchText(FlashSession& session, const std::vector<SizeWarning>& warnings,
                        const QStringList& files);

}  // namespace vorlix
