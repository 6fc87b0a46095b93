#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#ifdef Q_OS_WIN
#include <fcntl.h>
#include <io.h>
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

#include "cli/cli.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
#ifdef Q_OS_WIN
    // Standard output carries the bytes the program writes, as on every
    // system: a patch keeps its own CR LF line ends, as the file written with
    // -o holds them, and no CR is added to an LF.
    _setmode(_fileno(stdout), _O_BINARY);
    // Texts are UTF-8; a console shows them so while the program runs.
    const UINT consolePage = GetConsoleOutputCP();
    if (consolePage != 0) SetConsoleOutputCP(CP_UTF8);
#endif
    int status = vorlix::kExitError;
    QFile out, err;
    if (out.open(stdout, QIODevice::WriteOnly) && err.open(stderr, QIODevice::WriteOnly)) {
        status = vorlix::RunCli(app.arguments().mid(1), out, err);
        out.flush();
        err.flush();
    }
#ifdef Q_OS_WIN
    if (consolePage != 0) SetConsoleOutputCP(consolePage);
#endif
    return status;
}
