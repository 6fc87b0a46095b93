#include "ui/Unit1.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include "patch/stacked_open.h"
#include "picture/color_tables.h"
#include "picture/picture.h"
#include "session/flash_notices.h"
#include "session/flash_session.h"
#include "session/open_flash.h"
#include "session/placement_area.h"
#include "ui/Unit3.h"
#include "ui/model_choice.h"
#include "ui/picture_list_model.h"
#include "ui/preview_pane.h"
#include "ui/program_icon.h"
#include "ui/window_state.h"
#include "vkp/installed_stack.h"

namespace vorlix {

namespace {

constexpr int kDesignedWidth = 778;
constexpr int kDesignedHeight = 540;
constexpr int kStatusPanelWidth = 300;

// The context is named, as lupdate does not resolve TForm1 inside this
// unnamed namespace.
QString SearchFinishedText() {
    return QCoreApplication::translate("vorlix::TForm1", "Поиск картинок завершён");
}

// A status bar panel that asks for 300 pixels but gives way when the
// window is narrower.
class StatusPanel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize sizeHint() const override { return {kStatusPanelWidth, QLabel::sizeHint().height()}; }
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
};

// A status bar label that asks for its whole text but gives way when the
// window is narrower.
class YieldingLabel : public QLabel {
  public:
    using QLabel::QLabel;
    QSize minimumSizeHint() const override { return {0, QLabel::minimumSizeHint().height()}; }
};

QIcon ThemeIcon(const char* name, QStyle::StandardPixmap fallback, const QStyle* style) {
    return QIcon::fromTheme(QLatin1String(name), style->standardIcon(fallback));
}

// A menu item that stands for an action: same caption, icon and hint;
// choosing it runs the action.
QAction* ItemFor(QAction* action, const char* name, QObject* parent) {
    auto* item = new QAction(action->icon(), action->text(), parent);
    item->setObjectName(QLatin1String(name));
    item->setToolTip(action->toolTip());
    item->setEnabled(action->isEnabled());
    QObject::connect(item, &QAction::triggered, action, &QAction::trigger);
    QObject::connect(action, &QAction::enabledChanged, item, &QAction::setEnabled);
    return item;
}

}  // namespace

TForm1::TForm1(Settings& settings, UserDialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), settings_(settings), dialogs_(dialogs), state_(settings) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Vorlix Editor"));
    setWindowIcon(ProgramIcon());
    resize(kDesignedWidth, kDesignedHeight);

    CreateActions();
    CreateTopPanel();
    CreateClientPanel();
    CreateEditCommands();

    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(Panel2);
    layout->addWidget(Panel1, 1);
    layout->addWidget(ProgressBar1);
    setCentralWidget(central);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(500);

    Form3 = new TForm3(settings_, dialogs_, this);

    CreateShortcuts();
    ConnectCommands();
    ConnectViewCommands();
    FollowSearch();
    StartUp();
    if (!startupFailed_) ApplyViewSettings();
}

TForm1::~TForm1() { FormDestroy(); }

// ---- construction of the controls

void TForm1::CreateActions() {
    const QStyle* st = style();
    ImageList1 = {
        ThemeIcon("document-new", QStyle::SP_FileIcon, st),
        ThemeIcon("document-save", QStyle::SP_DialogSaveButton, st),
        ThemeIcon("edit-copy", QStyle::SP_FileDialogContentsView, st),
        ThemeIcon("document-properties", QStyle::SP_FileDialogDetailedView, st),
        ThemeIcon("document-open", QStyle::SP_DialogOpenButton, st),
        ThemeIcon("folder-open", QStyle::SP_DirOpenIcon, st),
    };
    const auto make = [this](const char* name, const QString& caption, int icon,
                             const QString& hint = QString()) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setToolTip(hint.isEmpty() ? caption : hint);
        if (icon >= 0) action->setIcon(ImageList1[icon]);
        return action;
    };
    EditSelectAll1 = make("EditSelectAll1", tr("Select &All"), -1);
    EditSelectAll1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_A));
    EditSelectAll1->setShortcutContext(Qt::WindowShortcut);
    addAction(EditSelectAll1);
    SavePatch1 = make("SavePatch1", tr("Uložit vkp patch"), 1);
    GeneratePatch1 = make("GeneratePatch1", tr("Vytvořit vkp patch"), 3);
    EditCopy1 = make("EditCopy1", tr("Označit a zkopírovat celý patch(CTRL+A;CTRL+C)"), 2);
    EditDelete1 = make("EditDelete1", tr("Nový patch"), 0);
    LoadPicture1 = make("LoadPicture1", tr("Otevřít a vložit obrázek"), 4);
    SavePicture1 = make("SavePicture1", tr("Uložit obrázek z FF"), 1);
    BatchLoad1 = make("BatchLoad1", tr("Пакетная загрузка"), 5, tr("Пакетная загрузка картинок"));
}

