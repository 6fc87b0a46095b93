#include <QDeadlineTimer>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QTest>
#include <utility>

#include "ui/command_line.h"
#include "ui/program_icon.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

Q_DECLARE_METATYPE(EditorCommandLine::Action)

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// Runs a built program to its end with `env` added to the test's environment.
Finished RunProgram(const QString& program, const QStringList& args,
                    const QProcessEnvironment& env = {}) {
    QProcess process;
    QProcessEnvironment all = QProcessEnvironment::systemEnvironment();
    all.insert(env);
    process.setProcessEnvironment(all);
    process.start(program, args);
    Finished result;
    if (!process.waitForFinished(60000)) return result;
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    return result;
}

// An environment in which no window system can be reached, with its own
// settings file.
QProcessEnvironment NoDisplay(const QString& settings) {
    QProcessEnvironment env;
    env.insert("QT_QPA_PLATFORM", "xcb");
    env.insert("DISPLAY", ":99999");
    env.insert("WAYLAND_DISPLAY", "");
    env.insert("VORLIX_SETTINGS", settings);
    return env;
}

}  // namespace

class StartupTest : public QObject {
    Q_OBJECT
  private slots:
    void parsesTheCommandLine_data();
    void parsesTheCommandLine();
    void versionIsTheOneTheWindowShows();
    void helpAndWrongUsageWithoutAWindow();
    void settingsOptionNamesTheStore();
    void languageOptionAndUsageWithNoWindowSystemAtAll();
    void windowHasTheProgramIcon();
};

void StartupTest::parsesTheCommandLine_data() {
    using Action = EditorCommandLine::Action;
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<Action>("action");
    QTest::addColumn<QString>("flash");
    QTest::addColumn<QString>("settings");

    const auto row = [](const char* name, const QStringList& args, Action action,
                        const QString& flash = {}, const QString& settings = {}) {
        QTest::newRow(name) << args << action << flash << settings;
    };
    row("nothing", {}, Action::Run);
    row("a FullFlash", {"my.fls"}, Action::Run, "my.fls");
    row("settings first", {"--settings", "s.ini", "my.fls"}, Action::Run, "my.fls", "s.ini");
    row("settings after, with =", {"my.bin", "--settings=s.ini"}, Action::Run, "my.bin", "s.ini");
    row("--help", {"--help"}, Action::ShowHelp);
    row("-h with a file", {"my.fls", "-h"}, Action::ShowHelp);
    row("--version", {"--version"}, Action::ShowVersion);
    row("-v", {"-v"}, Action::ShowVersion);
    row("two files", {"a.fls", "b.fls"}, Action::WrongUsage);
    row("settings without file", {"--settings"}, Action::WrongUsage);
    row("settings empty", {"--settings", "", "a.fls"}, Action::WrongUsage);
    row("settings twice", {"--settings", "a", "--settings", "b"}, Action::WrongUsage);
    row("unknown option", {"--frobnicate"}, Action::WrongUsage);
    row("unknown option wins over help", {"--frobnicate", "--help"}, Action::WrongUsage);
    row("empty file name", {""}, Action::WrongUsage);
    row("--lang", {"--lang", "en", "a.fls"}, Action::Run, "a.fls");
    row("--lang wrong", {"--lang", "de"}, Action::WrongUsage);
    row("--lang twice", {"--lang", "en", "--lang=original"}, Action::WrongUsage);
    row("Qt's options", {"-platform", "offscreen", "a.fls", "--style=fusion", "-reverse"},
        Action::Run, "a.fls");
    row("Qt's options, two dashes", {"--platform", "offscreen", "--help"}, Action::ShowHelp);
}

