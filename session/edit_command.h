#pragma once

#include <QUndoCommand>
#include <functional>
#include <vector>

#include "session/picture_edit.h"

namespace vorlix {

// A picture edit on Qt's undo stack. It is pushed once the edit has run, so
// its first redo changes nothing; every later undo or redo puts the step's
// states back and then tells `shown` which rows changed, so that a front
// end can show them.
class PictureEditCommand : public QUndoCommand {
  public:
    using Shown = std::function<void(const std::vector<int>& rows)>;
    PictureEditCommand(FlashSession& session, PictureEdit edit, const QString& text,
                       Shown shown = {});

    void undo() override;
    void redo() override;

    const PictureEdit& edit() const { return edit_; }

  private:
    FlashSession& session_;
    PictureEdit edit_;
    Shown shown_;
    bool done_ = true;  // the edit has already run when the command is pushed
};

}  // namespace vorlix