void TForm1::CreateTopPanel() {
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(169);

    const auto button = [this](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, Panel2);
        b->setObjectName(QLatin1String(name));
        return b;
    };
    Open = button("Open", tr("Otevřít FF"));
    Open->setDefault(true);
    Open->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenu2 = new QMenu(Open);
    PopupMenu2->setObjectName(QStringLiteral("PopupMenu2"));
    RecentFiles = new QToolButton(Panel2);
    RecentFiles->setObjectName(QStringLiteral("RecentFiles"));
    RecentFiles->setArrowType(Qt::DownArrow);
    RecentFiles->setPopupMode(QToolButton::InstantPopup);
    RecentFiles->setMenu(PopupMenu2);
    // The arrow says it all; the style's small menu mark would repeat it.
    RecentFiles->setStyleSheet(QStringLiteral("QToolButton::menu-indicator { image: none; }"));
    RecentFiles->setToolTip(tr("Недавно открытые файлы"));
    // As high as the button it belongs to, whatever the style's tool buttons ask.
    RecentFiles->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Ignored);
    Close = button("Close", tr("Zavřít FF"));
    Refresh = button("Refresh", tr("Obnovit FF"));
    Button1 = button("Button1", tr("Nastavení"));

    Edit4 = new QLineEdit(Panel2);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->setReadOnly(true);
    Edit1 = new QLineEdit(Panel2);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setReadOnly(true);
    Edit1->setToolTip(tr("Версия прошивки"));

    CheckBox1 = new QCheckBox(tr("Автоимена при сохранении"), Panel2);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    CheckBox2 = new QCheckBox(tr("Патч только для выделенных"), Panel2);
    CheckBox2->setObjectName(QStringLiteral("CheckBox2"));

    const auto pane = [this](const char* panelName, const char* paneName, const QString& hint,
                             QFrame*& panel) {
        panel = new QFrame(Panel2);
        panel->setObjectName(QLatin1String(panelName));
        auto* p = new PreviewPane(panel);
        p->setObjectName(QLatin1String(paneName));
        p->setToolTip(hint);
        auto* l = new QVBoxLayout(panel);
        l->setContentsMargins(0, 0, 0, 0);
        l->addWidget(p);
        return p;
    };
    Image1 = pane("Panel4", "Image1", tr("Старое изображение"), Panel4);
    Image2 = pane("Panel5", "Image2", tr("Новое изображение"), Panel5);

    RadioGroup1 = new QGroupBox(tr("Bitů"), Panel2);
    RadioGroup1->setObjectName(QStringLiteral("RadioGroup1"));
    RadioGroup1->setToolTip(tr("Zadej počet bitů"));
    RadioGroup1Items = new QButtonGroup(RadioGroup1);
    RadioGroup1Items->setObjectName(QStringLiteral("RadioGroup1Items"));
    auto* depthLayout = new QVBoxLayout(RadioGroup1);
    depthLayout->setSpacing(0);
    depthLayout->setContentsMargins(6, 2, 6, 2);
    const char* depths[] = {QT_TR_NOOP("1 bit"), QT_TR_NOOP("2 bit"), QT_TR_NOOP("8 bit"),
                            QT_TR_NOOP("12 bit"), QT_TR_NOOP("16 bit")};
    for (int i = 0; i < 5; ++i) {
        auto* r = new QRadioButton(tr(depths[i]), RadioGroup1);
        RadioGroup1Items->addButton(r, i);
        depthLayout->addWidget(r);
    }
    SetRadioGroup1ItemIndex(4);
    CheckBox3 = new QCheckBox(tr("Komprimovat obrázek"), Panel2);
    CheckBox3->setObjectName(QStringLiteral("CheckBox3"));

    ToolBar2 = new QToolBar(Panel2);
    ToolBar2->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar2->setIconSize(QSize(16, 16));
    ToolBar2->addAction(LoadPicture1);
    ToolBar2->addAction(BatchLoad1);
    ToolBar2->addAction(SavePicture1);
    ToolBar2->addSeparator();
    ToolBar2->addAction(EditDelete1);
    ToolBar2->addAction(GeneratePatch1);
    ToolBar2->addAction(SavePatch1);
    ToolBar2->addAction(EditCopy1);

    ReCreate = button("ReCreate", tr("Пересоздать всю графику"));
    ReCreate->setEnabled(false);
    ReCreate->setVisible(false);
    MakePatch = button("MakePatch", tr("Сгенерировать патч"));
    MakePatch->setVisible(false);
    Button2 = button("Button2", tr("Забить картинки FF"));
    Button2->setVisible(false);

    Panel3 = new QFrame(Panel2);
    Panel3->setObjectName(QStringLiteral("Panel3"));
    Panel3->setFrameShape(QFrame::StyledPanel);
    Label8 = new QLabel(tr("Vytvořili: "), Panel3);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label9 = new QLabel(tr("Editor obrázků firmware"), Panel3);
    Label9->setObjectName(QStringLiteral("Label9"));
    Label1 = new QLabel(tr("pro telefony Siemens"), Panel3);
    Label1->setObjectName(QStringLiteral("Label1"));
    Image3 = new QLabel(Panel3);
    Image3->setObjectName(QStringLiteral("Image3"));
    Image3->setPixmap(ProgramIcon().pixmap(32, 32));
    auto* info = new QVBoxLayout(Panel3);
    info->addWidget(Image3, 0, Qt::AlignHCenter);
    info->addWidget(Label8);
    info->addWidget(Label9);
    info->addWidget(Label1);
    info->addStretch();

    // Left: the file commands, the file and its firmware, the options.
    auto* files = new QGridLayout;
    files->setVerticalSpacing(4);
    auto* open = new QHBoxLayout;
    open->setSpacing(0);
    open->addWidget(Open, 1);
    open->addWidget(RecentFiles);
    files->addLayout(open, 0, 0);
    // "Otevřít FF" with its arrow is as wide as the button beside it.
    files->setColumnStretch(0, 1);
    files->setColumnStretch(1, 1);
    files->addWidget(Close, 0, 1);
    files->addWidget(Refresh, 1, 0);
    files->addWidget(Button1, 1, 1);
    files->addWidget(Edit4, 2, 0, 1, 2);
    files->addWidget(Edit1, 3, 0, 1, 2);
    files->addWidget(CheckBox1, 4, 0, 1, 2);
    files->addWidget(CheckBox2, 5, 0, 1, 2);
    files->addWidget(ReCreate, 6, 0);
    files->addWidget(MakePatch, 6, 1);
    files->addWidget(Button2, 7, 0);
    files->setRowStretch(8, 1);

    // Middle: old and new image over the tool bar and the compress box,
    // beside the depth choice.
    auto* images = new QGridLayout;
    images->setVerticalSpacing(4);
    images->addWidget(Panel4, 0, 0);
    images->addWidget(Panel5, 0, 1);
    images->addWidget(ToolBar2, 1, 0, 1, 2);
    images->addWidget(CheckBox3, 2, 0, 1, 2);
    images->setRowStretch(3, 1);

    auto* depth = new QVBoxLayout;
    depth->addWidget(RadioGroup1);
    ZoomBox = CreateZoomBox();
    depth->addWidget(ZoomBox);
    depth->addStretch();

    auto* top = new QHBoxLayout(Panel2);
    top->setContentsMargins(4, 4, 4, 4);
    top->addLayout(files, 3);
    top->addLayout(images);
    top->addLayout(depth);
    top->addWidget(Panel3, 1);
}

