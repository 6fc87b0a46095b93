#pragma once

#include <QIcon>
#include <QMainWindow>
#include <array>
#include <memory>
#include <vector>

#include "session/flash_session.h"
#include "settings/settings.h"
#include "ui/SearchPic.h"
#include "ui/user_dialogs.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStatusBar;
class QTimer;
class QToolBar;
class QTreeView;

namespace vorlix {

class PictureListModel;
class PreviewPane;
class TForm3;

// The main window. It owns the open FullFlash (image arrays, pictures and
// their rows), at most one search thread, the patch pane and the settings
// dialog, and keeps the window's own settings (size, state, frame colour,
// the two option boxes) in step with the run's Settings.
//
// The controls are public, as the window's commands and the tests reach
// them by name.
class TForm1 : public QMainWindow {
    Q_OBJECT
  public:
    // Start-up: colour tables, program settings (with the version check),
    // the general model settings, recent menu, window size and state, frame
    // colour, option boxes, empty panes. A stored value that does not
    // convert is shown to the user and leaves StartupFailed() true: the
    // program then ends without touching the store again.
    TForm1(Settings& settings, UserDialogs& dialogs, QWidget* parent = nullptr);
    // Exit: stops a running search, stores the window's state, size, frame
    // colour and option boxes, saves both groups of settings.
    ~TForm1() override;

    bool StartupFailed() const { return startupFailed_; }

    // ---- opening and closing
    void OpenClick();
    // Opens a FullFlash (from the open dialog, the recent menu or the
    // command line) and starts the picture search. A file that cannot be
    // opened, a folder or an empty file is refused with a message that
    // says why; Edit4 is emptied and nothing else changes.
    void OpenFullFlash(const QString& path);
    void PopupMenu2ItemsClick(int number);
    void RefreshClick();
    void CloseClick();

    // ---- the search
    // Stops a running search, empties the pictures and rows, and starts a
    // new search in the mode of SearchType.
    void StartPictureSearch();
    // Stops a running search and waits for it; nothing it found is listed
    // afterwards. True when one was running.
    bool StopSearch();
    bool IsSearching() const { return search_ != nullptr; }
    void Timer1Timer();

    // ---- the window's own handlers
    void ListView1SelectItem();
    void Button1Click();
    void Image1Click();
    void CheckBox1Click();
    void CheckBox2Click();
    void EditSelectAll1Execute();

    // ---- operations used by the commands
    // Draws the picture's first decoding into Image1 and its current
    // decoding into Image2, each inside the frame.
    void ShowPicture(const Picture& picture);
    // Draws both panes empty.
    void ClearPanes();
    void RebuildRecentMenu();
    // Moves the depth choice and the compress box to the picture's type
    // byte with the suppressing flag set, so that nothing is encoded.
    void ShowPictureType(const Picture& picture);
    // The row the picture commands work on: the current row when it is
    // selected, else the first selected row; -1 when none is selected.
    int SelectedRow() const;
    // Every selected row, in list order.
    std::vector<int> SelectedRows() const;
    // Tells the list that the texts of `row` changed.
    void RowChanged(int row);
    void SetStatus(int panel, const QString& text);
    QString StatusText(int panel) const;
    int RadioGroup1ItemIndex() const;
    void SetRadioGroup1ItemIndex(int item);

    // ---- picture and patch commands (Unit1Commands.cpp)
    void Load1Click();
    void Save1Click();
    void RadioGroup1Click();
    void MakePatchClick();
    void EditDelete1Execute();
    void EditCopy1Execute();
    void SavePatch1Execute();
    void BatchLoad1Execute();
    void Apply1Click();
    void Button2Click();
    void ReCreateClick();
    // The folder that pictures saved under automatic names go to: the
    // folder of the file last chosen in one of the window's file dialogs,
    // before any the folder the program was started in.
    const QString& CurrentFolder() const { return currentFolder_; }
    void RememberFolder(const QString& chosenPath);

