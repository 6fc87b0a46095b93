// The main window's picture and patch commands: open and insert, save,
// depth and compression, generate, new, copy and save the patch, batch
// load, apply a patch, fill with FF and re-create. Each asks the user
// through the window's dialogs and runs the operation on the editing state,
// whose signals bring rows and panes up to date; the command itself tells
// the status bar and moves the progress bar.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTextBlock>
#include <QTreeView>
#include <algorithm>

#include "patch/apply_files.h"
#include "patch/batch_replace.h"
#include "patch/lost_pictures.h"
#include "patch/patch_generator.h"
#include "patch/replacement_size.h"
#include "patch/whole_image.h"
#include "picture/color_merge.h"
#include "picture/picture.h"
#include "picture/picture_codec.h"
#include "session/placement_area.h"
#include "ui/Unit1.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"

namespace vorlix {

namespace {

// BMP first, as the pictures have always been saved; the filter chosen
// decides the format.
QString PictureSaveFilter() {
    return TForm1::tr("Bitmap (*.bmp)|*.bmp|PNG (*.png)|*.png|Все файлы (*.*)|*.*");
}
QString PatchSaveFilter() { return TForm1::tr("V_Klay Patch (*.vkp)|*.vkp|Все файлы (*.*)|*.*"); }
const QString kPatchOpenFilter = QStringLiteral("*.vkp|*.vkp|*.*|*.*");

QString NoPlaceText() {
    return TForm1::tr("Для новых данных картинки не нашлось места: картинка не изменена");
}

// The notes of one replacement in the status bar, the empty ones left out.
QString Notes(QStringList notes) {
    notes.removeAll(QString());
    return notes.join(QStringLiteral("; "));
}

// The open-picture dialog's filter: every format the platform reads, BMP
// (the format pictures are saved in) first.
QString PictureOpenFilter() {
    QStringList patterns{QStringLiteral("*.bmp")};
    QStringList filters{QStringLiteral("Bitmap (*.bmp)")};
    for (const QByteArray& format : QImageReader::supportedImageFormats()) {
        const QString suffix = QString::fromLatin1(format).toLower();
        if (suffix == QLatin1String("bmp") || patterns.contains(QStringLiteral("*.") + suffix))
            continue;
        patterns << QStringLiteral("*.") + suffix;
        filters << QStringLiteral("%1 (*.%2)").arg(suffix.toUpper(), suffix);
    }
    filters.prepend(TForm1::tr("Все картинки (%1)").arg(patterns.join(QLatin1Char(' '))));
    filters << TForm1::tr("Все файлы (*)");
    return filters.join(QStringLiteral(";;"));
}

// The file a picture goes to from the save dialog, and its format: a name
// typed with the extension of a picture format (p31.png) is saved in that
// format, whatever the file type chosen; else the BMP and PNG filters give
// the format and add its extension to the name, and with "all files" the
// format chosen last stays.
QString PictureSaveName(const UserDialogs::SaveChoice& choice, PictureFileFormat& format) {
    const QString suffix = QFileInfo(choice.path).suffix();
    if (const std::optional<PictureFileFormat> typed = FormatFromSuffix(suffix)) {
        format = *typed;
        return choice.path;
    }
    if (choice.filterIndex == 0 || choice.filterIndex == 1) {
        format = choice.filterIndex == 0 ? PictureFileFormat::Bmp : PictureFileFormat::Png;
        return choice.path + QLatin1Char('.') + FormatSuffix(format);
    }
    return choice.path;
}

// The status of a save of pictures: each file as it is written; once the
// save ends, when several went into one folder, how many and where.
class SavedPictures {
  public:
    explicit SavedPictures(TForm1& window) : window_(window) {}
    ~SavedPictures() {
        if (count_ > 1 && !folder_.isEmpty())
            window_.SetStatus(0, TForm1::tr("Сохранено %n картинок в папку «%1»", nullptr, count_)
                                     .arg(QDir::toNativeSeparators(folder_)));
    }
    void Add(const QString& path) {
        window_.SetStatus(0, path);
        const QString folder = QFileInfo(path).absolutePath();
        folder_ = count_ == 0 || folder == folder_ ? folder : QString();
        ++count_;
    }

