// The main window's questions before work is lost: closing the window with
// changes that no saved patch holds, opening another FullFlash over
// modified pictures, and a patch pane whose text belongs to another
// FullFlash than the one now open. Also the status texts of commands that
// find nothing to act on.
#include <QCloseEvent>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>

#include "picture/picture.h"
#include "ui/Unit1.h"

namespace vorlix {

bool TForm1::HasModifiedPictures() const {
    for (int row = 0; row < int(session_.Rows.size()); ++row)
        if (const Picture* picture = session_.PictureOfRow(row); picture && picture->Modified)
            return true;
    return false;
}

bool TForm1::PicturesChangedSincePatch() const {
    return editsSincePatch_ && !Edit4->text().isEmpty() && HasModifiedPictures();
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (ConfirmExit())
        event->accept();
    else
        event->ignore();
}

bool TForm1::ConfirmExit() {
    const bool edits = PicturesChangedSincePatch();
    if (!edits && !patchDirty_) return true;
    // Yes never changes text the pane holds: with an empty pane the patch is
    // made first; otherwise the pane is saved as it is, and the question
    // says what it lacks.
    const bool makeFirst = edits && Memo1->document()->isEmpty();
    QStringList lines;
    if (makeFirst)
        lines << tr("Изменённые картинки ещё не вошли в патч: без него изменения будут утеряны.");
    else if (edits)
        lines << tr("Картинки, изменённые после создания патча, в него не вошли.");
    if (patchDirty_) lines << tr("Патч не сохранён.");
    lines << (makeFirst ? tr("Создать и сохранить патч перед выходом?")
                        : tr("Сохранить патч перед выходом?"));
    switch (dialogs_.Ask(tr("Подтверждение выхода"), lines.join(QLatin1Char('\n')),
                         Buttons::YesNoCancel)) {
        case Answer::Yes:
            if (makeFirst) MakePatchClick();
            return SavePatchNow();
        case Answer::No:
            return true;
        default:
            return false;
    }
}

bool TForm1::OfferToSavePatch() {
    if (!patchDirty_) return true;
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
    if (!patchSource_ || Memo1->document()->isEmpty()) return;
    const QString path = Edit4->text();
    // The same file read again, with the same firmware in it, is the same
    // FullFlash.
    if (QFileInfo(patchSource_->path) == QFileInfo(path) &&
        patchSource_->modelAndVersion == settings_.ModelAndVersion)
        return;
    const QString text =
        tr("Текст патча создан для другого FullFlash:\n%1 (%2).\n"
           "Начать новый патч? Если нет, в одном патче окажутся строки для двух прошивок.")
            .arg(QFileInfo(patchSource_->path).fileName(), patchSource_->modelAndVersion);
    if (dialogs_.Ask(tr("Создание нового патча"), text, Buttons::YesNo) != Answer::Yes) return;
    if (OfferToSavePatch()) Memo1->clear();
}

void TForm1::WatchPatchPane() {
    // Any change of the text, generated or typed, is unsaved work; an empty
    // pane holds nothing to lose and belongs to no FullFlash.
    connect(Memo1, &QPlainTextEdit::textChanged, this, [this] {
        patchDirty_ = !Memo1->document()->isEmpty();
        if (!patchDirty_) patchSource_.reset();
    });
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
