// The main window's questions before work is lost, which the editing
// state asks in one set of words (exit, close, refresh, open), and a patch
// pane whose text belongs to another FullFlash than the one now open. Also
// the status texts of commands that find nothing to act on.
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "picture/picture.h"
#include "ui/Unit1.h"

namespace vorlix {

void TForm1::closeEvent(QCloseEvent* event) {
    if (ConfirmExit())
        event->accept();
    else
        event->ignore();
}

bool TForm1::ConfirmExit() { return ConfirmLoss(tr("Подтверждение выхода")); }

bool TForm1::ConfirmLoss(const QString& caption) {
    const Status status =
        state_.ConfirmLoss(dialogs_, caption, [this] { return ChoosePatchPath(); });
    if (!status.ok() && status.code() != Status::Code::Cancelled) dialogs_.Error(status.message());
    return status.ok();
}

bool TForm1::OfferToSavePatch() {
    if (state_.PatchSaved()) return true;
    switch (dialogs_.Ask(tr("Сохранение патча"), tr("Патч не сохранён. Сохранить его?"),
                         Buttons::YesNoCancel)) {
        case Answer::Yes:
            return SavePatchNow();
        case Answer::No:
            return true;
        default:
            return false;
    }
}

void TForm1::AskAboutPatchOfOtherFlash() {
    const std::optional<EditingState::Source>& source = state_.PatchSource();
    if (!source || state_.PatchText().isEmpty()) return;
    const QString path = Edit4->text();
    // The same file read again, with the same firmware in it, is the same
    // FullFlash.
    if (QFileInfo(source->path) == QFileInfo(path) &&
        source->modelAndVersion == settings_.ModelAndVersion)
        return;
    const QString text =
        tr("Текст патча создан для другого FullFlash:\n%1 (%2).\n"
           "Начать новый патч? Если нет, в одном патче окажутся строки для двух прошивок.")
            .arg(QFileInfo(source->path).fileName(), source->modelAndVersion);
    if (dialogs_.Ask(tr("Создание нового патча"), text, Buttons::YesNo) != Answer::Yes) return;
    if (OfferToSavePatch()) state_.ClearPatch();
}

void TForm1::WatchPatchPane() {
    // The pane shows the model's document: text a command makes comes in,
    // text the user types or pastes goes back as the user's own.
    connect(&state_, &EditingState::patchTextChanged, Memo1, [this](const QString& text) {
        if (Memo1->toPlainText() != text) Memo1->setPlainText(text);
    });
    connect(Memo1, &QPlainTextEdit::textChanged, this,
            [this] { state_.SetTypedText(Memo1->toPlainText()); });
    connect(&state_, &EditingState::picturesChanged, this, &TForm1::ShowEditedRows);
}

bool TForm1::HasOpenImage() {
    if (!Edit4->text().isEmpty()) return true;
    SetStatus(2, tr("FullFlash не открыт"));
    return false;
}

Picture* TForm1::SelectedPicture(int& row) {
    row = SelectedRow();
    Picture* picture = session_.PictureOfRow(row);
    if (!picture) SetStatus(2, tr("Не выбрана ни одна картинка"));
    return picture;
}

}  // namespace vorlix