void TForm1::CreateClientPanel() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));

    model_ = new PictureListModel(session_, this);
    ListView1 = new QTreeView(Panel1);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setModel(model_);
    ListView1->setRootIsDecorated(false);
    ListView1->setItemsExpandable(false);
    ListView1->setUniformRowHeights(true);
    ListView1->setAllColumnsShowFocus(true);
    ListView1->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ListView1->setSelectionBehavior(QAbstractItemView::SelectRows);
    ListView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListView1->setItemDelegate(new GridLineDelegate(ListView1));
    ListView1->header()->setStretchLastSection(false);
    ListView1->header()->setSectionsMovable(false);
    // The designed widths, widened where this platform's font needs more
    // room for the caption or the widest text a column holds.
    const QString widest[] = {
        QStringLiteral("0000"),   QString(kRowYes),        QStringLiteral("16"),
        QStringLiteral("255"),    QStringLiteral("255"),   QStringLiteral("FFFFFF"),
        QStringLiteral("FFFFFF"), QStringLiteral("00000"), QString(kRowYes)};
    const QFontMetrics metrics(ListView1->font());
    for (int c = 0; c < model_->columnCount(); ++c) {
        const int needed = c < int(std::size(widest))
                               ? std::max(metrics.horizontalAdvance(widest[c]),
                                          metrics.horizontalAdvance(ColumnCaption(c))) +
                                     12
                               : 0;
        ListView1->header()->resizeSection(c, std::max(PictureListModel::ColumnWidth(c), needed));
    }
    // The selection stays visible when the list loses the focus.
    QPalette palette = ListView1->palette();
    palette.setColor(QPalette::Inactive, QPalette::Highlight,
                     palette.color(QPalette::Active, QPalette::Highlight));
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText,
                     palette.color(QPalette::Active, QPalette::HighlightedText));
    ListView1->setPalette(palette);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);

    PopupMenu1 = new QMenu(ListView1);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    Load1 = ItemFor(LoadPicture1, "Load1", PopupMenu1);
    Batch1 = ItemFor(BatchLoad1, "Batch1", PopupMenu1);
    Save1 = ItemFor(SavePicture1, "Save1", PopupMenu1);
    Apply1 = new QAction(tr("Применить патч"), PopupMenu1);
    Apply1->setObjectName(QStringLiteral("Apply1"));
    Apply1->setVisible(false);
    Undo1 = new QAction(tr("Откатить патч"), PopupMenu1);
    Undo1->setObjectName(QStringLiteral("Undo1"));
    Undo1->setVisible(false);
    PopupMenu1->addAction(Load1);
    PopupMenu1->addAction(Batch1);
    PopupMenu1->addAction(Save1);
    PopupMenu1->addAction(Apply1);
    PopupMenu1->addAction(Undo1);

    Memo1 = new QPlainTextEdit(Panel1);
    Memo1->setObjectName(QStringLiteral("Memo1"));
    QFont font(QStringLiteral("Courier"), 10);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    if (!QFontInfo(font).fixedPitch()) {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPointSize(10);
    }
    Memo1->setFont(font);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

    Splitter1 = new QSplitter(Qt::Horizontal, Panel1);
    Splitter1->setObjectName(QStringLiteral("Splitter1"));
    Splitter1->setHandleWidth(3);
    Splitter1->setChildrenCollapsible(false);
    Splitter1->addWidget(CreateListSide());
    Splitter1->addWidget(Memo1);
    // Both grow with the window, each by its share of the width.
    Splitter1->setStretchFactor(0, 1);
    Splitter1->setStretchFactor(1, 1);
    // The list is 445 wide as designed, or as wide as its columns where the
    // font made them wider, so that a whole row shows.
    const int listWidth =
        std::max(445, ListView1->header()->length() +
                          ListView1->style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                          2 * ListView1->frameWidth());
    Splitter1->setSizes({listWidth, kDesignedWidth - listWidth - 3});

    auto* client = new QVBoxLayout(Panel1);
    client->setContentsMargins(0, 0, 0, 0);
    client->addWidget(Splitter1);

    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    ProgressBar1->setFixedHeight(16);

    StatusBar1 = statusBar();
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 3; ++i) {
        auto* panel = new StatusPanel(StatusBar1);
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        if (i < 2) panel->setMaximumWidth(kStatusPanelWidth);
        StatusBar1->addWidget(panel, i < 2 ? 0 : 1);
        StatusPanels[i] = panel;
    }
    // The placement area gives way to the counts in a narrow window; its
    // whole text stays in the tool tip.
    PlaceAreaLabel = new YieldingLabel(StatusBar1);
    PlaceAreaLabel->setObjectName(QStringLiteral("PlaceAreaLabel"));
    // Its width counts for nothing against the panels': it takes a share of
    // what they leave.
    PlaceAreaLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusBar1->addPermanentWidget(PlaceAreaLabel, 1);
}

