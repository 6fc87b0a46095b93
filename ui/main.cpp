// The editor: one main window; an optional FullFlash path opens at start.
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>
#include <exception>

#include "settings/settings.h"
#include "ui/Unit1.h"
#include "ui/user_dialogs.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Vorlix Editor"));

    const QStringList args = QApplication::arguments();
    if (args.size() > 2) {
        std::fprintf(stderr, "usage: vorlix [FULLFLASH]\n");
        return 2;
    }
    try {
        vorlix::QtUserDialogs dialogs;
        vorlix::SettingsStore store;
        vorlix::Settings settings(store, dialogs);
        vorlix::TForm1 window(settings, dialogs);
        if (window.StartupFailed()) return 1;
        dialogs.setParent(&window);
        window.show();
        if (args.size() == 2) {
            const QString path = QFileInfo(args[1]).absoluteFilePath();
            QTimer::singleShot(0, &window, [&window, path] { window.OpenFullFlash(path); });
        }
        return QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QStringLiteral("Vorlix Editor"),
                              QString::fromLocal8Bit(e.what()));
        return 1;
    }
}
