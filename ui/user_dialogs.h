#pragma once

#include <QColor>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>

#include "common/prompt.h"

class QDialog;
class QWidget;

namespace vorlix {

// Turns a filter in the "Name|patterns|Name|patterns" form, patterns
// separated by ';', into Qt's "Name (patterns);;Name (patterns)" form. A
// name that already ends with a bracketed pattern list loses it, so that
// the patterns are listed once.
QString QtFileFilter(const QString& pipeFilter);

// Every message box, file dialog, colour chooser and modal dialog of the
// window goes through this interface: the program shows the real ones,
// tests answer from a script.
class UserDialogs : public Prompt {
  public:
    // One existing file, or the empty text when the user cancelled.
    // `filter` is in Qt's form (see QtFileFilter).
    virtual QString OpenFile(const QString& filter, const QString& defaultSuffix = {}) = 0;
    // Several existing files, in the order the dialog lists them; empty
    // when the user cancelled.
    virtual QStringList OpenFiles(const QString& filter) = 0;

    struct SaveChoice {
        QString path;         // empty: cancelled
        int filterIndex = 0;  // 0-based index of the filter chosen
    };
    // A file name to save to, asking before an existing file is replaced.
    virtual SaveChoice SaveFile(const QString& filter, const QString& initialName,
                                const QString& defaultSuffix = {}) = 0;

    // A colour, or nothing when the user cancelled.
    virtual std::optional<QColor> ChooseColour() = 0;

    // Shows `dialog` modally and returns its result (QDialog::Accepted or
    // QDialog::Rejected).
    virtual int ShowModal(QDialog& dialog) = 0;
};

// The real dialogs, parented to `parent` (the main window once it exists).
class QtUserDialogs : public UserDialogs {
  public:
    explicit QtUserDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    Answer Ask(const QString& caption, const QString& text, Buttons buttons) override;
    QString OpenFile(const QString& filter, const QString& defaultSuffix) override;
    QStringList OpenFiles(const QString& filter) override;
    SaveChoice SaveFile(const QString& filter, const QString& initialName,
                        const QString& defaultSuffix) override;
    std::optional<QColor> ChooseColour() override;
    int ShowModal(QDialog& dialog) override;

  private:
    // Each file dialog starts in the folder of the file chosen last.
    QString StartFolder() const;
    void Remember(const QString& chosenPath);

    QPointer<QWidget> parent_;
    QString lastFolder_;
};

// Scripted answers for tests. Message boxes are answered and recorded by a
// ScriptedPrompt; each kind of dialog takes its answers from its own queue
// and records what it was asked. An empty queue answers "cancelled".
class ScriptedUserDialogs : public UserDialogs {
  public:
    explicit ScriptedUserDialogs(Answer fallback = Answer::No) : prompt_(fallback) {}

    ScriptedPrompt& prompt() { return prompt_; }
    Answer Ask(const QString& caption, const QString& text, Buttons buttons) override {
        return prompt_.Ask(caption, text, buttons);
    }

    std::deque<QString> openAnswers;
    std::deque<QStringList> openFilesAnswers;
    std::deque<SaveChoice> saveAnswers;
    std::deque<std::optional<QColor>> colourAnswers;
    // A modal step gets the dialog already shown (so its show handler has
    // run) and acts on it, typically by filling fields and clicking a
    // button. A dialog still open after the step is rejected.
    std::deque<std::function<void(QDialog&)>> modalSteps;

    struct FileAsked {
        QString filter;
        QString initialName;
        QString defaultSuffix;
    };
    std::vector<FileAsked> fileDialogsShown;
    int coloursAsked = 0;
    int modalsShown = 0;

    QString OpenFile(const QString& filter, const QString& defaultSuffix) override;
    QStringList OpenFiles(const QString& filter) override;
    SaveChoice SaveFile(const QString& filter, const QString& initialName,
                        const QString& defaultSuffix) override;
    std::optional<QColor> ChooseColour() override;
    int ShowModal(QDialog& dialog) override;

  private:
    ScriptedPrompt prompt_;
};

}  // namespace vorlix