void TForm1::ConnectCommands() {
    connect(Open, &QPushButton::clicked, this, &TForm1::OpenClick);
    connect(Open, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu2->popup(Open->mapToGlobal(pos)); });
    connect(Close, &QPushButton::clicked, this, &TForm1::CloseClick);
    connect(Refresh, &QPushButton::clicked, this, &TForm1::RefreshClick);
    connect(Button1, &QPushButton::clicked, this, &TForm1::Button1Click);
    connect(CheckBox1, &QCheckBox::toggled, this, &TForm1::CheckBox1Click);
    connect(CheckBox2, &QCheckBox::toggled, this, &TForm1::CheckBox2Click);
    connect(Image1, &PreviewPane::doubleClicked, this, &TForm1::Image1Click);
    connect(Image2, &PreviewPane::doubleClicked, this, &TForm1::Image1Click);
    connect(EditSelectAll1, &QAction::triggered, this, &TForm1::EditSelectAll1Execute);
    connect(ListView1->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &TForm1::ListView1SelectItem);
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(pos));
    });
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);
    WatchPatchPane();
    ConnectPictureCommands();
}

// ---- start-up and exit

void TForm1::StartUp() {
    building_ = true;
    BuildColorTables();
    // A stored value that does not convert is shown; the program then ends
    // without writing anything back.
    Status loaded = settings_.LoadProgramSettings(dialogs_);
    if (loaded.ok()) loaded = settings_.LoadModelSettings();
    if (!loaded.ok()) {
        dialogs_.Error(loaded.message());
        startupFailed_ = true;
        building_ = false;
        return;
    }
    RebuildRecentMenu();
    resize(settings_.WindowWidth, settings_.WindowHeight);
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    if (settings_.WindowState == 2) setWindowState(Qt::WindowMaximized);
    frameColor_ = settings_.FrameColor;
    CheckBox1->setChecked(settings_.AutoName);
    CheckBox2->setChecked(settings_.OnlySelected);
    building_ = false;
    Label8->setText(Label8->text() + settings_.VersionText);
    ClearPanes();
}

