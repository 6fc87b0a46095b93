// The main window's keyboard: the file commands and the patch commands
// that users reach for most, each named in its control's hint.
#include <QAction>
#include <QKeySequence>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShortcut>
#include <QToolButton>
#include <QTreeView>

#include "ui/Unit1.h"
#include "ui/gallery_view.h"

namespace vorlix {

namespace {

// "hint (Ctrl+S)", the shortcut in the platform's own spelling.
QString WithShortcut(const QString& hint, const QKeySequence& keys) {
    return QStringLiteral("%1 (%2)").arg(hint, keys.toString(QKeySequence::NativeText));
}

}  // namespace

void TForm1::CreateShortcuts() {
    const auto command = [this](const char* name, const QString& caption,
                                const QKeySequence& keys) {
        auto* action = new QAction(caption, this);
        action->setObjectName(QLatin1String(name));
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        return action;
    };
    FileOpen1 = command("FileOpen1", Open->text(), QKeySequence(Qt::CTRL | Qt::Key_O));
    FileRefresh1 = command("FileRefresh1", Refresh->text(), QKeySequence(Qt::Key_F5));
    FileClose1 = command("FileClose1", Close->text(), QKeySequence(Qt::CTRL | Qt::Key_W));
    FileExit1 = command("FileExit1", tr("Выход"), QKeySequence(Qt::CTRL | Qt::Key_Q));
    connect(FileOpen1, &QAction::triggered, this, &TForm1::OpenClick);
    connect(FileRefresh1, &QAction::triggered, this, &TForm1::RefreshClick);
    connect(FileClose1, &QAction::triggered, this, &TForm1::CloseClick);
    connect(FileExit1, &QAction::triggered, this, &QWidget::close);

    Open->setToolTip(WithShortcut(tr("Открыть FullFlash"), FileOpen1->shortcut()));
    Refresh->setToolTip(
        WithShortcut(tr("Перечитать картинки, отменив все изменения"), FileRefresh1->shortcut()));
    Close->setToolTip(WithShortcut(tr("Закрыть FullFlash"), FileClose1->shortcut()));

    SavePatch1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    GeneratePatch1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
    for (QAction* action : {SavePatch1, GeneratePatch1}) {
        action->setShortcutContext(Qt::WindowShortcut);
        action->setToolTip(WithShortcut(action->toolTip(), action->shortcut()));
    }

    // Undo and redo of the pictures' edits; in the patch pane the keys undo
    // its own typing, as in any text. Redo answers both keys users know.
    EditUndo1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
    EditRedo1->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    for (QAction* action : {EditUndo1, EditRedo1}) {
        action->setShortcutContext(Qt::WindowShortcut);
        addAction(action);
        action->setToolTip(WithShortcut(action->toolTip(), action->shortcut()));
    }
    // Copy and paste of pictures while the list has the focus; in the patch
    // pane Ctrl+C copies its text as before. A further view of the pictures
    // takes the same keys by adding these actions.
    CopyPicture1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    PastePicture1->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    for (QAction* action : {CopyPicture1, PastePicture1}) {
        action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        ListView1->addAction(action);
        Gallery1->addAction(action);
        action->setToolTip(WithShortcut(action->toolTip(), action->shortcut()));
    }

    // Tab moves on from the patch pane as from every other control, so that
    // the keyboard passes through the window without typing into the patch;
    // Ctrl+Tab types a tab character where one is wanted.
    Memo1->setTabChangesFocus(true);
    auto* tabCharacter = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Tab), Memo1);
    tabCharacter->setContext(Qt::WidgetShortcut);
    connect(tabCharacter, &QShortcut::activated, Memo1,
            [this] { Memo1->insertPlainText(QStringLiteral("\t")); });
}

}  // namespace vorlix
