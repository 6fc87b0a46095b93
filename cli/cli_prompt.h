#pragma once

#include <QIODevice>

#include "common/prompt.h"

namespace vorlix {

// The command line's message boxes: every message and question is written
// to the error stream; a question takes "Yes" when the user said so in
// advance (--yes), else "No".
class CliPrompt : public Prompt {
public:
    CliPrompt(QIODevice& err, bool answerYes) : err_(err), answerYes_(answerYes) {}
    Answer Ask(const QString& caption, const QString& text, Buttons buttons) override;

private:
    QIODevice& err_;
    bool answerYes_;
};

// Writes `text` and a line break as UTF-8.
void WriteLine(QIODevice& device, const QString& text);

}  // namespace vorlix