  private:
    TForm1& window_;
    int count_ = 0;
    QString folder_;
};

// Forwards a command's progress to the window's progress bar.
ProgressSink BarSink(QProgressBar* bar) {
    ProgressSink sink;
    // A maximum of 0 would turn the bar into a busy indicator.
    sink.setMaximum = [bar](int maximum) { bar->setRange(0, std::max(maximum, 1)); };
    sink.setPosition = [bar](int position) { bar->setValue(position); };
    return sink;
}

// Runs `work` with `pane` hidden, so that it is not redrawn while it
// changes; the splitter gets its sizes back afterwards.
template <class Work>
void WhileHidden(QSplitter* splitter, QWidget* pane, Work&& work) {
    const QList<int> sizes = splitter->sizes();
    pane->hide();
    work();
    pane->show();
    splitter->setSizes(sizes);
}

}  // namespace

void TForm1::ConnectPictureCommands() {
    currentFolder_ = QDir::currentPath();
    connect(LoadPicture1, &QAction::triggered, this, &TForm1::Load1Click);
    connect(SavePicture1, &QAction::triggered, this, &TForm1::Save1Click);
    connect(BatchLoad1, &QAction::triggered, this, &TForm1::BatchLoad1Execute);
    connect(GeneratePatch1, &QAction::triggered, this, &TForm1::MakePatchClick);
    connect(MakePatch, &QPushButton::clicked, this, &TForm1::MakePatchClick);
    connect(EditDelete1, &QAction::triggered, this, &TForm1::EditDelete1Execute);
    connect(EditCopy1, &QAction::triggered, this, &TForm1::EditCopy1Execute);
    connect(SavePatch1, &QAction::triggered, this, &TForm1::SavePatch1Execute);
    connect(Apply1, &QAction::triggered, this, &TForm1::Apply1Click);
    connect(Undo1, &QAction::triggered, this, &TForm1::Undo1Click);
    connect(Button2, &QPushButton::clicked, this, &TForm1::Button2Click);
    connect(ReCreate, &QPushButton::clicked, this, &TForm1::ReCreateClick);
    // Setting the depth controls from the program runs the handler too; the
    // commands that only show a type set Suppressing meanwhile.
    connect(RadioGroup1Items, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked) RadioGroup1Click();
    });
    connect(CheckBox3, &QCheckBox::toggled, this, &TForm1::RadioGroup1Click);
}

void TForm1::RememberFolder(const QString& chosenPath) {
    if (chosenPath.isEmpty()) return;
    const QString folder = QFileInfo(chosenPath).absolutePath();
    if (QFileInfo(folder).isDir()) currentFolder_ = folder;
}

// ---- pictures

void TForm1::Load1Click() {
    int row = -1;
    Picture* picture = HasOpenImage() ? SelectedPicture(row) : nullptr;
    if (!picture) return;
    const QString path = dialogs_.OpenFile(PictureOpenFilter());
    if (path.isEmpty()) return;
    RememberFolder(path);
    ReplaceFromFile(row, path);
}

void TForm1::ReplaceFromFile(int row, const QString& path) { ReplaceRow(row, path, nullptr); }

void TForm1::ReplaceRow(int row, const QString& path, const QImage* image) {
    Picture* picture = session_.PictureOfRow(row);
    if (!picture) return;
    if (image == nullptr) SetStatus(0, path);
    // A size that would spoil the image waits for the user's word; another
    // size that does not ask is still named.
    const std::optional<SizeWarning> size =
        image ? CheckReplacementSize(*picture, image->size(), settings_)
              : CheckReplacementSize(*picture, path, settings_);
    const bool asks = size && AsksBeforeReplacing(*size, settings_);
    if (asks && dialogs_.Ask(SizeQuestionCaption(),
                             SingleSizeQuestion(
                                 *size, LostByReplacingText(session_, *size, row, path, image)),
                             Buttons::YesNo) != Answer::Yes) {
        SetStatus(2, tr("Картинка не заменена"));
        return;
    }
    if (!ConfirmPlacementArea(session_, dialogs_)) {
        SetStatus(2, tr("Картинка не заменена"));
        return;
    }
    const Replacement replaced = state_.ReplacePicture(row, path, image);
    if (!replaced.status.ok()) {
        dialogs_.Error(replaced.status.message());
        return;
    }
    if (replaced.placed())
        SetStatus(2, Notes({size && !asks && size->Changed() ? SizeChangeNote(*size) : QString(),
                            MergedColorsNote(*picture)}));
    else
        SetStatus(2, NoPlaceText());
    // The rows and panes followed the step; the depth controls show the
    // type the picture has now.
    ListView1SelectItem();
}

