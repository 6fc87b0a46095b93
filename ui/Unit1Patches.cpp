// The main window's share of the patches installed on the phone: the
// "Патчи" button and dialog, files dropped on it, the question to open the
// FullFlash again when the list changes, the states of the last open in
// the status bar, and the conflict check with its report.
#include <QAction>
#include <QFileInfo>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QTabBar>
#include <QToolButton>
#include <algorithm>

#include "ui/Unit1.h"
#include "ui/installed_patches_dialog.h"
#include "vkp/patch_conflicts.h"

namespace vorlix {

QToolButton* TForm1::CreateInstalledPatchesButton(QWidget* parent) {
    InstalledPatches1 = new QAction(tr("Патчи"), this);
    InstalledPatches1->setObjectName(QStringLiteral("InstalledPatches1"));
    InstalledPatches1->setToolTip(
        tr("Патчи, уже прошитые в телефон: картинки видны такими, как на телефоне, "
           "новый патч не занимает их байты и ставится после них"));
    InstalledPatches1->setIcon(QIcon::fromTheme(
        QStringLiteral("view-list-details"), style()->standardIcon(QStyle::SP_FileDialogListView)));
    CheckConflicts1 = new QAction(tr("Проверить конфликты патчей…"), this);
    CheckConflicts1->setObjectName(QStringLiteral("CheckConflicts1"));
    CheckConflicts1->setToolTip(
        tr("Проверить установленные патчи и текст патча в панели: пересекающиеся записи, "
           "несовпадающие данные отката, патчи, которые уже есть в дампе"));
    connect(InstalledPatches1, &QAction::triggered, this, &TForm1::InstalledPatches1Execute);
    connect(CheckConflicts1, &QAction::triggered, this, &TForm1::CheckConflicts1Execute);

    InstalledPatchesButton = new QToolButton(parent);
    InstalledPatchesButton->setObjectName(QStringLiteral("InstalledPatchesButton"));
    InstalledPatchesButton->setDefaultAction(InstalledPatches1);
    InstalledPatchesButton->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    InstalledPatchesButton->setAutoRaise(true);
    InstalledPatchesButton->setIconSize(QSize(16, 16));
    auto* menu = new QMenu(InstalledPatchesButton);
    menu->addAction(InstalledPatches1);
    menu->addAction(CheckConflicts1);
    InstalledPatchesButton->setMenu(menu);
    InstalledPatchesButton->setPopupMode(QToolButton::MenuButtonPopup);
    // No taller than the tabs beside it, so the list loses no height.
    InstalledPatchesButton->setMaximumHeight(ViewTabs->sizeHint().height());
    return InstalledPatchesButton;
}

InstalledPatchList TForm1::InstalledPatches() const {
    return ReadInstalledPatches(settings_.store(), settings_.ModelAndVersion);
}

void TForm1::InstalledPatches1Execute() {
    if (!HasOpenImage()) return;
    InstalledPatchesDialog dialog(
        InstalledPatches(), stack_, settings_.ModelAndVersion, dialogs_,
        [this](const InstalledPatchList& list) { CheckConflicts(list); }, this);
    if (dialogs_.ShowModal(dialog) != QDialog::Accepted) return;
    ChangeInstalledPatches(dialog.patches());
}

void TForm1::AddInstalledPatches(const QStringList& paths) {
    if (!HasOpenImage()) return;
    InstalledPatchList list = InstalledPatches();
    int added = 0;
    for (const QString& path : paths) {
        const QString absolute = QFileInfo(path).absoluteFilePath();
        const bool listed = std::any_of(list.begin(), list.end(), [&](const InstalledPatch& p) {
            return QFileInfo(p.path).absoluteFilePath() == absolute;
        });
        if (listed) continue;
        list.push_back({absolute, true});
        ++added;
    }
    if (added == 0) {
        SetStatus(2, tr("Эти патчи уже есть в списке установленных"));
        return;
    }
    // An open that follows tells the states instead.
    SetStatus(2, tr("Добавлено установленных патчей: %1").arg(added));
    ChangeInstalledPatches(list);
}

bool TForm1::ChangeInstalledPatches(const InstalledPatchList& patches) {
    if (!HasOpenImage()) return false;
    const InstalledPatchList before = InstalledPatches();
    if (patches == before) return true;
    if (Status s = WriteInstalledPatches(settings_.store(), settings_.ModelAndVersion, patches);
        !s.ok()) {
        dialogs_.Error(s.message());
        return false;
    }
    // The image shows the patches of the last open until it is opened again.
    QString text =
        tr("Список установленных патчей изменён; он вступит в силу, когда FullFlash "
           "будет открыт заново.");
    if (HasModifiedPictures())
        text += QLatin1Char('\n') + tr("Эта операция уничтожит все изменения.");
    text += QLatin1Char('\n') + tr("Открыть FullFlash заново сейчас?");
    // Opening again asks, as every open does, before work is lost.
    if (dialogs_.Ask(tr("Установленные патчи"), text, Buttons::YesNo) == Answer::Yes &&
        ConfirmLoss(tr("Подтверждение открытия")))
        OpenConfirmed(session_.FilePath);
    return true;
}

void TForm1::ShowStackStatus() {
    if (stack_.patches.empty()) return;
    int applied = 0, present = 0, skipped = 0;
    for (const StackedPatch& p : stack_.patches) {
        applied += p.state == StackState::Applied;
        present += p.state == StackState::Present;
        skipped += p.state == StackState::Skipped || p.state == StackState::Error;
    }
    SetStatus(2, tr("Установленные патчи: применено %1, уже в дампе %2, пропущено %3")
                     .arg(applied)
                     .arg(present)
                     .arg(skipped));
}

void TForm1::CheckConflicts1Execute() {
    if (!HasOpenImage()) return;
    CheckConflicts(InstalledPatches());
}

void TForm1::CheckConflicts(const InstalledPatchList& patches) {
    if (!HasOpenImage()) return;
    const std::int32_t fullFlash = settings_.FullFlash;
    QStringList lines;
    std::vector<vorlix::PatchSource> sources;
    auto take = [&](vorlix::PatchSource source) {
        const PatchCheck check = CheckPatches(std::span(&source, 1), PatchDirection::Apply,
                                              fullFlash, session_.image().Size());
        if (!check.ok()) {
            for (const PatchProblem& p : check.errors)
                lines << PatchProblemText(p, std::span(&source, 1));
            return;
        }
        sources.push_back(std::move(source));
    };
    for (const InstalledPatch& patch : patches) {
        if (!patch.on) continue;
        vorlix::PatchSource source{QFileInfo(patch.path).fileName(), {}};
        if (Status read = ReadVkpFile(patch.path, source.file); !read.ok()) {
            lines << read.message();
            continue;
        }
        take(std::move(source));
    }
    // The pane's text goes onto the phone after the installed patches; a
    // pane with nothing but comments adds nothing.
    vorlix::PatchSource pane{tr("панель патча"), ReadVkp(Memo1->toPlainText().toUtf8())};
    if (!pane.file.records.empty() || !pane.file.ok()) take(std::move(pane));

    // The FullFlash as read, before the last open brought its patches on.
    const ImageBytes base = session_.image().BaseBytes();
    std::vector<std::uint8_t> dump(base.begin(), base.end());
    UnstackPatches(stack_, dump);
    const std::vector<Conflict> conflicts = FindConflicts(sources, dump, fullFlash);

    int overlaps = 0, mismatches = 0, present = 0;
    for (const Conflict& c : conflicts) {
        overlaps += c.kind == ConflictKind::Overlap;
        mismatches += c.kind == ConflictKind::Mismatch;
        present += c.kind == ConflictKind::Present;
        lines << ConflictText(c, sources);
    }
    const QString summary =
        tr("Проверено патчей: %1. Пересечений: %2, несовпадений данных отката: %3, "
           "уже в дампе: %4.")
            .arg(sources.size())
            .arg(overlaps)
            .arg(mismatches)
            .arg(present);
    if (lines.isEmpty()) lines << tr("Конфликтов не найдено");
    SetStatus(2, summary);
    ConflictReportDialog report(lines, summary, this);
    dialogs_.ShowModal(report);
}

}  // namespace vorlix
