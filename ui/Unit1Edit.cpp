// The main window's edits as steps that can be taken back: undo and redo on
// Qt's undo stack, revert of pictures to what the firmware holds, the
// picture on the clipboard, and files dropped on the window.
#include <QAction>
#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImageReader>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStyle>
#include <QToolBar>
#include <QTreeView>
#include <QUndoStack>
#include <algorithm>

#include "common/name_list.h"
#include "patch/batch_replace.h"
#include "picture/picture.h"
#include "session/edit_command.h"
#include "session/picture_revert.h"
#include "ui/Unit1.h"
#include "ui/file_drop.h"
#include "ui/gallery_view.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"

namespace vorlix {

namespace {

// A status text names at most this many files or pictures, then how many
// more.
constexpr int kListedNames = 5;

QString Suffix(const QString& path) { return QFileInfo(path).suffix().toLower(); }

bool IsFullFlash(const QString& path) {
    return Suffix(path) == QLatin1String("fls") || Suffix(path) == QLatin1String("bin");
}

bool IsPatchFile(const QString& path) { return Suffix(path) == QLatin1String("vkp"); }

// Anything the image reader takes, by its extension or by its content; a
// damaged picture file counts too, so that its reading error is shown.
bool IsPictureFile(const QString& path) {
    return QImageReader::supportedImageFormats().contains(Suffix(path).toLatin1()) ||
           !QImageReader::imageFormat(path).isEmpty();
}

// A menu item that stands for an action: same caption, icon and hint;
// choosing it runs the action.
QAction* MenuItemFor(QAction* action, QMenu* menu) {
    auto* item = new QAction(action->icon(), action->text(), menu);
    item->setObjectName(action->objectName() + QStringLiteral("Item"));
    item->setToolTip(action->toolTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    menu->addAction(item);
    return item;
}

}  // namespace

void TForm1::CreateEditCommands() {
    // The steps belong to the editing state; the window shows its stack.
    UndoStack1 = &state_.undoStack();
    UndoStack1->setObjectName(QStringLiteral("UndoStack1"));

    const QStyle* st = style();
    const auto make = [this, st](const char* name, const QString& caption, const QString& hint,
                                 const char* icon, QStyle::StandardPixmap fallback) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint);
        action->setIcon(QIcon::fromTheme(QLatin1String(icon), st->standardIcon(fallback)));
        return action;
    };
    EditUndo1 = make("EditUndo1", tr("Отменить"), tr("Отменить последнюю правку картинок"),
                     "edit-undo", QStyle::SP_ArrowBack);
    EditRedo1 = make("EditRedo1", tr("Повторить"), tr("Повторить отменённую правку картинок"),
                     "edit-redo", QStyle::SP_ArrowForward);
    RevertPicture1 = make("RevertPicture1", tr("Вернуть исходную"),
                          tr("Вернуть выделенным картинкам то, что хранит прошивка"),
                          "document-revert", QStyle::SP_BrowserReload);
    RevertAll1 = make("RevertAll1", tr("Вернуть все"),
                      tr("Вернуть все изменённые картинки такими, какими их хранит прошивка"),
                      "edit-clear-history", QStyle::SP_DialogResetButton);
    CopyPicture1 = make("CopyPicture1", tr("Копировать картинку"),
                        tr("Копировать новую картинку в буфер обмена"), "edit-copy",
                        QStyle::SP_FileDialogContentsView);
    PastePicture1 = make("PastePicture1", tr("Вставить картинку"),
                         tr("Заменить картинку изображением из буфера обмена"), "edit-paste",
                         QStyle::SP_DialogApplyButton);
    EditUndo1->setEnabled(false);
    EditRedo1->setEnabled(false);
    connect(UndoStack1, &QUndoStack::canUndoChanged, EditUndo1, &QAction::setEnabled);
    connect(UndoStack1, &QUndoStack::canRedoChanged, EditRedo1, &QAction::setEnabled);
    connect(EditUndo1, &QAction::triggered, this, &TForm1::EditUndo1Execute);
    connect(EditRedo1, &QAction::triggered, this, &TForm1::EditRedo1Execute);
    connect(RevertPicture1, &QAction::triggered, this, &TForm1::RevertPicture1Execute);
    connect(RevertAll1, &QAction::triggered, this, &TForm1::RevertAll1Execute);
    connect(CopyPicture1, &QAction::triggered, this, &TForm1::CopyPicture1Execute);
    connect(PastePicture1, &QAction::triggered, this, &TForm1::PastePicture1Execute);

    for (QAction* action : {EditUndo1, EditRedo1, RevertPicture1}) ToolBar3->addAction(action);
    PopupMenu1->addSeparator();
    for (QAction* action : {CopyPicture1, PastePicture1}) MenuItemFor(action, PopupMenu1);
    PopupMenu1->addSeparator();
    for (QAction* action : {RevertPicture1, RevertAll1, EditUndo1, EditRedo1})
        MenuItemFor(action, PopupMenu1);

    // Files may be dropped on a row or a gallery cell, on either pane
    // (meaning the selected row) and anywhere else on the window; the patch
    // pane takes dropped text as before.
    const auto dropped = [this](const QStringList& files, int row) { DropFiles(files, row); };
    const auto selected = [this] { return SelectedRow(); };
    FileDropTarget::OnView(ListView1, dropped);
    FileDropTarget::OnView(Gallery1, dropped);
    FileDropTarget::OnWidget(Image1, selected, dropped);
    FileDropTarget::OnWidget(Image2, selected, dropped);
    FileDropTarget::OnWidget(Memo1->viewport(), {}, dropped);
    FileDropTarget::OnWidget(this, {}, dropped);
}