void TForm1::FormDestroy() {
    StopSearch();
    if (!startupFailed_) {
        KeepWindowState(*this, settings_);
        settings_.FrameColor = frameColor_;
        settings_.AutoName = CheckBox1->isChecked();
        settings_.OnlySelected = CheckBox2->isChecked();
        KeepViewSettings();
        SaveSettings();
    }
    model_->Reset([this] { session_.ClearPictures(); });
}

void TForm1::SaveSettings() {
    Status saved = settings_.SaveProgramSettings();
    if (saved.ok()) saved = settings_.SaveModelSettings();
    if (!saved.ok()) dialogs_.Error(saved.message());
}

// ---- opening and closing

QString TForm1::OpenFilter() {
    return tr("Full Flash (*.fls; *.bin)|*.fls;*bin|Все файлы (*.*)|*.*");
}

void TForm1::OpenClick() {
    const QString path = dialogs_.OpenFile(QtFileFilter(OpenFilter()), QStringLiteral("fls"));
    if (path.isEmpty()) return;
    RememberFolder(path);
    OpenFullFlash(path);
}

void TForm1::PopupMenu2ItemsClick(int number) {
    if (number < 0 || number >= int(settings_.Recent.size())) return;
    const QString path = settings_.Recent[number];
    if (!path.isEmpty()) OpenFullFlash(path);
}

void TForm1::OpenFullFlash(const QString& path) {
    // Refresh and close ask before edits are thrown away; so does an open
    // over them, whichever way the file came.
    if (!ConfirmLoss(tr("Подтверждение открытия"))) return;
    OpenConfirmed(path);
}

