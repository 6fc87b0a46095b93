#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "settings/installed_patches.h"
#include "vkp/installed_stack.h"

class QLabel;
class QListWidget;
class QMimeData;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace vorlix {

class UserDialogs;

// The patches that stand on the phone, for one model and firmware version:
// in the order they were flashed, each switched on or off, with what the
// last open found (present, applied, skipped, error) and its record count.
// Files are added from the open dialog or dropped on the dialog; OK hands
// the list back to the window, which stores it and offers to reopen.
class InstalledPatchesDialog : public QDialog {
    Q_OBJECT
  public:
    // `check` runs the conflict check over a list (the window's command).
    InstalledPatchesDialog(const InstalledPatchList& patches, const PatchStack& lastOpen,
                           const QString& modelAndVersion, UserDialogs& dialogs,
                           std::function<void(const InstalledPatchList&)> check,
                           QWidget* parent = nullptr);

    const InstalledPatchList& patches() const { return patches_; }

    // The commands of the buttons, as the tests reach them. Each acts on
    // the current row where it needs one.
    void AddClick();
    void AddFiles(const QStringList& paths);
    void RemoveClick();
    void MoveClick(int step);  // -1 up, +1 down
    void CheckClick();

    QLabel* Label1;
    QTreeWidget* PatchList1;
    QPushButton* AddPatch1;
    QPushButton* RemovePatch1;
    QPushButton* MoveUp1;
    QPushButton* MoveDown1;
    QPushButton* CheckPatches1;

    // The columns of PatchList1.
    enum Column { ColFile, ColState, ColRecords, kColumns };

  protected:
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // Shows patches_, keeping `current` the current row.
    void Refill(int current);
    void ItemChanged(QTreeWidgetItem* item, int column);
    void UpdateButtons();
    int CurrentRow() const;

    InstalledPatchList patches_;
    const PatchStack& lastOpen_;
    UserDialogs& dialogs_;
    std::function<void(const InstalledPatchList&)> check_;
    bool filling_ = false;
};

// The conflict check's findings as a list that the user can copy (Ctrl+C
// copies the selected lines, the button all of them).
class ConflictReportDialog : public QDialog {
    Q_OBJECT
  public:
    ConflictReportDialog(const QStringList& lines, const QString& summary,
                         QWidget* parent = nullptr);
    // Puts the lines (the selected ones, or all with `all`) on the clipboard.
    void CopyLines(bool all);

    QLabel* Label1;
    QListWidget* ReportList1;
    QPushButton* CopyAll1;
};

// The .vkp files among dropped URLs (local files, any letter case).
QStringList DroppedPatchFiles(const QMimeData* data);

}  // namespace vorlix
