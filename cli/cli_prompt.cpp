#include "cli/cli_prompt.h"

namespace vorlix {

void WriteLine(QIODevice& device, const QString& text) {
    device.write((text + QLatin1Char('\n')).toUtf8());
}

Answer CliPrompt::Ask(const QString& caption, const QString& text, Buttons buttons) {
    if (buttons == Buttons::Ok) {
        WriteLine(err_, caption + QStringLiteral(": ") + text);
        return Answer::Ok;
    }
    const Answer answer = answerYes_ ? Answer::Yes : Answer::No;
    WriteLine(err_, caption + QStringLiteral(": ") + text +
                        (answerYes_ ? QStringLiteral(" [yes]") : QStringLiteral(" [no]")));
    return answer;
}

}  // namespace vorlix