void TForm1::OpenPatchFile(const QString& path) {
    // The pane holds one document: text not yet saved is asked about first.
    if (!state_.PatchSaved() && !ConfirmLoss(tr("Подтверждение открытия"))) return;
    if (const Status status = state_.OpenPatchDocument(path); !status.ok()) {
        dialogs_.Error(status.message());
        return;
    }
    SetStatus(2, tr("Патч «%1» открыт в панели патча").arg(QFileInfo(path).fileName()));
}

void TForm1::OpenConfirmed(const QString& path) {
    const QString previousPath = Edit4->text();
    const QString previousModel = Edit1->text();
    const std::array<QString, 8> previousRecent = settings_.Recent;
    SetOpenPath(path);
    OpenHooks hooks;
    hooks.status = [this](const QString& text) { SetStatus(0, text); };
    hooks.recentChanged = [this] { RebuildRecentMenu(); };
    hooks.identified = [this](const QString& modelAndVersion) { Edit1->setText(modelAndVersion); };
    hooks.newModel = [this] { Button1Click(); };
    hooks.chooseModel = [this](const QString& found) {
        return AskModelChoice(dialogs_, found, this);
    };
    // The previous image is about to be replaced: its search must end
    // before the base image is written.
    hooks.replacing = [this] {
        StopSearch();
        state_.PicturesListedAnew();
        model_->Reset([this] { session_.ClearPictures(); });
        ClearPanes();
    };
    // The search of the previous image is not listed while the open runs,
    // so that its rows come only if the open is called off.
    hooks.notice = [this](const QString& caption, const QString& text) {
        dialogs_.Tell(caption, text);
    };
    state_.HoldSearch(true);
    const OpenOutcome outcome = OpenFullFlashStacked(
        session_, path, hooks, [this] { return InstalledPatches(); }, dialogs_, stack_);
    if (!outcome.error.ok() && !outcome.error.message().isEmpty())
        dialogs_.Error(outcome.error.message());
    const OpenResult result = outcome.result;
    if (result == OpenResult::Cancelled) {
        SetOpenPath(previousPath);
        Edit1->setText(previousModel);
        RebuildRecentMenu();
        SetStatus(0, tr("Открытие отменено"));
        // What the previous image's search found meanwhile is listed now.
        state_.HoldSearch(false);
        return;
    }
    state_.HoldSearch(false);
    model_->Reset();
    ClearPanes();
    if (result == OpenResult::NotOpened) {
        SetOpenPath(QString());
        return;
    }
    if (result == OpenResult::Opened) {
        AskAboutPatchOfOtherFlash();
        StartPictureSearch();
        // The recent list keeps the file once its search has found pictures.
        recentBeforeOpen_ = previousRecent;
        ShowStackStatus();
        return;
    }
    // Stopped: the user was told why; nothing is listed, so nothing is open,
    // and the file is not one to come back to.
    SetOpenPath(QString());
    session_.FilePath.clear();
    Edit1->clear();
    settings_.Recent = previousRecent;
    RebuildRecentMenu();
}

void TForm1::RefreshClick() {
    if (!HasOpenImage()) return;
    // Nothing changed since the open: the file is read again unasked.
    if (!ConfirmLoss(tr("Подтверждение обновления"))) return;
    StopSearch();
    state_.PicturesListedAnew();
    model_->Reset([this] { session_.ClearPictures(); });
    session_.image().ResetWorkingCopy();
    StartPictureSearch();
}

void TForm1::CloseClick() {
    if (!HasOpenImage()) return;
    // With work that would be lost, the model's question; else the plain one.
    if (state_.WhatWouldBeLost().any()) {
        if (!ConfirmLoss(tr("Подтверждение закрытия"))) return;
    } else if (dialogs_.Ask(tr("Подтверждение закрытия"), tr("Закрыть этот фуллфлеш?"),
                            Buttons::YesNo) != Answer::Yes) {
        return;
    }
    // A running search would go on listing pictures of the closed image.
    if (StopSearch()) SetStatus(0, SearchFinishedText());
    state_.PicturesListedAnew();
    ClearNoPictures();
    session_.image().ClearBase();
    model_->Reset([this] { session_.ClearRows(); });
    settings_.ModelAndVersion = Settings::kGeneralKey;
    SetOpenPath(QString());
    session_.FilePath.clear();
    Edit1->clear();
    ClearPanes();
    // The counts of the closed image would read as the state of an open one.
    SetStatus(1, tr("FullFlash не открыт"));
    SetStatus(2, QString());
    ShowPlacementArea();
}

