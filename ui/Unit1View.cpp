// The main window's ways of seeing the pictures: the zoom of the preview
// panes, the list's place with the list or the gallery under one filter,
// the pixel viewer that follows the selection, and the layout that gives a
// growing window's room to the pictures.
#include <QAction>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QStackedWidget>
#include <QStyle>
#include <QTabBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>
#include <algorithm>

#include "picture/picture.h"
#include "ui/Unit1.h"
#include "ui/column_growth.h"
#include "ui/gallery_view.h"
#include "ui/list_filter.h"
#include "ui/picture_list_model.h"
#include "ui/pixel_viewer.h"
#include "ui/pixel_zoom.h"
#include "ui/preview_pane.h"
#include "ui/window_growth.h"

namespace vorlix {

namespace {

int ZoomItem(int zoom) {
    const auto* at = std::find(kPreviewZooms.begin(), kPreviewZooms.end(), zoom);
    return at == kPreviewZooms.end() ? 1 : int(at - kPreviewZooms.begin());
}

}  // namespace

QComboBox* TForm1::CreateZoomBox() {
    auto* box = new QComboBox(Panel2);
    box->setObjectName(QStringLiteral("ZoomBox"));
    for (const int zoom : kPreviewZooms)
        box->addItem(zoom == 0 ? tr("Вписать") : tr("%1×").arg(zoom), zoom);
    box->setCurrentIndex(ZoomItem(1));
    box->setToolTip(
        tr("Масштаб картинок в панелях; «Вписать» — наибольший, при котором картинка "
           "помещается. Колесо мыши над панелью тоже меняет его"));
    // As wide as the depth choice above it, whatever its texts ask for.
    box->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    return box;
}

QWidget* TForm1::CreateListSide() {
    ListSide = new QWidget(Panel1);
    ListSide->setObjectName(QStringLiteral("ListSide"));

    ViewTabs = new QTabBar(ListSide);
    ViewTabs->setObjectName(QStringLiteral("ViewTabs"));
    ViewTabs->addTab(tr("Список"));
    ViewTabs->addTab(tr("Галерея"));
    ViewTabs->setTabToolTip(0, tr("Картинки списком"));
    ViewTabs->setTabToolTip(1, tr("Картинки миниатюрами"));
    ViewTabs->setDrawBase(false);
    ViewTabs->setExpanding(false);

    FilterEdit = new QLineEdit(ListSide);
    FilterEdit->setObjectName(QStringLiteral("FilterEdit"));
    FilterEdit->setClearButtonEnabled(true);
    FilterEdit->setPlaceholderText(tr("Фильтр: PIT, Data, 32x32, 16bit, modified, compressed"));
    FilterEdit->setToolTip(
        tr("Показывать только подходящие строки; несколько слов — все сразу:\n"
           "часть текста PIT или Data (670010, 5E2),\nразмер ШxВ (32x32, 101x*),\n"
           "глубина (16bit),\nmodified — изменённые, compressed — сжатые.\n"
           "Номера строк не меняются; команды работают с выделенными строками, как всегда."));
    FilterCount = new QLabel(ListSide);
    FilterCount->setObjectName(QStringLiteral("FilterCount"));

    GallerySizeBox = new QComboBox(ListSide);
    GallerySizeBox->setObjectName(QStringLiteral("GallerySizeBox"));
    for (const int cell : GalleryView::kCellSizes)
        GallerySizeBox->addItem(tr("%1 пикс.").arg(cell), cell);
    GallerySizeBox->setToolTip(tr("Размер миниатюр галереи"));
    GallerySizeBox->setVisible(false);

    PixelViewer1 = new QAction(tr("Просмотр по пикселям"), this);
    PixelViewer1->setObjectName(QStringLiteral("PixelViewer1"));
    PixelViewer1->setToolTip(
        tr("Просмотр по пикселям: старое и новое изображение крупно, "
           "значение и цвет пикселя под указателем (Enter на строке)"));
    PixelViewer1->setIcon(QIcon::fromTheme(QStringLiteral("zoom-in"),
                                           style()->standardIcon(QStyle::SP_FileDialogInfoView)));
    // Undo, redo and revert over the list they act on; the edit commands
    // fill it.
    ToolBar3 = new QToolBar(ListSide);
    ToolBar3->setObjectName(QStringLiteral("ToolBar3"));
    ToolBar3->setIconSize(QSize(16, 16));
    ToolBar3->setMaximumHeight(ViewTabs->sizeHint().height());
    ToolBar4 = new QToolBar(ListSide);
    ToolBar4->setObjectName(QStringLiteral("ToolBar4"));
    ToolBar4->setIconSize(QSize(16, 16));
    // No taller than the tabs beside it, so the list loses little height.
    ToolBar4->setMaximumHeight(ViewTabs->sizeHint().height());
    ToolBar4->addAction(PixelViewer1);
    PopupMenu1->insertAction(Apply1, PixelViewer1);

    Views = new QStackedWidget(ListSide);
    Views->setObjectName(QStringLiteral("Views"));
    Gallery1 = new GalleryView(
        [this](int row) -> const Picture* { return session_.PictureOfRow(row); }, Views);
    Gallery1->setObjectName(QStringLiteral("Gallery1"));
    Gallery1->setModel(model_);
    // One selection for both views: a row selected in one is selected in
    // the other, and the commands read it from the list as always.
    Gallery1->setSelectionModel(ListView1->selectionModel());
    Gallery1->setContextMenuPolicy(Qt::CustomContextMenu);
    Gallery1->setPalette(ListView1->palette());  // the selection shows without the focus too
    Views->addWidget(ListView1);
    Views->addWidget(Gallery1);

    auto* row = new QHBoxLayout;
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(4);
    row->addWidget(ViewTabs);
    row->addWidget(FilterEdit, 1);
    row->addWidget(FilterCount);
    row->addWidget(GallerySizeBox);
    row->addWidget(ToolBar3);
    row->addWidget(ToolBar4);
    row->addWidget(CreateInstalledPatchesButton(ListSide));
    auto* side = new QVBoxLayout(ListSide);
    side->setContentsMargins(0, 0, 0, 0);
    side->setSpacing(2);
    side->addLayout(row);
    side->addWidget(Views, 1);

    filter_ = new ListFilter(session_, model_, ListView1, Gallery1, this);
    return ListSide;
}

void TForm1::ConnectViewCommands() {
    // The top panel's columns as designed, from now on growing with the
    // window where the pictures are.
    auto* top = qobject_cast<QBoxLayout*>(Panel2->layout());
    QGridLayout* images = nullptr;
    for (int i = 0; top && i < top->count() && !images; ++i)
        if (auto* grid = qobject_cast<QGridLayout*>(top->itemAt(i)->layout());
            grid && grid->indexOf(Panel4) >= 0)
            images = grid;
    if (top && images) new WindowGrowth(this, Panel2, top, images, {Image1, Image2});
    new ColumnGrowth(ListView1);

    connect(ZoomBox, &QComboBox::currentIndexChanged, this, &TForm1::ZoomBoxChange);
    for (PreviewPane* pane : {Image1, Image2})
        connect(pane, &PreviewPane::zoomStepped, this, [this, pane](int step) {
            // At "fit" the step starts from the factor the pane shows.
            const int fitted = std::max(1, int(pane->Factor() / pane->devicePixelRatioF()));
            ZoomBox->setCurrentIndex(ZoomItem(WheelZoom(pane->Zoom(), fitted, step)));
        });

    connect(ViewTabs, &QTabBar::currentChanged, this, &TForm1::ViewTabsChange);
    connect(FilterEdit, &QLineEdit::textChanged, this, &TForm1::FilterEditChange);
    const auto showCounts = [this] {
        FilterCount->setText(tr("%1 из %2").arg(filter_->Shown()).arg(filter_->Total()));
        FilterCount->setToolTip(
            tr("Показано строк: %1 из %2").arg(filter_->Shown()).arg(filter_->Total()));
    };
    connect(filter_, &ListFilter::countsChanged, this, showCounts);
    showCounts();
    connect(GallerySizeBox, &QComboBox::currentIndexChanged, this,
            [this] { Gallery1->SetCellSize(GallerySizeBox->currentData().toInt()); });
    GallerySizeBox->setCurrentIndex(1);

    connect(Gallery1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(Gallery1->viewport()->mapToGlobal(pos));
    });
    connect(PixelViewer1, &QAction::triggered, this, &TForm1::PixelViewer1Execute);
    // Enter on a row (or a double click) opens the viewer on it.
    connect(ListView1, &QAbstractItemView::activated, this, &TForm1::PixelViewer1Execute);
    connect(Gallery1, &QAbstractItemView::activated, this, &TForm1::PixelViewer1Execute);

