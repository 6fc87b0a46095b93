#pragma once

#include <QString>
#include <QStringList>
#include <deque>

#include "common/tr_text.h"

namespace vorlix {

// Captions the program uses for its message boxes.
inline constexpr TrText kCaptionError{"Prompt", QT_TRANSLATE_NOOP("Prompt", "Ошибка")};
inline constexpr TrText kCaptionWarning{"Prompt", QT_TRANSLATE_NOOP("Prompt", "Предупреждение")};

enum class Buttons { Ok, YesNo, YesNoCancel };
enum class Answer { Ok, Yes, No, Cancel };

// Every message box of the program goes through this interface: the window
// shows real boxes, the command line prints to stderr, tests script answers.
class Prompt {
public:
    virtual ~Prompt() = default;
    // Shows `text` under `caption` with the given buttons and returns the
    // answer. With Buttons::Ok the answer is Answer::Ok. Closing a box
    // without choosing answers No for Yes/No and Cancel for Yes/No/Cancel.
    virtual Answer Ask(const QString& caption, const QString& text, Buttons buttons) = 0;

    // An OK box: an error, a warning or a notice.
    void Tell(const QString& caption, const QString& text) { Ask(caption, text, Buttons::Ok); }
    void Error(const QString& text) { Tell(kCaptionError, text); }
};

// A prompt that answers from a script and records what it was shown.
// Questions beyond the script get `fallback`.
class ScriptedPrompt : public Prompt {
public:
    explicit ScriptedPrompt(Answer fallback = Answer::No) : fallback_(fallback) {}

    void Script(std::initializer_list<Answer> answers) { answers_.insert(answers_.end(), answers); }
    Answer Ask(const QString& caption, const QString& text, Buttons buttons) override;

    struct Shown {
        QString caption;
        QString text;
        Buttons buttons;
    };
    const std::vector<Shown>& shown() const { return shown_; }
    // Number of boxes shown with Yes/No or Yes/No/Cancel buttons.
    int questions() const;
    void Clear() { shown_.clear(); }

private:
    Answer fallback_;
    std::deque<Answer> answers_;
    std::vector<Shown> shown_;
};

}  // namespace vorlix
