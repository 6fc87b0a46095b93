#include "fuzz/fuzz_support.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "picture/color_tables.h"

namespace vorlix::fuzz {

namespace {

// The program writes its settings file with a flush to disk at every
// value: scripts/fuzz.sh points TMPDIR at memory, where that costs nothing.
QTemporaryDir& Folder() {
    static QTemporaryDir folder(QDir::tempPath() + QStringLiteral("/vorlix-fuzz-XXXXXX"));
    return folder;
}

}  // namespace

void Init() {
    static int argc = 1;
    static char name[] = "vorlix-fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    BuildColorTables();
    if (!Folder().isValid()) Fail("temporary folder", __FILE__, __LINE__);
}

QString InputPath(const QString& name) { return Folder().filePath(name); }

QString WriteInput(const QString& name, const std::uint8_t* data, std::size_t size) {
    const QString path = InputPath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size)) !=
            static_cast<qint64>(size))
        Fail("writing the input file", __FILE__, __LINE__);
    return path;
}

void Fail(const char* what, const char* file, int line) {
    std::fprintf(stderr, "==FUZZ CHECK FAILED== %s at %s:%d\n", what, file, line);
    std::abort();
}

}  // namespace vorlix::fuzz

// Every target starts the same way: the application object and the colour
// tables before the first input.
extern "C" int LLVMFuzzerInitialize(int*, char***) {
    vorlix::fuzz::Init();
    return 0;
}