    QItemSelectionModel* selection = ListView1->selectionModel();
    connect(selection, &QItemSelectionModel::selectionChanged, this, &TForm1::ViewerFollow);
    connect(selection, &QItemSelectionModel::currentChanged, this, &TForm1::ViewerFollow);
    connect(model_, &QAbstractItemModel::dataChanged, this, &TForm1::ViewerFollow);
    connect(model_, &QAbstractItemModel::modelReset, this, &TForm1::ViewerFollow);
}

void TForm1::ApplyViewSettings() {
    ZoomBox->setCurrentIndex(ZoomItem(settings_.PreviewZoom));
    const int cell = GallerySizeBox->findData(settings_.GalleryCell);
    GallerySizeBox->setCurrentIndex(cell >= 0 ? cell : 1);
    ViewTabs->setCurrentIndex(settings_.ShowGallery ? 1 : 0);
}

void TForm1::KeepViewSettings() {
    settings_.PreviewZoom = Image1->Zoom();
    settings_.GalleryCell = Gallery1->CellSize();
    settings_.ShowGallery = Views->currentWidget() == Gallery1;
}

void TForm1::ZoomBoxChange() {
    const int zoom = ZoomBox->currentData().toInt();
    Image1->SetZoom(zoom);
    Image2->SetZoom(zoom);
    settings_.PreviewZoom = zoom;
}

void TForm1::ViewTabsChange(int tab) {
    QAbstractItemView* shown = tab == 1 ? static_cast<QAbstractItemView*>(Gallery1) : ListView1;
    const bool hadFocus = Views->currentWidget() && Views->currentWidget()->hasFocus();
    Views->setCurrentWidget(shown);
    GallerySizeBox->setVisible(tab == 1);
    const QModelIndex current = ListView1->selectionModel()->currentIndex();
    if (current.isValid()) shown->scrollTo(current);
    if (hadFocus) shown->setFocus();
}

void TForm1::FilterEditChange() { filter_->SetText(FilterEdit->text()); }

void TForm1::PixelViewer1Execute() {
    if (!viewer_) viewer_ = new PixelViewer(this);
    viewer_->show();
    viewer_->raise();
    viewer_->activateWindow();
    ViewerFollow();
}

void TForm1::ViewerFollow() {
    if (!viewer_ || !viewer_->isVisible()) return;
    const int row = SelectedRow();
    const Picture* picture = session_.PictureOfRow(row);
    const ListRow texts = MakeRowTexts(session_, row);
    viewer_->ShowPicture(picture, picture ? &texts : nullptr);
}

}  // namespace vorlix