void TForm1::Save1Click() {
    if (!HasOpenImage()) return;
    const std::vector<int> rows = SelectedRows();
    if (rows.empty()) {
        SetStatus(2, tr("Не выбрана ни одна картинка"));
        return;
    }
    // A click on the box while the save runs does not change this save.
    bool autoNaming = CheckBox1->isChecked();
    SavedPictures saved(*this);
    for (const int row : rows) {
        const Picture* picture = session_.PictureOfRow(row);
        if (!picture) continue;
        // Automatic names take the format chosen last.
        PictureFileFormat format =
            FormatFromSuffix(settings_.PictureFormat).value_or(PictureFileFormat::Bmp);
        const QString name = PitFileName(session_, row);
        const auto automatic = [&] {
            return QDir(currentFolder_).filePath(name + QLatin1Char('.') + FormatSuffix(format));
        };
        QString path;
        if (autoNaming) {
            path = automatic();
        } else {
            const UserDialogs::SaveChoice choice =
                dialogs_.SaveFile(QtFileFilter(PictureSaveFilter()), name);
            if (!choice.path.isEmpty()) {
                RememberFolder(choice.path);
                path = PictureSaveName(choice, format);
                settings_.PictureFormat = FormatSuffix(format);
                // The dialog asked about the name chosen; the name with the
                // extension added may be another existing file.
                if (path != choice.path && QFileInfo::exists(path) &&
                    dialogs_.Ask(tr("Подтверждение замены"),
                                 tr("Файл «%1» уже существует. Заменить его?").arg(path),
                                 Buttons::YesNo) != Answer::Yes)
                    continue;
            } else {
                switch (dialogs_.Ask(
                    tr("Отменить ручное именование файлов?"),
                    tr("Если Вы нажмёте \"Да\", то оставшиеся картинки будут сохранены в "
                       "последней выбранной папке с автоматически назначенным именем.\n"
                       "Если Вы нажмёте \"Нет\", то продолжите ручное задание имён для "
                       "остальных картинок\n"
                       "Если Вы нажмёте \"Отмена\", то сохранение будет прервано"),
                    Buttons::YesNoCancel)) {
                    case Answer::Yes:
                        autoNaming = true;
                        path = automatic();
                        break;
                    case Answer::No:
                        continue;
                    default:
                        return;
                }
            }
        }
        if (const Status status = picture->SavePicture(path, format); !status.ok()) {
            dialogs_.Error(status.message());
            return;
        }
        saved.Add(path);
    }
}

void TForm1::RadioGroup1Click() {
    if (Suppressing) return;
    int row = -1;
    Picture* picture = HasOpenImage() ? SelectedPicture(row) : nullptr;
    if (!picture) return;
    const int item = RadioGroup1ItemIndex();
    if (item < 0 || item >= int(kDepthCodes.size())) {
        dialogs_.Tell(kCaptionWarning, tr("Пока не поддерживается!"));
        ShowPictureType(*picture);
        return;
    }
    auto type =
        static_cast<std::uint8_t>(kDepthCodes[item] | (CheckBox3->isChecked() ? 0x80 : 0x00));
    QString note;
    // Compressed 2-bit data has no known layout: such a picture is stored
    // uncompressed, and the compress box, showing the type below, clears.
    if (type == (kType2Bit | kCompressed)) {
        type = kType2Bit;
        note = tr("Сжатие 2-битных картинок не поддерживается: картинка сохранена без сжатия");
    }
    if (!ConfirmPlacementArea(session_, dialogs_)) {
        ShowPictureType(*picture);
        return;
    }
    const std::uint8_t typeBefore = picture->Record[2];
    state_.BeginEdit({row});
    picture->Record[2] = type;
    const bool placed = picture->Replace(&session_.Pictures) == Placement::Placed;
    if (!placed) picture->Record[2] = typeBefore;
    SetStatus(2, placed ? Notes({note, MergedColorsNote(*picture)}) : NoPlaceText());
    session_.WriteRowAfterReplace(row);
    state_.EndEdit(tr("глубина картинки %1").arg(RowText(session_, row, ColPIT)));
    // Without a place the picture keeps its former type: the controls show
    // it rather than the one that could not be placed.
    ShowPictureType(*picture);
    ShowPicture(*picture);
}

