#include "session/editing_state.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <cstring>

#include "patch/patch_generator.h"
#include "picture/picture.h"
#include "session/edit_command.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"
#include "vkp/vkp_reader.h"

namespace vorlix {

namespace {

// Records made into pictures per slice of the event loop, and the slice's
// length: long enough to list thousands of pictures quickly, short enough
// that the window repaints between slices.
constexpr std::size_t kDrainBatch = 128;
constexpr int kDrainSliceMs = 30;

struct Region {
    std::int64_t pos = 0;
    std::int64_t length = 0;
};

// The bytes that make a listed picture as it stands: its index record and
// its data.
std::array<Region, 2> RegionsOf(const Picture& picture) {
    return {Region{picture.RecordPos, std::int64_t(sizeof(PitRecord))},
            Region{picture.DataPos(), picture.Length}};
}

QString CheckText(const char* text) {
    return QCoreApplication::translate("vorlix::EditingState", text);
}

}  // namespace

PatchVerdict CheckPatchText(const FlashSession& session, const QByteArray& encoded) {
    PatchVerdict verdict;
    const std::int32_t fullFlash = session.settings().FullFlash;
    PatchSource source{QString(), ReadVkp(encoded)};
    // A text of comments alone writes nothing, so nothing can differ.
    if (source.file.ok() && source.file.records.empty()) return verdict;
    const PatchCheck check = CheckPatches(std::span(&source, 1), PatchDirection::Apply, fullFlash,
                                          session.image().Size());
    for (const PatchProblem& p : check.errors)
        verdict.mismatches.push_back({p.at.line, -1, QString(), p.message});
    if (!check.ok()) return verdict;

    const FlashImage& image = session.image();
    std::vector<std::uint8_t> result(image.BaseImage(), image.BaseImage() + image.Size());
    std::vector<std::uint8_t> written(static_cast<std::size_t>(image.Size()), 0);
    // The last record that wrote each region, for naming the line.
    const VkpFile& file = source.file;
    for (const VkpRecord& r : file.records) {
        const std::int64_t pos = std::int64_t{fullFlash} + r.address;
        const auto old = file.OldBytes(r);
        const auto bytes = file.NewBytes(r);
        if (!image.Holds(pos, std::max<std::int64_t>(bytes.size(), old.size()))) continue;
        if (!old.empty() && std::memcmp(old.data(), result.data() + pos, old.size()) != 0) {
            verdict.mismatches.push_back(
                {r.at.line, -1, QString(),
                 CheckText(QT_TRANSLATE_NOOP("vorlix::EditingState",
                                             "старые байты записи не те, что в прошивке: патч "
                                             "не применяется"))});
        }
        std::copy(bytes.begin(), bytes.end(), result.begin() + pos);
        std::fill_n(written.begin() + pos, bytes.size(), std::uint8_t{1});
    }
    const auto lineOf = [&](std::int64_t at) {
        for (auto r = file.records.rbegin(); r != file.records.rend(); ++r) {
            const std::int64_t pos = std::int64_t{fullFlash} + r->address;
            if (at >= pos && at < pos + r->newCount) return r->at.line;
        }
        return 0;
    };
    const std::uint8_t* work = image.WorkImage();
    for (int row = 0; row < int(session.Slots.size()); ++row) {
        const Picture* picture = session.PictureOfRow(row);
        if (!picture) continue;
        bool covered = false;
        std::int64_t firstWritten = -1, firstDiffering = -1;
        for (const Region& region : RegionsOf(*picture)) {
            if (!image.Holds(region.pos, region.length)) continue;
            for (std::int64_t at = region.pos; at < region.pos + region.length; ++at) {
                if (written[at] && firstWritten < 0) firstWritten = at;
                covered = covered || written[at];
                if (result[at] != work[at] && firstDiffering < 0) firstDiffering = at;
            }
        }
        if (!covered) continue;
        verdict.coveredRows.push_back(row);
        if (firstDiffering < 0) continue;
        const int line = lineOf(firstDiffering);
        verdict.mismatches.push_back(
            {line ? line : lineOf(firstWritten), row, RowText(session, row, ColPIT),
             CheckText(QT_TRANSLATE_NOOP("vorlix::EditingState",
                                         "после патча картинка не та, что в окне"))});
    }
    std::stable_sort(
        verdict.mismatches.begin(), verdict.mismatches.end(),
        [](const PatchMismatch& a, const PatchMismatch& b) { return a.line < b.line; });
    return verdict;
}

QString PatchMismatchText(const std::vector<PatchMismatch>& mismatches, int shown) {
    QStringList lines;
    for (const PatchMismatch& m : mismatches) {
        if (lines.size() == shown) {
            lines << CheckText(QT_TRANSLATE_NOOP("vorlix::EditingState", "и ещё %1"))
                         .arg(mismatches.size() - std::size_t(shown));
            break;
        }
        QString text;
        if (m.line > 0)
            text += CheckText(QT_TRANSLATE_NOOP("vorlix::EditingState", "строка %1: ")).arg(m.line);
        if (!m.pit.isEmpty())
            text +=
                CheckText(QT_TRANSLATE_NOOP("vorlix::EditingState", "картинка %1: ")).arg(m.pit);
        lines << text + m.message;
    }
    return lines.join(QLatin1Char('\n'));
}

EditingState::EditingState(Settings& settings, QObject* parent)
    : QObject(parent), session_(settings) {
    drainTimer_.setSingleShot(true);
    drainTimer_.setInterval(0);
    connect(&drainTimer_, &QTimer::timeout, this, [this] { DrainSearch(); });
}

EditingState::~EditingState() {
    StopSearch();
    undo_.clear();
}

// ---- the search run

void EditingState::StartSearch(const SearchPlan& plan) {
    StopSearch();
    listedFound_ = listedFoundExt_ = 0;
    search_ = std::make_unique<MySearchPic>(session_.image().BaseBytes(), plan);
    const int generation = ++generation_;
    connect(
        search_.get(), &MySearchPic::Wake, this,
        [this, generation] {
            if (search_ && generation == generation_ && !drainTimer_.isActive())
                drainTimer_.start();
        },
        Qt::QueuedConnection);
    search_->start();
}

bool EditingState::StopSearch() {
    drainTimer_.stop();
    if (!search_) return false;
    // Wake-ups of the old search still queued are recognised by their
    // generation and dropped.
    ++generation_;
    search_.reset();  // asks the body to end and waits for it
    return true;
}

void EditingState::HoldSearch(bool hold) {
    held_ = hold;
    // What the search found meanwhile is listed now.
    if (!hold && search_) drainTimer_.start();
}

void EditingState::DrainSearch(bool everything) {
    if (!search_ || held_) return;
    const int generation = generation_;
    QElapsedTimer slice;
    slice.start();
    bool listed = false;
    for (;;) {
        const std::vector<MySearchPic::FoundRecord> batch = search_->TakeFound(kDrainBatch);
        if (batch.empty()) break;
        for (const MySearchPic::FoundRecord& f : batch) {
            session_.AddFoundPicture(f.FoundPos, f.Rec, f.Found);
            listedFound_ = f.Found;
            listedFoundExt_ = f.FoundExt;
        }
        listed = true;
        if (!everything && slice.elapsed() >= kDrainSliceMs) break;
    }
    if (listed) emit picturesListed();
    // Whoever watches the list may have stopped or replaced the search.
    if (!search_ || generation != generation_) return;
    emit searchProgress(search_->Progress());
    // The rest in the next slice: the drain timer fires after the window's
    // pending repaints have run.
    if (!everything && search_->HasFound()) drainTimer_.start();
}

void EditingState::PollSearch() {
    if (!search_ || held_) return;
    const int generation = generation_;
    const bool done = search_->Done();
    if (done) {
        search_->Join();
        DrainSearch(true);
        if (!search_ || generation != generation_) return;
    }
    emit searchCounts(listedFound_, listedFoundExt_, search_->ScanRecords());
    if (done) {
        const bool scanRecords = search_->ScanRecords();
        search_.reset();
        ++generation_;
        emit searchEnded(listedFound_, scanRecords);
    }
}

// ---- edits

void EditingState::BeginEdit(std::vector<int> rows) { recorder_.Begin(session_, std::move(rows)); }

void EditingState::EndEdit(const QString& text) {
    PictureEdit edit = recorder_.End(session_);
    if (edit.Empty()) return;
    const std::vector<int> rows = edit.Rows();
    undo_.push(new PictureEditCommand(
        session_, std::move(edit), text,
        [this](const std::vector<int>& changed) { emit picturesChanged(changed); }));
    emit picturesChanged(rows);
}

Replacement EditingState::ReplacePicture(int row, const QString& path, const QImage* image) {
    Picture* picture = session_.PictureOfRow(row);
    if (!picture) return {Status::InvalidArgument(QString())};
    BeginEdit({row});
    const bool keepType = session_.settings().KeepDepthAndCompression;
    Replacement replaced = image ? picture->LoadImage(*image, &session_.Pictures, keepType)
                                 : picture->LoadBmp(path, &session_.Pictures, keepType);
    if (!replaced.status.ok()) {
        EndEdit(QString());  // nothing changed
        return replaced;
    }
    // Without a place the row is rewritten from the picture as it stands.
    session_.WriteRowAfterReplace(row);
    EndEdit(tr("замена картинки %1").arg(RowText(session_, row, ColPIT)));
    return replaced;
}

RevertResult EditingState::Revert(const std::vector<int>& rows) {
    BeginEdit(rows);
    RevertResult result = RevertPictures(session_, rows);
    const int count = static_cast<int>(result.rows.size());
    EndEdit(count == 1 ? tr("возврат картинки %1").arg(RowText(session_, result.rows[0], ColPIT))
                       : tr("возврат картинок: %1").arg(count));
    return result;
}

void EditingState::ForgetEdits() { undo_.clear(); }

void EditingState::PicturesListedAnew() {
    ForgetEdits();
    savedPictures_.clear();
}

// ---- the pictures

bool EditingState::IsModified(int row) const {
    const Picture* picture = session_.PictureOfRow(row);
    return picture && picture->Modified;
}

int EditingState::ModifiedCount() const {
    int count = 0;
    for (int row = 0; row < int(session_.Slots.size()); ++row) count += IsModified(row);
    return count;
}

EditingState::Fingerprint EditingState::FingerprintOf(int row) const {
    Fingerprint f;
    if (const Picture* picture = session_.PictureOfRow(row)) {
        f.record = picture->Record;
        f.data = picture->NewData;
    }
    return f;
}

std::vector<int> EditingState::UnsavedRows() const {
    std::vector<int> rows;
    for (int row = 0; row < int(session_.Slots.size()); ++row) {
        if (!IsModified(row)) continue;
        const auto saved = savedPictures_.find(row);
        if (saved == savedPictures_.end() || !(saved->second == FingerprintOf(row)))
            rows.push_back(row);
    }
    return rows;
}

// ---- the patch document

QStringList EditingState::PatchLines() const {
    QString text = text_;
    if (text.isEmpty()) return {};
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text.split(QLatin1Char('\n'));
}

void EditingState::SetText(const QString& text, bool typed) {
    const bool changed = text != text_;
    if (changed) {
        text_ = text;
        saved_ = false;
    }
    typed_ = typed && !text.isEmpty();
    if (text_.isEmpty()) source_.reset();
    if (changed && !typed) emit patchTextChanged(text_);
    emit patchStateChanged();
}

void EditingState::SetTypedText(const QString& text) {
    if (text == text_) return;
    SetText(text, true);
}

void EditingState::SetCommandText(const QStringList& lines) {
    SetText(lines.join(QLatin1Char('\n')), true);
    if (!text_.isEmpty()) source_ = Source{session_.FilePath, session_.settings().ModelAndVersion};
    emit patchTextChanged(text_);
}

void EditingState::ClearPatch() { SetText(QString(), false); }

Status EditingState::OpenPatchDocument(const QString& path) {
    QString text;
    if (Status status = ReadVkpText(path, text); !status.ok()) return status;
    // The pane shows lines; a file's own line ends (CR LF, CR or LF) are
    // written again as the patch files' CR LF when it is saved.
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    SetText(text, true);
    source_.reset();
    saved_ = true;
    savedPath_ = path;
    emit patchTextChanged(text_);
    emit patchStateChanged();
    return Status::Ok();
}

EditingState::Generated EditingState::Generate(const std::vector<bool>* selected, Prompt& prompt,
                                               int* pictures, const ProgressSink& progress) {
    QStringList lines;
    const int count = GeneratePatch(session_, lines, selected, progress);
    if (pictures) *pictures = count;
    // A patch without a picture would carry no data at all.
    if (count == 0) return Generated::NoModified;
    if (typed_ && !PatchSaved() &&
        prompt.Ask(tr("Создание патча"),
                   tr("Текст патча изменён вручную и не сохранён. Заменить его патчем "
                      "картинок? Если нет, текст остаётся как есть."),
                   Buttons::YesNo) != Answer::Yes)
        return Generated::KeptTyped;
    source_ = Source{session_.FilePath, session_.settings().ModelAndVersion};
    SetText(lines.join(QLatin1Char('\n')), false);
    return Generated::Patch;
}

Status EditingState::SavePatch(const QString& path, Prompt& prompt) {
    const QStringList lines = PatchLines();
    PatchVerdict verdict;
    if (session_.IsOpen()) verdict = CheckPatchText(session_, EncodePatchText(lines));
    if (!verdict.ok() &&
        prompt.Ask(tr("Проверка патча"),
                   tr("Патч не даёт те картинки, что показывает окно:\n%1\nСохранить его всё "
                      "равно?")
                       .arg(PatchMismatchText(verdict.mismatches)),
                   Buttons::YesNo) != Answer::Yes)
        return Status::Cancelled();
    if (Status status = SavePatchFile(path, lines); !status.ok()) return status;
    saved_ = true;
    savedPath_ = path;
    for (const int row : verdict.coveredRows) {
        const bool differs = std::any_of(verdict.mismatches.begin(), verdict.mismatches.end(),
                                         [row](const PatchMismatch& m) { return m.row == row; });
        if (!differs) savedPictures_[row] = FingerprintOf(row);
    }
    emit patchStateChanged();
    return Status::Ok();
}

// ---- what would be lost

EditingState::Losses EditingState::WhatWouldBeLost() const {
    Losses losses;
    losses.pictures = int(UnsavedRows().size());
    losses.patch = !PatchSaved();
    return losses;
}

QString EditingState::LossText(const Losses& losses) {
    QStringList lines;
    if (losses.pictures > 0)
        lines << tr("Изменённых картинок, которых нет ни в одном сохранённом патче: %1.")
                     .arg(losses.pictures);
    if (losses.patch) lines << tr("Текст патча не сохранён.");
    lines << tr(
        "Сохранить патч перед этим? «Да» — сохранить, «Нет» — продолжить без "
        "сохранения, «Отмена» — вернуться.");
    return lines.join(QLatin1Char('\n'));
}

Status EditingState::ConfirmLoss(Prompt& prompt, const QString& caption,
                                 const std::function<QString()>& choosePath) {
    const Losses losses = WhatWouldBeLost();
    if (!losses.any()) return Status::Ok();
    switch (prompt.Ask(caption, LossText(losses), Buttons::YesNoCancel)) {
        case Answer::Yes:
            break;
        case Answer::No:
            return Status::Ok();
        default:
            return Status::Cancelled();
    }
    // The patch of the pictures as they are at this moment, whatever the
    // pane held before: the question has named what the pane's own text was.
    if (losses.pictures > 0) {
        QStringList lines;
        if (GeneratePatch(session_, lines) > 0) {
            source_ = Source{session_.FilePath, session_.settings().ModelAndVersion};
            SetText(lines.join(QLatin1Char('\n')), false);
        }
    }
    const QString path = choosePath ? choosePath() : QString();
    if (path.isEmpty()) return Status::Cancelled();
    return SavePatch(path, prompt);
}

}  // namespace vorlix
