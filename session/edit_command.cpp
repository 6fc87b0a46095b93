#include "session/edit_command.h"

namespace vorlix {

PictureEditCommand::PictureEditCommand(FlashSession& session, PictureEdit edit, const QString& text,
                                       Shown shown)
    : QUndoCommand(text), session_(session), edit_(std::move(edit)), shown_(std::move(shown)) {}

void PictureEditCommand::undo() {
    edit_.Undo(session_);
    done_ = false;
    if (shown_) shown_(edit_.Rows());
}

void PictureEditCommand::redo() {
    if (done_) return;
    edit_.Redo(session_);
    done_ = true;
    if (shown_) shown_(edit_.Rows());
}

}  // namespace vorlix
