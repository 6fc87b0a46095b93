#include "ui/installed_patches_dialog.h"

#include <QAction>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMimeData>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "ui/user_dialogs.h"
#include "vkp/patch_file.h"

namespace vorlix {

namespace {

const QString kPatchFilter = QStringLiteral("*.vkp|*.vkp|*.*|*.*");

// How the last open left a patch, when it is the same entry (same file,
// switched the same way); null for one added or switched since.
const StackedPatch* LastState(const PatchStack& stack, const InstalledPatch& patch) {
    for (const StackedPatch& p : stack.patches)
        if (p.patch == patch) return &p;
    return nullptr;
}

bool SameFile(const QString& a, const QString& b) {
    return QFileInfo(a).absoluteFilePath() == QFileInfo(b).absoluteFilePath();
}

}  // namespace

QStringList DroppedPatchFiles(const QMimeData* data) {
    QStringList paths;
    if (!data || !data->hasUrls()) return paths;
    for (const QUrl& url : data->urls()) {
        const QString path = url.toLocalFile();
        if (!path.isEmpty() && path.endsWith(QLatin1String(".vkp"), Qt::CaseInsensitive))
            paths << path;
    }
    return paths;
}

InstalledPatchesDialog::InstalledPatchesDialog(const InstalledPatchList& patches,
                                               const PatchStack& lastOpen,
                                               const QString& modelAndVersion, UserDialogs& dialogs,
                                               std::function<void(const InstalledPatchList&)> check,
                                               QWidget* parent)
    : QDialog(parent),
      patches_(patches),
      lastOpen_(lastOpen),
      dialogs_(dialogs),
      check_(std::move(check)) {
    setObjectName(QStringLiteral("InstalledPatches"));
    setWindowTitle(tr("Установленные патчи — %1").arg(modelAndVersion));
    setAcceptDrops(true);
    resize(600, 380);

    Label1 = new QLabel(
        tr("Патчи, которые уже прошиты в телефон, в порядке прошивки. Открытие FullFlash "
           "накладывает включённые патчи на образ: картинки видны такими, как на телефоне, "
           "новые данные не занимают байты патчей, а новый патч ставится после них. "
           "Файлы .vkp можно перетащить сюда."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);

    PatchList1 = new QTreeWidget(this);
    PatchList1->setObjectName(QStringLiteral("PatchList1"));
    PatchList1->setColumnCount(kColumns);
    PatchList1->setHeaderLabels({tr("Патч"), tr("Состояние"), tr("Записей")});
    PatchList1->setRootIsDecorated(false);
    PatchList1->setUniformRowHeights(true);
    PatchList1->setSelectionMode(QAbstractItemView::SingleSelection);
    PatchList1->header()->setStretchLastSection(false);
    PatchList1->header()->setSectionResizeMode(ColFile, QHeaderView::Stretch);
    PatchList1->header()->setSectionResizeMode(ColState, QHeaderView::ResizeToContents);
    PatchList1->header()->setSectionResizeMode(ColRecords, QHeaderView::ResizeToContents);
    PatchList1->setToolTip(tr("Галочка включает патч; выключенный патч не накладывается"));

    const auto button = [this](const char* name, const QString& caption, const QString& hint) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(hint);
        b->setAutoDefault(false);
        return b;
    };
    AddPatch1 = button("AddPatch1", tr("Добавить…"), tr("Добавить файлы патчей в конец списка"));
    RemovePatch1 = button("RemovePatch1", tr("Удалить"), tr("Убрать патч из списка"));
    MoveUp1 = button("MoveUp1", tr("Вверх"), tr("Патч прошит раньше"));
    MoveDown1 = button("MoveDown1", tr("Вниз"), tr("Патч прошит позже"));
    CheckPatches1 =
        button("CheckPatches1", tr("Проверить…"),
               tr("Проверить включённые патчи и текст патча в панели на конфликты: пересекающиеся "
                  "записи, несовпадающие данные отката, патчи, которые уже есть в дампе"));

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(AddPatch1);
    buttons->addWidget(RemovePatch1);
    buttons->addWidget(MoveUp1);
    buttons->addWidget(MoveDown1);
    buttons->addStretch();
    buttons->addWidget(CheckPatches1);

    auto* middle = new QHBoxLayout;
    middle->addWidget(PatchList1, 1);
    middle->addLayout(buttons);

    auto* box = new QDialogButtonBox(this);
    box->addButton(tr("ОК"), QDialogButtonBox::AcceptRole)->setObjectName(QStringLiteral("OK1"));
    box->addButton(tr("Отмена"), QDialogButtonBox::RejectRole)
        ->setObjectName(QStringLiteral("Cancel1"));
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(middle, 1);
    layout->addWidget(box);

    connect(AddPatch1, &QPushButton::clicked, this, &InstalledPatchesDialog::AddClick);
    connect(RemovePatch1, &QPushButton::clicked, this, &InstalledPatchesDialog::RemoveClick);
    connect(MoveUp1, &QPushButton::clicked, this, [this] { MoveClick(-1); });
    connect(MoveDown1, &QPushButton::clicked, this, [this] { MoveClick(+1); });
    connect(CheckPatches1, &QPushButton::clicked, this, &InstalledPatchesDialog::CheckClick);
    connect(PatchList1, &QTreeWidget::itemChanged, this, &InstalledPatchesDialog::ItemChanged);
    connect(PatchList1, &QTreeWidget::currentItemChanged, this,
            &InstalledPatchesDialog::UpdateButtons);
    auto* remove = new QAction(this);
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    PatchList1->addAction(remove);
    connect(remove, &QAction::triggered, this, &InstalledPatchesDialog::RemoveClick);

    Refill(patches_.empty() ? -1 : 0);
}

int InstalledPatchesDialog::CurrentRow() const {
    const QTreeWidgetItem* item = PatchList1->currentItem();
    return item ? PatchList1->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
}

void InstalledPatchesDialog::Refill(int current) {
    filling_ = true;
    PatchList1->clear();
    for (const InstalledPatch& patch : patches_) {
        auto* item = new QTreeWidgetItem(PatchList1);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setText(ColFile, QFileInfo(patch.path).fileName());
        item->setToolTip(ColFile, QDir::toNativeSeparators(patch.path));
        item->setCheckState(ColFile, patch.on ? Qt::Checked : Qt::Unchecked);
        item->setTextAlignment(ColRecords, Qt::AlignRight | Qt::AlignVCenter);
        if (const StackedPatch* last = LastState(lastOpen_, patch)) {
            item->setText(ColState, StackStateText(last->state));
            if (last->state != StackState::Off)
                item->setText(ColRecords, QString::number(last->records));
            item->setToolTip(ColState, last->note);
            if (last->state == StackState::Skipped || last->state == StackState::Error)
                item->setForeground(ColState, QColor(0xB0, 0x00, 0x00));
        } else if (!patch.on) {
            item->setText(ColState, StackStateText(StackState::Off));
        } else {
            item->setText(ColState, QStringLiteral("—"));
            item->setToolTip(ColState, tr("Состояние станет известно при следующем открытии"));
        }
    }
    if (current >= 0 && current < PatchList1->topLevelItemCount())
        PatchList1->setCurrentItem(PatchList1->topLevelItem(current));
    filling_ = false;
    UpdateButtons();
}

void InstalledPatchesDialog::ItemChanged(QTreeWidgetItem* item, int column) {
    if (filling_ || column != ColFile) return;
    const int row = PatchList1->indexOfTopLevelItem(item);
    if (row < 0) return;
    const bool on = item->checkState(ColFile) == Qt::Checked;
    if (patches_[std::size_t(row)].on == on) return;
    patches_[std::size_t(row)].on = on;
    // The state shown belonged to the patch as it was switched before.
    QMetaObject::invokeMethod(
        this, [this, row] { Refill(row); }, Qt::QueuedConnection);
}

void InstalledPatchesDialog::UpdateButtons() {
    const int row = CurrentRow();
    const int n = static_cast<int>(patches_.size());
    RemovePatch1->setEnabled(row >= 0);
    MoveUp1->setEnabled(row > 0);
    MoveDown1->setEnabled(row >= 0 && row < n - 1);
}

void InstalledPatchesDialog::AddClick() {
    const QStringList paths = dialogs_.OpenFiles(QtFileFilter(kPatchFilter));
    if (!paths.isEmpty()) AddFiles(paths);
}

void InstalledPatchesDialog::AddFiles(const QStringList& paths) {
    int last = CurrentRow();
    for (const QString& path : paths) {
        const auto same = [&](const InstalledPatch& p) { return SameFile(p.path, path); };
        // A file stands in the list once: flashing it twice changes nothing.
        if (std::any_of(patches_.begin(), patches_.end(), same)) continue;
        patches_.push_back({QFileInfo(path).absoluteFilePath(), true});
        last = static_cast<int>(patches_.size()) - 1;
    }
    Refill(last);
}

void InstalledPatchesDialog::RemoveClick() {
    const int row = CurrentRow();
    if (row < 0) return;
    patches_.erase(patches_.begin() + row);
    Refill(std::min(row, static_cast<int>(patches_.size()) - 1));
}

void InstalledPatchesDialog::MoveClick(int step) {
    const int row = CurrentRow();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= static_cast<int>(patches_.size())) return;
    std::swap(patches_[std::size_t(row)], patches_[std::size_t(to)]);
    Refill(to);
}