// ---- steps

void TForm1::ShowEditedRows(const std::vector<int>& rows) {
    for (const int row : rows) RowChanged(row);
    // An undo or redo of one picture brings its row into view, as an editor
    // shows the place it undoes; otherwise the panes show the selected row.
    if (followStep_ && rows.size() == 1)
        SelectRow(rows.front());
    else
        ListView1SelectItem();
}

void TForm1::SelectRow(int row) {
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid()) return;
    ListView1->selectionModel()->setCurrentIndex(
        index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    ListView1->scrollTo(index);
    // Selecting the row already selected changes no selection.
    ListView1SelectItem();
}

void TForm1::EditUndo1Execute() {
    if (!UndoStack1->canUndo()) {
        SetStatus(2, tr("Отменять нечего"));
        return;
    }
    const QString text = UndoStack1->undoText();
    followStep_ = true;
    UndoStack1->undo();
    followStep_ = false;
    SetStatus(2, tr("Отменено: %1").arg(text));
}

void TForm1::EditRedo1Execute() {
    if (!UndoStack1->canRedo()) {
        SetStatus(2, tr("Повторять нечего"));
        return;
    }
    const QString text = UndoStack1->redoText();
    followStep_ = true;
    UndoStack1->redo();
    followStep_ = false;
    SetStatus(2, tr("Повторено: %1").arg(text));
}

// ---- revert

void TForm1::RevertPicture1Execute() {
    if (!HasOpenImage()) return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        SetStatus(2, tr("Не выбрана ни одна картинка"));
        return;
    }
    RevertRows(rows, false);
}

void TForm1::RevertAll1Execute() {
    if (HasOpenImage()) RevertRows(AllRows(session_), true);
}

void TForm1::RevertRows(const std::vector<int>& rows, bool all) {
    const RevertResult result = state_.Revert(rows);
    const int count = static_cast<int>(result.rows.size());
    if (count == 0) {
        SetStatus(2, all ? tr("Нет изменённых картинок: возвращать нечего")
                         : tr("Среди выделенных строк нет изменённых картинок: возвращать нечего"));
        return;
    }
    QString text = tr("Возвращено картинок: %1").arg(count);
    if (!result.held.isEmpty())
        text += tr("; исходные данные картинок %1 заняты другими изменёнными картинками: "
                   "верните и их")
                    .arg(NameList(result.held, kListedNames));
    SetStatus(2, text);
}

// ---- the clipboard

void TForm1::CopyPicture1Execute() {
    int row = -1;
    const Picture* picture = HasOpenImage() ? SelectedPicture(row) : nullptr;
    if (!picture) return;
    QGuiApplication::clipboard()->setImage(picture->DecodedBitmap);
    SetStatus(2, tr("Картинка %1 скопирована в буфер обмена").arg(RowText(session_, row, ColPIT)));
}

void TForm1::PastePicture1Execute() {
    int row = -1;
    if (!HasOpenImage() || !SelectedPicture(row)) return;
    const QClipboard* clipboard = QGuiApplication::clipboard();
    const QImage image = clipboard->image();
    if (!image.isNull()) {
        SetStatus(0, tr("Буфер обмена"));
        ReplaceRow(row, QString(), &image);
        return;
    }
    // Picture files copied in a file manager go in as if dropped on the row.
    if (const QStringList files = DroppedFiles(clipboard->mimeData()); !files.isEmpty()) {
        DropFiles(files, row);
        return;
    }
    SetStatus(2, tr("В буфере обмена нет картинки"));
}

// ---- dropped files

void TForm1::DropFiles(const QStringList& files, int row) {
    QStringList flashes, patches, pictures, others;
    for (const QString& file : files) {
        if (IsFullFlash(file))
            flashes << file;
        else if (IsPatchFile(file))
            patches << file;
        else if (IsPictureFile(file))
            pictures << file;
        else
            others << QFileInfo(file).fileName();
    }
    if (!flashes.isEmpty()) {
        // The pictures of the image that was open are gone with it.
        OpenFullFlash(flashes.first());
        return;
    }
    if (!HasOpenImage()) return;
    if (!others.isEmpty())
        SetStatus(2, tr("Не картинка, не FullFlash и не патч: %1").arg(NameList(others, kListedNames)));
    // Patches dropped on the window join those installed on the phone.
    if (!patches.isEmpty()) AddInstalledPatches(patches);
    if (pictures.isEmpty()) return;

    if (pictures.size() == 1 && session_.PictureOfRow(row)) {
        SelectRow(row);
        ReplaceFromFile(row, pictures.first());
        return;
    }
    // Several files, or one beside the rows: each goes onto the picture its
    // name gives, as in a batch load.
    const bool named = std::any_of(pictures.begin(), pictures.end(), [](const QString& file) {
        return BatchFileKey(file).has_value();
    });
    if (!named) {
        SetStatus(2, tr("Картинку перетаскивают на её строку; несколько файлов загружаются по "
                        "именам PIT_XXXXXX, как при пакетной загрузке"));
        return;
    }
    BatchLoadFiles(pictures);
}

}  // namespace vorlix
