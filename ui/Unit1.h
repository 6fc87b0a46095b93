#pragma once

#include <QIcon>
#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "session/editing_state.h"
#include "settings/installed_patches.h"
#include "settings/settings.h"
#include "ui/user_dialogs.h"
#include "vkp/installed_stack.h"

class QAction;
class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QSplitter;
class QStackedWidget;
class QStatusBar;
class QTabBar;
class QTimer;
class QToolBar;
class QToolButton;
class QTreeView;
class QUndoStack;

namespace vorlix {

enum class PatchDirection;

class GalleryView;
class ListFilter;
class PictureListModel;
class PixelViewer;
class PreviewPane;
class TForm3;

// The main window. It shows the editing state of the open FullFlash
// (pictures, their search, steps, the patch document) and follows its
// signals; it owns the panes and the settings dialog, and keeps the
// window's own settings (size, state, frame colour, the two option boxes)
// in step with the run's Settings.
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

    // ---- work that a command would lose (Unit1Unsaved.cpp)
    // True when a listed picture has been replaced.
    bool HasModifiedPictures() const { return state_.ModifiedCount() > 0; }
    // True when modified pictures stand in no saved patch as they are now.
    bool PicturesChangedSincePatch() const { return !state_.UnsavedRows().empty(); }
    // True when the patch pane holds text not saved as it is.
    bool PatchUnsaved() const { return !state_.PatchSaved(); }
    // Asks before the window closes when work would be lost (the model's
    // question); Yes saves the patch of the pictures as they are. False
    // keeps the window open.
    bool ConfirmExit();
    // The patch pane's save: the save dialog, the check, then the file.
    // True when the file was written.
    bool SavePatchNow();

    // ---- opening and closing
    void OpenClick();
    // Opens a FullFlash (from the open dialog, the recent menu or the
    // command line) and starts the picture search. A file that cannot be
    // opened, a folder or an empty file is refused with a message that
    // says why; Edit4 is emptied and nothing else changes.
    void OpenFullFlash(const QString& path);
    // A patch file (*.vkp) given at start: its text in the patch pane.
    void OpenPatchFile(const QString& path);
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
    bool IsSearching() const { return state_.IsSearching(); }
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
    // Draws both panes empty, at their designed size.
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
    void Undo1Click();
    void Button2Click();
    void ReCreateClick();

    // ---- patches installed on the phone (Unit1Patches.cpp)
    // The list of the open image's model, as stored.
    InstalledPatchList InstalledPatches() const;
    // What the last open did with them.
    const PatchStack& LastStack() const { return stack_; }
    // The "Патчи" dialog: the list with its states; OK stores a changed list.
    void InstalledPatches1Execute();
    // Appends the files (those not listed yet) to the list of the open
    // image's model, as dropping .vkp files does.
    void AddInstalledPatches(const QStringList& paths);
    // Stores the list for the open image's model and, when it changed,
    // offers to open the FullFlash again so that it takes effect (warning
    // first that modified pictures would be lost). False when nothing is
    // open or the store refused it.
    bool ChangeInstalledPatches(const InstalledPatchList& patches);
    // The conflict check over the patches of the list that are on and the
    // patch pane's text, against the FullFlash as read; the findings are
    // shown as a list the user can copy.
    void CheckConflicts1Execute();
    void CheckConflicts(const InstalledPatchList& patches);

