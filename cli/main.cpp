#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "cli/cli.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QFile out, err;
    if (!out.open(stdout, QIODevice::WriteOnly) || !err.open(stderr, QIODevice::WriteOnly)) {
        return vorlix::kExitError;
    }
    const int status = vorlix::RunCli(app.arguments().mid(1), out, err);
    out.flush();
    err.flush();
    return status;
}