void TForm1::SetOpenPath(const QString& path) {
    Edit4->setText(path);
    Edit4->setToolTip(path);
}

// ---- the search

void TForm1::StartPictureSearch() {
    StopSearch();
    recentBeforeOpen_.reset();
    state_.ForgetEdits();
    model_->Reset([this] { session_.ClearPictures(); });
    // No row is selected now: the panes show nothing until one is.
    ClearPanes();
    SetStatus(0, tr("Поиск картинок"));
    ClearNoPictures();
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    state_.StartSearch(PlanSearch(session_.image().BaseBytes(), settings_, settings_.SearchType));
    Timer1->start();
    ShowPlacementArea();
}

void TForm1::ShowPlacementArea() {
    PlaceAreaLabel->setText(
        PlacementAreaStatus(settings_, session_.IsOpen() ? session_.FileSize : 0));
    PlaceAreaLabel->setToolTip(PlaceAreaLabel->text());
}

bool TForm1::StopSearch() {
    Timer1->stop();
    if (!state_.StopSearch()) return false;
    ProgressBar1->setValue(0);
    return true;
}

void TForm1::Timer1Timer() {
    if (!state_.IsSearching()) {
        Timer1->stop();
        return;
    }
    state_.PollSearch();
}

void TForm1::FollowSearch() {
    connect(&state_, &EditingState::picturesListed, model_, &PictureListModel::RowsAppended);
    connect(&state_, &EditingState::searchProgress, this, [this](int percent) {
        if (ProgressBar1->value() != percent) ProgressBar1->setValue(percent);
    });
    connect(&state_, &EditingState::searchCounts, this, &TForm1::ShowSearchCounts);
    connect(&state_, &EditingState::searchEnded, this, [this](int found, bool scanRecords) {
        Timer1->stop();
        ProgressBar1->setValue(0);
        SetStatus(0, SearchFinishedText());
        if (found == 0) ShowNoPictures(scanRecords);
        if (recentBeforeOpen_ && found == 0) {
            settings_.Recent = *recentBeforeOpen_;
            RebuildRecentMenu();
        }
        recentBeforeOpen_.reset();
    });
}

void TForm1::ShowNoPictures(bool scanRecords) {
    // Over the whole status bar, whose panels have nothing to add to it.
    const QString text =
        NoPicturesText(settings_, scanRecords, tr("кнопкой «%1»").arg(Button1->text()));
    StatusBar1->showMessage(text);
    StatusBar1->setToolTip(text);
}

void TForm1::ClearNoPictures() {
    StatusBar1->clearMessage();
    StatusBar1->setToolTip(QString());
}

void TForm1::ShowSearchCounts(int found, int foundExt, bool scanRecords) {
    if (scanRecords) {
        SetStatus(1, tr("Найдено %n картинок", nullptr, found));
    } else {
        SetStatus(1, tr("Всего %n картинок, из них %1 в PIT и %2 в ExtPIT", nullptr, found)
                         .arg(found - foundExt)
                         .arg(foundExt));
    }
}

// ---- selection and the preview panes

int TForm1::SelectedRow() const {
    const QItemSelectionModel* selection = ListView1->selectionModel();
    const QModelIndex current = selection->currentIndex();
    if (current.isValid() && selection->isRowSelected(current.row(), QModelIndex()))
        return current.row();
    const std::vector<int> rows = SelectedRows();
    return rows.empty() ? -1 : rows.front();
}