void StartupTest::parsesTheCommandLine() {
    QFETCH(QStringList, args);
    QFETCH(EditorCommandLine::Action, action);
    QFETCH(QString, flash);
    QFETCH(QString, settings);
    const EditorCommandLine c = ParseEditorCommandLine(QStringList{"vorlix"} + args);
    QCOMPARE(c.action, action);
    if (action == EditorCommandLine::Action::WrongUsage) {
        QVERIFY(!c.problem.isEmpty());
    } else {
        QCOMPARE(c.flash, flash);
        QCOMPARE(c.settingsFile, settings);
    }
}

// Both programs print, for --version, the version text that the window's
// information panel shows after "Vytvořili: ". Neither needs a display for it.
void StartupTest::versionIsTheOneTheWindowShows() {
    TestFolder folder;
    ProgramRun run(folder.Ini());
    const QString label = run.Start().Label8->text();
    const QString prefix = QStringLiteral("Vytvořili: ");
    QVERIFY(label.startsWith(prefix));
    const QString version = label.mid(prefix.size());
    QVERIFY(!version.isEmpty());

    const QProcessEnvironment noDisplay = NoDisplay(folder.dir.filePath("unused.ini"));
    const Finished editor = RunProgram(VORLIX_PATH, {"--version"}, noDisplay);
    QCOMPARE(editor.exitCode, 0);
    QCOMPARE(editor.out, QStringLiteral("vorlix ") + version + QLatin1Char('\n'));
    QCOMPARE(EditorVersionText(), editor.out);

    const Finished cli = RunProgram(VORLIX_CLI_PATH, {"--version"}, noDisplay);
    QCOMPARE(cli.exitCode, 0);
    QCOMPARE(cli.out, QStringLiteral("vorlix-cli ") + version + QLatin1Char('\n'));
    QVERIFY(!QFile::exists(folder.dir.filePath("unused.ini")));
}

void StartupTest::helpAndWrongUsageWithoutAWindow() {
    TestFolder folder;
    const QProcessEnvironment noDisplay = NoDisplay(folder.Ini());
    const Finished help = RunProgram(VORLIX_PATH, {"--help"}, noDisplay);
    QCOMPARE(help.exitCode, 0);
    QCOMPARE(help.out, EditorHelpText());
    QVERIFY(help.out.startsWith(QLatin1String("Usage: vorlix [options] [FULLFLASH]\n")));
    for (const char* word : {"--settings <FILE>", "--version", "--help"}) {
        QVERIFY2(help.out.contains(QLatin1String(word)), word);
    }

    // A wrong argument ends the program with status 2 before any window
    // opens or any setting is written. An unknown option is judged once
    // Qt has taken its own options out, so that one needs the window system.
    QProcessEnvironment offscreen = noDisplay;
    offscreen.insert("QT_QPA_PLATFORM", "offscreen");
    const std::pair<QStringList, QProcessEnvironment> wrongOnes[] = {
        {{"a.fls", "b.fls"}, noDisplay},
        {{"--settings"}, noDisplay},
        {{"--frobnicate"}, offscreen},
        {{"-platform", "offscreen", "a.fls", "b.fls"}, noDisplay},
    };
    for (const auto& [args, env] : wrongOnes) {
        const Finished wrong = RunProgram(VORLIX_PATH, args, env);
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.contains(QLatin1String("vorlix: ")), qPrintable(wrong.err));
        QVERIFY(wrong.err.contains(QLatin1String("vorlix --help")));
        QVERIFY(wrong.out.isEmpty());
    }
    QVERIFY(!QFile::exists(folder.Ini()));
}

// The editor keeps its settings in the file that --settings names, over
// VORLIX_SETTINGS: starting writes the program's defaults there.
void StartupTest::settingsOptionNamesTheStore() {
    TestFolder folder;
    const QString chosen = folder.dir.filePath("chosen.ini");
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VORLIX_SETTINGS", folder.Ini());
    process.setProcessEnvironment(env);
    process.start(VORLIX_PATH, {"--settings", chosen});
    QVERIFY(process.waitForStarted(20000));
    QDeadlineTimer deadline(30000);
    auto started = [&chosen] {
        QFile file(chosen);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("InternalVersion=4");
    };
    while (!started() && !deadline.hasExpired() && process.state() == QProcess::Running) {
        QTest::qWait(50);
    }
    const bool written = started();
    process.kill();
    process.waitForFinished(10000);
    QVERIFY(written);
    QVERIFY(!QFile::exists(folder.Ini()));
}