void TForm1::BatchLoad1Execute() {
    if (!HasOpenImage()) return;
    const QStringList files = dialogs_.OpenFiles(PictureOpenFilter());
    if (files.isEmpty()) return;
    RememberFolder(files.first());
    BatchLoadFiles(files);
}

void TForm1::BatchLoadFiles(const QStringList& files) {
    // One question for the whole batch, listing the files whose size would
    // spoil the image.
    QStringList skip;
    if (const std::vector<SizeWarning> sizes = BatchSizeQuestions(session_, files);
        !sizes.empty()) {
        switch (dialogs_.Ask(SizeQuestionCaption(),
                             BatchSizeQuestion(sizes, LostByBatchText(session_, sizes, files)),
                             Buttons::YesNoCancel)) {
            case Answer::Yes:
                break;
            case Answer::No:
                for (const SizeWarning& w : sizes) skip << w.file;
                break;
            default:
                SetStatus(2, tr("Пакетная загрузка отменена: ни одна картинка не заменена"));
                return;
        }
    }
    if (!ConfirmPlacementArea(session_, dialogs_)) {
        SetStatus(2, tr("Пакетная загрузка отменена: ни одна картинка не заменена"));
        return;
    }

    // The whole batch is one step to undo; its rows and the panes follow
    // the step (the panes keep showing the selected row).
    state_.BeginEdit(MatchBatchFiles(session_, files));
    BatchResult result;
    const Status status = BatchReplace(session_, files, result, BarSink(ProgressBar1), skip);
    state_.EndEdit(tr("пакетная загрузка"));
    ProgressBar1->setValue(0);
    // A file that could not be read ends the batch; the files before it
    // stay replaced.
    if (!status.ok()) {
        dialogs_.Error(status.message());
        return;
    }
    SetStatus(0, files.first());
    SetStatus(2, BatchReportText(result));
}

// ---- the patch pane

void TForm1::MakePatchClick() {
    if (!HasOpenImage()) return;
    std::vector<bool> selected;
    const bool onlySelected = CheckBox2->isChecked();
    if (onlySelected) {
        selected.assign(session_.Slots.size(), false);
        for (const int row : SelectedRows())
            if (row < int(selected.size())) selected[row] = true;
    }
    // The pane's patch is replaced by the patch of the pictures as they are
    // now: never two patches for the same bytes in one pane.
    int pictures = 0;
    EditingState::Generated generated = EditingState::Generated::NoModified;
    WhileHidden(Splitter1, Memo1, [&] {
        generated = state_.Generate(onlySelected ? &selected : nullptr, dialogs_, &pictures,
                                    BarSink(ProgressBar1));
        ProgressBar1->setValue(0);
    });
    // The addresses, at the start of each line, stay in sight.
    Memo1->horizontalScrollBar()->setValue(0);
    switch (generated) {
        case EditingState::Generated::NoModified:
            SetStatus(2, onlySelected
                             ? tr("Среди выделенных строк нет изменённых картинок: патч не создан")
                             : tr("Нет изменённых картинок: патч не создан"));
            return;
        case EditingState::Generated::KeptTyped:
            SetStatus(2, tr("Патч не создан: текст панели оставлен как есть"));
            return;
        case EditingState::Generated::Patch:
            SetStatus(2, tr("В патч вошло картинок: %1").arg(pictures));
            return;
    }
}

void TForm1::EditDelete1Execute() {
    if (ConfirmNewPatch(dialogs_)) state_.ClearPatch();
}

void TForm1::EditCopy1Execute() {
    if (Memo1->document()->isEmpty()) {
        SetStatus(2, tr("Патч пуст: копировать нечего"));
        return;
    }
    Memo1->selectAll();
    Memo1->copy();
}

void TForm1::SavePatch1Execute() { (void)SavePatchNow(); }

