#include "common/prompt.h"

namespace vorlix {

Answer ScriptedPrompt::Ask(const QString& caption, const QString& text, Buttons buttons) {
    shown_.push_back({caption, text, buttons});
    if (buttons == Buttons::Ok) return Answer::Ok;
    if (answers_.empty()) return fallback_;
    Answer a = answers_.front();
    answers_.pop_front();
    return a;
}

int ScriptedPrompt::questions() const {
    int n = 0;
    for (const auto& s : shown_) n += s.buttons != Buttons::Ok;
    return n;
}

}  // namespace vorlix