void InstalledPatchesDialog::CheckClick() {
    if (check_) check_(patches_);
}

void InstalledPatchesDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!DroppedPatchFiles(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void InstalledPatchesDialog::dropEvent(QDropEvent* event) {
    const QStringList paths = DroppedPatchFiles(event->mimeData());
    if (paths.isEmpty()) return;
    event->acceptProposedAction();
    AddFiles(paths);
}

ConflictReportDialog::ConflictReportDialog(const QStringList& lines, const QString& summary,
                                           QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("ConflictReport"));
    setWindowTitle(tr("Проверка конфликтов патчей"));
    resize(720, 360);
    Label1 = new QLabel(summary, this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    ReportList1 = new QListWidget(this);
    ReportList1->setObjectName(QStringLiteral("ReportList1"));
    ReportList1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ReportList1->addItems(lines);
    auto* copy = new QAction(this);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    ReportList1->addAction(copy);
    connect(copy, &QAction::triggered, this, [this] { CopyLines(false); });

    auto* box = new QDialogButtonBox(this);
    CopyAll1 = box->addButton(tr("Копировать всё"), QDialogButtonBox::ActionRole);
    CopyAll1->setObjectName(QStringLiteral("CopyAll1"));
    CopyAll1->setToolTip(
        tr("Скопировать весь список в буфер обмена (Ctrl+C копирует "
           "выделенные строки)"));
    box->addButton(tr("Закрыть"), QDialogButtonBox::RejectRole);
    connect(CopyAll1, &QPushButton::clicked, this, [this] { CopyLines(true); });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(ReportList1, 1);
    layout->addWidget(box);
}

void ConflictReportDialog::CopyLines(bool all) {
    QStringList lines;
    for (int i = 0; i < ReportList1->count(); ++i) {
        const QListWidgetItem* item = ReportList1->item(i);
        if (all || item->isSelected()) lines << item->text();
    }
    if (!lines.isEmpty()) QGuiApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

}  // namespace vorlix