QString TForm1::ChoosePatchPath() {
    const UserDialogs::SaveChoice choice =
        dialogs_.SaveFile(QtFileFilter(PatchSaveFilter()), QString());
    if (choice.path.isEmpty()) return {};
    RememberFolder(choice.path);
    const QString fileName = PatchSaveName(choice.path, choice.filterIndex);
    // The dialog asked about the name chosen; the name with ".vkp" appended
    // may be another existing file, which is not replaced unasked.
    if (fileName != choice.path && QFileInfo::exists(fileName) &&
        dialogs_.Ask(tr("Подтверждение замены"),
                     tr("Файл «%1» уже существует. Заменить его?").arg(fileName),
                     Buttons::YesNo) != Answer::Yes)
        return {};
    return fileName;
}

bool TForm1::SavePatchNow() {
    if (state_.PatchText().isEmpty()) {
        SetStatus(2, tr("Патч пуст: сохранять нечего"));
        return false;
    }
    const QString fileName = ChoosePatchPath();
    if (fileName.isEmpty()) return false;
    if (const Status status = state_.SavePatch(fileName, dialogs_); !status.ok()) {
        if (status.code() != Status::Code::Cancelled) dialogs_.Error(status.message());
        return false;
    }
    SetStatus(0, fileName);
    return true;
}

void TForm1::Apply1Click() { RunPatchFiles(PatchDirection::Apply); }

void TForm1::Undo1Click() { RunPatchFiles(PatchDirection::Undo); }

void TForm1::RunPatchFiles(PatchDirection direction) {
    if (!HasOpenImage()) return;
    const QStringList paths = dialogs_.OpenFiles(QtFileFilter(kPatchOpenFilter));
    if (paths.isEmpty()) return;
    RememberFolder(paths.first());
    RunPatchFiles(paths, direction);
}

void TForm1::ApplyPatchFiles(const QStringList& files) {
    RunPatchFiles(files, PatchDirection::Apply);
}

void TForm1::RunPatchFiles(const QStringList& paths, PatchDirection direction) {
    if (!HasOpenImage()) return;
    ApplyCounts counts;
    const Status status = vorlix::ApplyPatchFiles(
        session_, paths, direction, dialogs_,
        [this](const QString& text) { dialogs_.Tell(kCaptionWarning, text); }, &counts);
    // Nothing was written then; a refused question has been answered already.
    if (!status.ok()) {
        if (status.code() != Status::Code::Cancelled) dialogs_.Error(status.message());
        return;
    }
    // The working image changed beside the pictures' edits, which can no
    // longer be undone without undoing the patch as well.
    state_.ForgetEdits();
    const int files = static_cast<int>(paths.size()) - counts.skippedFiles;
    SetStatus(2, direction == PatchDirection::Apply
                     ? tr("Применено патчей: %1, записей: %2").arg(files).arg(counts.entries)
                     : tr("Откачено патчей: %1, записей: %2").arg(files).arg(counts.entries));
}

// ---- whole image

void TForm1::Button2Click() {
    if (!HasOpenImage()) return;
    // The fill builds its own pictures from the tables and changes neither
    // image, so the listed pictures stay valid: they are kept, and every
    // row goes on working with its picture after the fill.
    PictureList kept = std::move(session_.Pictures);
    session_.Pictures.clear();
    FillCounts counts;
    WhileHidden(Splitter1, ListView1, [&] {
        QStringList lines;
        counts = FillPicturesWithFF(session_, lines, BarSink(ProgressBar1));
        session_.Pictures = std::move(kept);
        // The fill's lines go under the pane's text, as the user's own: they
        // are not a patch of the pictures.
        if (!lines.isEmpty()) state_.SetCommandText(state_.PatchLines() + lines);
        ProgressBar1->setValue(0);
    });
    SetStatus(1, FillCountsText(counts));
}

void TForm1::ReCreateClick() {
    if (!HasOpenImage()) return;
    Image1->hide();
    Image2->hide();
    RecreateAllGraphics(session_, BarSink(ProgressBar1));
    for (int row = 0; row < int(session_.Slots.size()); ++row) RowChanged(row);
    Image1->show();
    Image2->show();
    ProgressBar1->setValue(0);
}

}  // namespace vorlix