    FlashSession& session() { return session_; }
    Settings& settings() { return settings_; }
    UserDialogs& dialogs() { return dialogs_; }
    PictureListModel& model() { return *model_; }
    // The window's frame colour, a Windows colour value (0x00BBGGRR).
    std::int32_t FrameColor() const { return frameColor_; }

    // Depth codes of the items of RadioGroup1: "1 bit" ... "16 bit".
    static constexpr std::array<std::uint8_t, 5> kDepthCodes = {0x01, 0x03, 0x05, 0x07, 0x08};
    static inline const QString kOpenFilter =
        QStringLiteral("Full Flash (*.fls; *.bin)|*.fls;*bin|Все файлы (*.*)|*.*");

    // Set while a command moves RadioGroup1 and CheckBox3 to show a
    // picture's type; their handler ignores the change while it is set.
    bool Suppressing = false;

    // Top panel.
    QFrame* Panel2;
    QPushButton* Open;
    QMenu* PopupMenu2;
    QPushButton* Close;
    QPushButton* Refresh;
    QPushButton* Button1;
    QLineEdit* Edit4;
    QLineEdit* Edit1;
    QCheckBox* CheckBox1;
    QCheckBox* CheckBox2;
    QFrame* Panel4;
    PreviewPane* Image1;
    QFrame* Panel5;
    PreviewPane* Image2;
    QGroupBox* RadioGroup1;
    QButtonGroup* RadioGroup1Items;
    QCheckBox* CheckBox3;
    QToolBar* ToolBar2;
    QPushButton* ReCreate;
    QPushButton* MakePatch;
    QPushButton* Button2;
    QFrame* Panel3;
    QLabel* Label8;
    QLabel* Label9;
    QLabel* Label1;
    QLabel* Image3;

    // Client panel.
    QFrame* Panel1;
    QTreeView* ListView1;
    QMenu* PopupMenu1;
    QAction* Load1;
    QAction* Batch1;
    QAction* Save1;
    QAction* Apply1;
    QSplitter* Splitter1;
    QPlainTextEdit* Memo1;
    QProgressBar* ProgressBar1;
    QStatusBar* StatusBar1;
    std::array<QLabel*, 3> StatusPanels;

    // Actions and their icons (ImageList1, indices 0 to 5).
    std::array<QIcon, 6> ImageList1;
    QAction* EditSelectAll1;
    QAction* SavePatch1;
    QAction* GeneratePatch1;
    QAction* EditCopy1;
    QAction* EditDelete1;
    QAction* LoadPicture1;
    QAction* SavePicture1;
    QAction* BatchLoad1;

    QTimer* Timer1;
    TForm3* Form3;

  private:
    void CreateActions();
    void CreateTopPanel();
    void CreateClientPanel();
    void ConnectCommands();
    void ConnectPictureCommands();
    void StartUp();
    void FormDestroy();

    // Makes pictures and rows from what the search has queued, in slices
    // run by drainTimer_ so that the window repaints between them; with
    // `everything`, all that is queued at once.
    void DrainSearch(bool everything = false);
    void ShowSearchCounts();
    // A search that ended without a picture: the status bar says so and
    // points at the settings button until the next search or close.
    void ShowNoPictures(bool scanRecords);
    void ClearNoPictures();
    void SetOpenPath(const QString& path);
    QColor Frame() const;

    Settings& settings_;
    UserDialogs& dialogs_;
    FlashSession session_;
    PictureListModel* model_ = nullptr;
    std::unique_ptr<MySearchPic> search_;
    // Counts the searches started and stopped; a wake-up that names an
    // earlier generation comes from a search that is gone and is ignored.
    int generation_ = 0;
    QTimer* drainTimer_ = nullptr;
    int listedFound_ = 0;
    int listedFoundExt_ = 0;
    std::int32_t frameColor_ = 0;
    bool building_ = false;
    bool startupFailed_ = false;
    QString currentFolder_;
};

}  // namespace vorlix