std::vector<int> TForm1::SelectedRows() const {
    std::vector<int> rows;
    for (const QItemSelectionRange& range : ListView1->selectionModel()->selection())
        for (int r = range.top(); r <= range.bottom(); ++r) rows.push_back(r);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

void TForm1::ListView1SelectItem() {
    // The panes show the selected row's picture, or nothing.
    const Picture* picture = session_.PictureOfRow(SelectedRow());
    if (!picture) {
        ClearPanes();
        return;
    }
    ShowPictureType(*picture);
    ShowPicture(*picture);
}

void TForm1::ShowPictureType(const Picture& picture) {
    Suppressing = true;
    const std::uint8_t code = picture.Type() & 0x7F;
    for (int item = 0; item < int(kDepthCodes.size()); ++item)
        if (kDepthCodes[item] == code) SetRadioGroup1ItemIndex(item);
    CheckBox3->setChecked(picture.Type() & 0x80);
    Suppressing = false;
}

void TForm1::ShowPicture(const Picture& picture) {
    Image1->ShowBitmap(picture.OldBitmap, Frame());
    Image2->ShowBitmap(picture.DecodedBitmap, Frame());
}

void TForm1::ClearPanes() {
    for (PreviewPane* pane : {Image1, Image2}) {
        pane->ResetSize();
        pane->DrawEmpty(Frame());
    }
}

QColor TForm1::Frame() const { return ColorFromWin(frameColor_); }

void TForm1::Image1Click() {
    const std::optional<QColor> colour = dialogs_.ChooseColour();
    if (!colour) return;
    frameColor_ = WinFromColor(*colour);
    settings_.FrameColor = frameColor_;
    Image1->DrawFrame(Frame());
    Image2->DrawFrame(Frame());
}

// ---- the window's other handlers

void TForm1::RebuildRecentMenu() {
    PopupMenu2->clear();
    for (int n = 0; n < int(settings_.Recent.size()) && !settings_.Recent[n].isEmpty(); ++n) {
        QString shown = settings_.Recent[n];
        shown.replace(QLatin1Char('&'), QLatin1String("&&"));
        QAction* item = PopupMenu2->addAction(QStringLiteral("&%1 %2").arg(n).arg(shown));
        item->setData(n);
        // Opening rebuilds this menu, so the item must not be deleted while
        // it is still delivering its click.
        connect(item, &QAction::triggered, this, [this, n] {
            QMetaObject::invokeMethod(
                this, [this, n] { PopupMenu2ItemsClick(n); }, Qt::QueuedConnection);
        });
    }
    RecentFiles->setEnabled(!PopupMenu2->isEmpty());
}

void TForm1::CheckBox1Click() {
    if (!building_) settings_.AutoName = CheckBox1->isChecked();
}

void TForm1::CheckBox2Click() {
    if (!building_) settings_.OnlySelected = CheckBox2->isChecked();
}

void TForm1::EditSelectAll1Execute() {
    if (Memo1->hasFocus())
        Memo1->selectAll();
    else if (ListView1->hasFocus())
        ListView1->selectAll();
}

void TForm1::Button1Click() {
    // Whatever closed the dialog, the settings are saved and the stored
    // window state and size applied again. The window's state as it is now
    // is what is stored, so that only a reset in the dialog changes it.
    KeepWindowState(*this, settings_);
    Form3->SetFileSize(session_.IsOpen() ? session_.FileSize : 0);
    dialogs_.ShowModal(*Form3);
    SaveSettings();
    ShowPlacementArea();
    if (settings_.WindowState == 0) {
        setWindowState(windowState() &
                       ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
        resize(settings_.WindowWidth, settings_.WindowHeight);
    } else if (settings_.WindowState == 2 && !isMaximized()) {
        setWindowState((windowState() & ~Qt::WindowMinimized) | Qt::WindowMaximized);
    }
    ClearPanes();
    const int row = SelectedRow();
    if (row >= 0)
        if (const Picture* picture = session_.PictureOfRow(row)) ShowPicture(*picture);
}

// ---- small operations

void TForm1::RowChanged(int row) { model_->RowChanged(row); }

void TForm1::SetStatus(int panel, const QString& text) {
    if (panel >= 0 && panel < int(StatusPanels.size())) StatusPanels[panel]->setText(text);
}

QString TForm1::StatusText(int panel) const {
    if (panel < 0 || panel >= int(StatusPanels.size())) return {};
    return StatusPanels[panel]->text();
}

int TForm1::RadioGroup1ItemIndex() const { return RadioGroup1Items->checkedId(); }

void TForm1::SetRadioGroup1ItemIndex(int item) {
    if (QAbstractButton* b = RadioGroup1Items->button(item)) b->setChecked(true);
}

}  // namespace vorlix