void StartupTest::windowHasTheProgramIcon() {
    const QIcon icon = ProgramIcon();
    for (const int size : {16, 32, 48, 256}) {
        QCOMPARE(icon.pixmap(size, size).size(), QSize(size, size));
        QVERIFY(icon.availableSizes().contains(QSize(size, size)));
    }
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    QVERIFY(!w.windowIcon().isNull());
    QCOMPARE(w.windowIcon().availableSizes(), icon.availableSizes());
    QVERIFY(!w.Image3->pixmap().isNull());
}

// --lang chooses the interface's language for one run; and with no window
// system to reach at all (no QT_QPA_PLATFORM, no DISPLAY), every usage
// question is still answered, never aborted.
void StartupTest::languageOptionAndUsageWithNoWindowSystemAtAll() {
    QVERIFY(ParseEditorCommandLine({"vorlix", "--lang", "en"}).language == UiLanguage::English);
    QVERIFY(ParseEditorCommandLine({"vorlix", "--lang=original"}).language == UiLanguage::Original);
    QVERIFY(!ParseEditorCommandLine({"vorlix"}).language);

    TestFolder folder;
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"QT_QPA_PLATFORM", "DISPLAY", "WAYLAND_DISPLAY"}) bare.remove(name);
    bare.insert("VORLIX_SETTINGS", folder.Ini());
    const auto run = [&](const QStringList& args) {
        QProcess process;
        process.setProcessEnvironment(bare);
        process.start(VORLIX_PATH, args);
        Finished result;
        if (!process.waitForFinished(60000)) return result;
        result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        result.out = QString::fromUtf8(process.readAllStandardOutput());
        result.err = QString::fromUtf8(process.readAllStandardError());
        return result;
    };
    const Finished help = run({"--help"});
    QCOMPARE(help.exitCode, 0);
    QVERIFY2(help.out.contains(QLatin1String("--lang <en|original>")), qPrintable(help.out));
    QCOMPARE(run({"--version"}).exitCode, 0);
    for (const QStringList& args : {QStringList{"--frobnicate"}, QStringList{"--lang", "de"},
                                    QStringList{"-platform", "xcb", "--frobnicate", "--help"},
                                    QStringList{"a.fls", "b.fls", "--lang", "en"}}) {
        const Finished wrong = run(args);
        QCOMPARE(wrong.exitCode, 2);
        QVERIFY2(wrong.err.startsWith(QLatin1String("vorlix: ")), qPrintable(wrong.err));
        QVERIFY(wrong.out.isEmpty());
    }
    QVERIFY(!QFile::exists(folder.Ini()));

    // The editor starts with --lang en and keeps the stored choice as it was.
    QProcess process;
    QProcessEnvironment offscreen = bare;
    offscreen.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(offscreen);
    process.start(VORLIX_PATH, {"--lang", "en"});
    QVERIFY(process.waitForStarted(20000));
    QDeadlineTimer deadline(30000);
    auto started = [&folder] {
        QFile file(folder.Ini());
        return file.open(QIODevice::ReadOnly) && file.readAll().contains("InternalVersion=4");
    };
    while (!started() && !deadline.hasExpired() && process.state() == QProcess::Running) {
        QTest::qWait(50);
    }
    const bool running = process.state() == QProcess::Running;
    process.kill();
    process.waitForFinished(10000);
    QVERIFY2(running && started(), qPrintable(QString::fromUtf8(process.readAllStandardError())));
    QVERIFY(!folder.Stored("", "Language").contains(QLatin1String("en")));
}

QTEST_MAIN(StartupTest)
#include "startup_test.moc"
