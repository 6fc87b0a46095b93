// The editor: one main window; an optional FullFlash path opens at start.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>
#include <optional>

#include "settings/settings.h"
#include "translations/translation.h"
#include "ui/Unit1.h"
#include "ui/command_line.h"
#include "ui/program_icon.h"
#include "ui/user_dialogs.h"

namespace {

// Prints what --help, --version or a wrong argument ask for; the exit status.
int Answer(const vorlix::EditorCommandLine& commandLine) {
    using Action = vorlix::EditorCommandLine::Action;
    if (commandLine.action == Action::ShowHelp) {
        std::fputs(qPrintable(vorlix::EditorHelpText()), stdout);
        return 0;
    }
    if (commandLine.action == Action::ShowVersion) {
        std::fputs(qPrintable(vorlix::EditorVersionText()), stdout);
        return 0;
    }
    std::fprintf(
        stderr, "vorlix: %s\n%s\n", qPrintable(commandLine.problem),
        qPrintable(QCoreApplication::translate("EditorCommandLine", "Try \"vorlix --help\".")));
    return 2;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("vorlix"));
    QCoreApplication::setApplicationVersion(vorlix::Settings::kVersionText);
    {
        // --help, --version and wrong arguments answer without a display.
        QStringList raw;
        for (int i = 0; i < argc; ++i) raw << QString::fromLocal8Bit(argv[i]);
        const vorlix::EditorCommandLine early = vorlix::ParseEditorCommandLine(raw);
        if (early.action != vorlix::EditorCommandLine::Action::Run) {
            QCoreApplication app(argc, argv);
            return Answer(early);
        }
    }

    QApplication app(argc, argv);
    QApplication::setWindowIcon(vorlix::ProgramIcon());
    QGuiApplication::setDesktopFileName(QStringLiteral("vorlix"));

    const vorlix::EditorCommandLine commandLine =
        vorlix::ParseEditorCommandLine(QApplication::arguments());
    if (commandLine.action != vorlix::EditorCommandLine::Action::Run) return Answer(commandLine);
    try {
        std::optional<vorlix::SettingsStore> store;
        if (commandLine.settingsFile.isEmpty()) {
            store.emplace();
        } else {
            store.emplace(commandLine.settingsFile);
        }
        // Every text from here on, the first question of the settings
        // included, speaks the language chosen; Qt's own buttons and
        // dialogs too.
        vorlix::InstallTranslation(commandLine.language.value_or(vorlix::StoredLanguage(*store)),
                                   true);
        QApplication::setApplicationDisplayName(
            QCoreApplication::translate("vorlix::TForm1", "Vorlix Editor"));
        vorlix::QtUserDialogs dialogs;
        vorlix::Settings settings(*store);
        vorlix::TForm1 window(settings, dialogs);
        if (window.StartupFailed()) return 1;
        dialogs.setParent(&window);
        window.show();
        if (!commandLine.flash.isEmpty()) {
            const QString path = QFileInfo(commandLine.flash).absoluteFilePath();
            // A patch file (a .vkp opened from the file manager) goes into
            // the patch pane; anything else is a FullFlash.
            if (path.endsWith(QLatin1String(".vkp"), Qt::CaseInsensitive)) {
                QTimer::singleShot(0, &window, [&window, path] { window.OpenPatchFile(path); });
            } else {
                QTimer::singleShot(0, &window, [&window, path] { window.OpenFullFlash(path); });
            }
        }
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Vorlix Editor"),
                              QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