    // ---- seeing the pictures (Unit1View.cpp)
    // Opens the pixel viewer on the selected row, or brings it forward.
    void PixelViewer1Execute();
    // The panes show their pictures at the zoom chosen in ZoomBox.
    void ZoomBoxChange();
    // Shows the list (0) or the gallery (1) in the list's place.
    void ViewTabsChange(int tab);
    // Narrows list and gallery to the rows that match FilterEdit.
    void FilterEditChange();
    ListFilter& filter() { return *filter_; }
    // Null until the viewer is first opened.
    PixelViewer* Viewer() const { return viewer_; }
    // Replaces the picture of `row` by a picture file, as the load command
    // does after its dialog (the size question, the row, the panes, one
    // step to undo).
    void ReplaceFromFile(int row, const QString& path);
    // Batch load of the given files, as the batch command does after its
    // dialog.
    void BatchLoadFiles(const QStringList& files);
    // Applies the patch files in their order, all or nothing, as the apply
    // command does after its dialog.
    void ApplyPatchFiles(const QStringList& files);
    // ---- undo, revert, the clipboard and dropped files (Unit1Edit.cpp)
    void EditUndo1Execute();
    void EditRedo1Execute();
    // "Вернуть исходную": the selected pictures; "Вернуть все": every one.
    void RevertPicture1Execute();
    void RevertAll1Execute();
    // Ctrl+C: the selected picture onto the clipboard, as an image. Ctrl+V:
    // the clipboard's image (or picture file) in place of the selected one.
    void CopyPicture1Execute();
    void PastePicture1Execute();
    // Files dropped on the window, `row` being the list row they were
    // dropped on (-1: none): a FullFlash opens, patches are applied, a
    // picture dropped on a row replaces its picture, and picture files named
    // "PIT_XXXXXX" go through batch load.
    void DropFiles(const QStringList& files, int row);
    // Selects `row` alone and shows it.
    void SelectRow(int row);
    QUndoStack* UndoStack1;

    // The folder that pictures saved under automatic names go to: the
    // folder of the file last chosen in one of the window's file dialogs,
    // before any the folder the program was started in.
    const QString& CurrentFolder() const { return currentFolder_; }
    void RememberFolder(const QString& chosenPath);

    FlashSession& session() { return session_; }
    EditingState& state() { return state_; }
    Settings& settings() { return settings_; }
    UserDialogs& dialogs() { return dialogs_; }
    PictureListModel& model() { return *model_; }
    // The window's frame colour, a Windows colour value (0x00BBGGRR).
    std::int32_t FrameColor() const { return frameColor_; }

    // Depth codes of the items of RadioGroup1: "1 bit" ... "16 bit".
    static constexpr std::array<std::uint8_t, 5> kDepthCodes = {0x01, 0x03, 0x05, 0x07, 0x08};
    // The open dialog's filter, "name|patterns|..." as QtFileFilter reads it.
    static QString OpenFilter();

    // Set while a command moves RadioGroup1 and CheckBox3 to show a
    // picture's type; their handler ignores the change while it is set.
    bool Suppressing = false;

    // Top panel.
    QFrame* Panel2;
    QPushButton* Open;
    // The drop-down arrow beside Open: the recent files (PopupMenu2), as
    // the right-click on Open shows them.
    QToolButton* RecentFiles;
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
    QComboBox* ZoomBox;  // zoom of the preview panes, under RadioGroup1
    QToolBar* ToolBar3;  // undo, redo, revert
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
    // The list's place: the view choice, the filter and the viewer button
    // over the list or the gallery.
    QWidget* ListSide;
    QTabBar* ViewTabs;
    QLineEdit* FilterEdit;
    QLabel* FilterCount;
    QComboBox* GallerySizeBox;
    QToolBar* ToolBar4;  // the pixel viewer's button
    QStackedWidget* Views;
    QTreeView* ListView1;
    GalleryView* Gallery1;
    QMenu* PopupMenu1;
    QAction* Load1;
    QAction* Batch1;
    QAction* Save1;
    QAction* Apply1;
    QAction* Undo1;
    QSplitter* Splitter1;
    QPlainTextEdit* Memo1;
    QProgressBar* ProgressBar1;
    QStatusBar* StatusBar1;
    std::array<QLabel*, 3> StatusPanels;
    // The placement area in force, at the status bar's right end.
    QLabel* PlaceAreaLabel;

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
    // Keyboard commands of the buttons: Ctrl+O, F5, Ctrl+W, and Ctrl+Q to
    // close the window.
    QAction* FileOpen1;
    QAction* FileRefresh1;
    QAction* FileClose1;
    QAction* FileExit1;
    QAction* PixelViewer1;
    // Undo and redo (Ctrl+Z, Ctrl+Shift+Z), revert, and the picture on the
    // clipboard (Ctrl+C, Ctrl+V while the list has the focus).
    QAction* EditUndo1;
    QAction* EditRedo1;
    QAction* RevertPicture1;
    QAction* RevertAll1;
    QAction* CopyPicture1;
    QAction* PastePicture1;
    // The patches installed on the phone; beside the filter, with the
    // conflict check in its menu.
    QToolButton* InstalledPatchesButton;
    QAction* InstalledPatches1;
    QAction* CheckConflicts1;

