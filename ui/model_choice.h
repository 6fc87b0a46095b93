#pragma once

#include <QDialog>

#include "session/open_flash.h"

class QListWidget;

namespace vorlix {

class UserDialogs;

// The new-model warning of an open whose FullFlash names no model the
// program knows, with the known models in a list: the user picks the phone
// the dump came from, or "none of these" to go on with the general
// settings as before.
class ModelChoiceDialog : public QDialog {
    Q_OBJECT
  public:
    // `found`: the model-and-version text the dump names; empty: none.
    explicit ModelChoiceDialog(const QString& found, QWidget* parent = nullptr);

    // The known model chosen; empty for "none of these".
    QString chosenModel() const;

    QListWidget* ModelList;
};

// Shows the dialog through `dialogs`; closing it chooses none.
ModelChoice AskModelChoice(UserDialogs& dialogs, const QString& found, QWidget* parent);

}  // namespace vorlix