    QTimer* Timer1;
    TForm3* Form3;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void CreateActions();
    // Shortcuts of the commands, and their hints (Unit1Shortcuts.cpp).
    void CreateShortcuts();
    void CreateTopPanel();
    void CreateClientPanel();
    void ConnectCommands();
    void ConnectPictureCommands();
    // Unit1View.cpp: the zoom choice, the list's place, the growing layout.
    QComboBox* CreateZoomBox();
    QWidget* CreateListSide();
    void ConnectViewCommands();
    // The view's program values (zoom, gallery cell, list or gallery) into
    // the controls at start, and back into the settings at exit.
    void ApplyViewSettings();
    void KeepViewSettings();
    // Keeps an open viewer on the selected row.
    void ViewerFollow();
    // The undo stack, the revert and clipboard commands, and the drop
    // targets (Unit1Edit.cpp).
    void CreateEditCommands();
    void StartUp();
    void FormDestroy();
    // Stores the program settings, then the model settings; a value the
    // store refuses is shown and ends the store there.
    void SaveSettings();

    // The list, progress bar and status bar follow the model's search.
    void FollowSearch();
    void ShowSearchCounts(int found, int foundExt, bool scanRecords);
    // A search that ended without a picture: the status bar says so and
    // points at the settings button until the next search or close.
    void ShowNoPictures(bool scanRecords);
    void ClearNoPictures();
    void SetOpenPath(const QString& path);
    // The open itself, after the question about modified pictures.
    void OpenConfirmed(const QString& path);
    // The tool button of the installed patches (Unit1Patches.cpp).
    QToolButton* CreateInstalledPatchesButton(QWidget* parent);
    // The states of the installed patches after an open, in the status bar.
    void ShowStackStatus();
    void ShowPlacementArea();
    QColor Frame() const;
    // Apply and undo: the chosen patch files, all or nothing.
    // Asks for patch files, then runs them.
    void RunPatchFiles(PatchDirection direction);
    // Applies or undoes the patch files, all or nothing.
    void RunPatchFiles(const QStringList& paths, PatchDirection direction);

    // A command with nothing to act on says so in the status bar: these
    // return false after saying it.
    bool HasOpenImage();
    Picture* SelectedPicture(int& row);
    // The pictures of `rows` changed (an edit, an undo, a redo): the rows
    // and panes show them again; after an undo or a redo of one picture its
    // row is selected.
    void ShowEditedRows(const std::vector<int>& rows);
    // The save dialog for a patch; empty when cancelled.
    QString ChoosePatchPath();
    // The model's question before work is lost under `caption`; true when
    // the command may go on.
    bool ConfirmLoss(const QString& caption);
    // A replacement of the picture of `row` by a file (`path`) or by an
    // image no file holds (`image`).
    void ReplaceRow(int row, const QString& path, const QImage* image);
    void RevertRows(const std::vector<int>& rows, bool all);
    // Before the pane's text is emptied: an unsaved patch may be saved
    // first. False when the user chose to keep it.
    bool OfferToSavePatch();
    // After an open: when the pane holds text generated from another
    // FullFlash, asks whether to start a new patch.
    void AskAboutPatchOfOtherFlash();
    void WatchPatchPane();

    Settings& settings_;
    UserDialogs& dialogs_;
    EditingState state_;
    FlashSession& session_ = state_.session();
    PictureListModel* model_ = nullptr;
    PatchStack stack_;
    std::int32_t frameColor_ = 0;
    bool building_ = false;
    bool startupFailed_ = false;
    QString currentFolder_;
    // The recent files as they were before the open whose first search runs:
    // a file in which it finds no picture leaves the list as it was.
    std::optional<std::array<QString, 8>> recentBeforeOpen_;
    // Set while an undo or redo runs: a step of one picture selects its row.
    bool followStep_ = false;
    ListFilter* filter_ = nullptr;
    PixelViewer* viewer_ = nullptr;
};

}  // namespace vorlix
