#include "cli/cli.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "cli/cli_prompt.h"
#include "cli/commands.h"
#include "cli/patch_commands.h"
#include "picture/picture.h"
#include "settings/settings.h"
#include "translations/translation.h"

namespace vorlix {

namespace {

const char kUsage[] = QT_TRANSLATE_NOOP(
    "Cli",
    "Usage: vorlix-cli COMMAND ARGUMENTS [--settings FILE] [--lang en|original]\n"
    "\n"
    "Commands:\n"
    "  info FLASH [--with PATCH]       model, tables and picture counts\n"
    "  list FLASH [--search tables|records] [--with PATCH]\n"
    "                                  one tab-separated line per picture\n"
    "  export FLASH DIR [--format bmp|png] [--with PATCH]\n"
    "                                  every picture as DIR/PIT_<PIT>.bmp (or .png)\n"
    "  patch FLASH FILE... [-o OUT] [--line-length N] [--plain] [--author NAME] [--yes]\n"
    "        [--with PATCH]\n"
    "                                  replace pictures by PIT_<PIT>.bmp files and\n"
    "                                  write the patch (to OUT or stdout); a file\n"
    "                                  larger than the model's maximum size is\n"
    "                                  refused unless --yes is given\n"
    "  apply FLASH PATCH... [--undo] [--yes] [-o OUT]\n"
    "                                  apply patches in the order given, all or\n"
    "                                  nothing (--undo: take them out, last first);\n"
    "                                  -o writes the patched FullFlash\n"
    "  parse PATCH...                  read patches: one line ADDR OLD NEW a record\n"
    "  check FLASH PATCH...            conflicts of patches flashed in the order\n"
    "                                  given: overlapping records, old bytes that\n"
    "                                  do not match, patches present already; one\n"
    "                                  line each, exit status 1 on an overlap or a\n"
    "                                  mismatch\n"
    "  fill FLASH [--with PATCH]       patch that erases every picture (stdout)\n"
    "  sample OUT                      write a demo FullFlash (8 MiB, C55 layout)\n"
    "\n"
    "--with PATCH (repeatable) brings a patch installed on the phone onto the\n"
    "FullFlash first, in the order given: pictures are listed as the phone shows\n"
    "them, and a new patch applies after it and never writes its bytes.\n"
    "--model NAME (every command that reads a FLASH) names the model of a\n"
    "FullFlash whose build information names none the program knows: a known\n"
    "model (C55, A52, S45i, SL45i, A50, C35, M55, MC60, C60, S55), whose\n"
    "FullFlash, dump size and largest picture it then takes, or a model and\n"
    "version such as C55v50, whose stored settings it then uses.\n"
    "--settings FILE names the settings file (else VORLIX_SETTINGS, else the\n"
    "default location). The FullFlash file is never written. Questions are\n"
    "answered \"No\" unless --yes is given.\n"
    "--lang en|original: the messages in English or in their original words\n"
    "(else as the settings' Language says).\n"
    "--help prints this text, --version the program's version.\n"
    "Exit status: 0 success, 1 error, 2 wrong usage.\n");

void WriteUsage(QIODevice& device) {
    device.write(QCoreApplication::translate("Cli", kUsage).toUtf8());
}

// The run's messages in `language`: the program's own texts only. Qt's
// words (the option parser's errors) stay in English, as the usage text
// around them is.
void UseLanguage(UiLanguage language) { InstallTranslation(language, false); }

// The language the settings of the run name; `settingsPath` empty: the
// default store.
UiLanguage StoredLanguageAt(const QString& settingsPath) {
    return StoredLanguage(settingsPath.isEmpty() ? SettingsStore() : SettingsStore(settingsPath));
}

int Usage(QIODevice& err, const QString& problem) {
    if (!problem.isEmpty()) WriteLine(err, QStringLiteral("vorlix-cli: ") + problem);
    WriteUsage(err);
    return kExitUsage;
}

struct CommandShape {
    const char* name;
    int minArgs;
    int maxArgs;  // -1: any number
};

constexpr CommandShape kCommands[] = {
    {"info", 1, 1},  {"list", 1, 1}, {"export", 2, 2}, {"patch", 2, -1},
    {"apply", 2, -1}, {"fill", 1, 1}, {"sample", 1, 1}, {"parse", 1, -1},
    {"check", 2, -1},
};

// The commands that open a FullFlash as the window does and so may stack
// installed patches on it.
bool TakesInstalledPatches(const QString& command) {
    for (const char* name : {"info", "list", "export", "patch", "fill"})
        if (command == QLatin1String(name)) return true;
    return false;
}

// The commands whose first argument is a FullFlash they open.
bool ReadsFlash(const QString& command) {
    return TakesInstalledPatches(command) || command == QLatin1String("apply") ||
           command == QLatin1String("check");
}

}  // namespace

int RunCli(const QStringList& args, QIODevice& out, QIODevice& err) {
    if (args.isEmpty()) {
        UseLanguage(StoredLanguageAt(QString()));
        return Usage(err, QString());
    }
    const QString command = args.first();
    if (command == QLatin1String("--help") || command == QLatin1String("-h") ||
        command == QLatin1String("help")) {
        UseLanguage(StoredLanguageAt(QString()));
        WriteUsage(out);
        return kExitOk;
    }
    if (command == QLatin1String("--version")) {
        WriteLine(out, QStringLiteral("vorlix-cli ") + Settings::kVersionText);
        return kExitOk;
    }
    const CommandShape* shape = nullptr;
    for (const CommandShape& c : kCommands) {
        if (command == QLatin1String(c.name)) shape = &c;
    }
    if (!shape) {
        UseLanguage(StoredLanguageAt(QString()));
        return Usage(err,
                     QCoreApplication::translate("Cli", "unknown command \"%1\"").arg(command));
    }

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption settingsOption(QStringLiteral("settings"), QString(),
                                            QStringLiteral("FILE"));
    const QCommandLineOption searchOption(QStringLiteral("search"), QString(),
                                          QStringLiteral("MODE"));
    const QCommandLineOption outputOption(QStringLiteral("o"), QString(), QStringLiteral("OUT"));
    const QCommandLineOption lineLengthOption(QStringLiteral("line-length"), QString(),
                                              QStringLiteral("N"));
    const QCommandLineOption plainOption(QStringLiteral("plain"));
    const QCommandLineOption authorOption(QStringLiteral("author"), QString(),
                                          QStringLiteral("NAME"));
    const QCommandLineOption yesOption(QStringLiteral("yes"));
    const QCommandLineOption undoOption(QStringLiteral("undo"));
    const QCommandLineOption formatOption(QStringLiteral("format"), QString(),
                                          QStringLiteral("FORMAT"));
    const QCommandLineOption withOption(QStringLiteral("with"), QString(),
                                        QStringLiteral("PATCH"));
    const QCommandLineOption modelOption(QStringLiteral("model"), QString(),
                                         QStringLiteral("NAME"));
    const QCommandLineOption langOption(QStringLiteral("lang"), QString(), QStringLiteral("LANG"));
    parser.addOption(settingsOption);
    parser.addOption(langOption);
    if (TakesInstalledPatches(command)) parser.addOption(withOption);
    if (ReadsFlash(command)) parser.addOption(modelOption);
    if (command == QLatin1String("list")) parser.addOption(searchOption);
    if (command == QLatin1String("export")) parser.addOption(formatOption);
    if (command == QLatin1String("patch")) {
        parser.addOption(outputOption);
        parser.addOption(lineLengthOption);
        parser.addOption(plainOption);
        parser.addOption(authorOption);
        parser.addOption(yesOption);
    }
    if (command == QLatin1String("apply")) {
        parser.addOption(outputOption);
        parser.addOption(yesOption);
        parser.addOption(undoOption);
    }
    // The language comes first, so that every message of the run speaks it:
    // --lang, else the setting of the store the run uses.
    const bool parsed = parser.parse(QStringList{QStringLiteral("vorlix-cli")} + args.mid(1));
    const std::optional<UiLanguage> language = parsed && parser.isSet(langOption)
                                                   ? LanguageFromText(parser.value(langOption))
                                                   : std::nullopt;
    UseLanguage(
        language.value_or(StoredLanguageAt(parsed ? parser.value(settingsOption) : QString())));
    if (!parsed) return Usage(err, parser.errorText());
    if (parser.isSet(langOption) && !language) {
        return Usage(err,
                     QCoreApplication::translate("Cli", "--lang takes \"en\" or \"original\""));
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < shape->minArgs ||
        (shape->maxArgs >= 0 && positional.size() > shape->maxArgs)) {
        return Usage(err, QCoreApplication::translate("Cli", "wrong number of arguments for \"%1\"")
                              .arg(command));
    }
    for (const QString& name : parser.optionNames()) {
        if (parser.optionNames().count(name) > 1 && name != QLatin1String("plain") &&
            name != QLatin1String("yes") && name != QLatin1String("undo") &&
            name != QLatin1String("with")) {
            return Usage(err,
                         QCoreApplication::translate("Cli", "option %1 given twice").arg(name));
        }
    }

    const QString model = ReadsFlash(command) ? parser.value(modelOption).trimmed() : QString();
    const CliContext cx{out,
                        err,
                        parser.value(settingsOption),
                        (command == QLatin1String("apply") || command == QLatin1String("patch")) &&
                            parser.isSet(yesOption),
                        TakesInstalledPatches(command) ? parser.values(withOption) : QStringList(),
                        model};
    if (ReadsFlash(command) && parser.isSet(modelOption) && cx.model.isEmpty()) {
        return Usage(err, QCoreApplication::translate("Cli", "--model needs a model name"));
    }
    if (parser.isSet(settingsOption) && cx.settingsPath.isEmpty()) {
        return Usage(err, QCoreApplication::translate("Cli", "--settings needs a file name"));
    }
    for (const QString& patch : cx.with) {
        if (patch.isEmpty())
            return Usage(err, QCoreApplication::translate("Cli", "--with needs a patch file"));
    }
    const QString flash = positional.first();

    if (command == QLatin1String("info")) return InfoCommand(cx, flash);
    if (command == QLatin1String("list")) {
        std::optional<bool> scanRecords;
        if (parser.isSet(searchOption)) {
            const QString mode = parser.value(searchOption);
            if (mode == QLatin1String("tables")) {
                scanRecords = false;
            } else if (mode == QLatin1String("records")) {
                scanRecords = true;
            } else {
                return Usage(err, QCoreApplication::translate(
                                      "Cli", "--search takes \"tables\" or \"records\""));
            }
        }
        return ListCommand(cx, flash, scanRecords);
    }
    if (command == QLatin1String("export")) {
        std::optional<PictureFileFormat> format = PictureFileFormat::Bmp;
        if (parser.isSet(formatOption)) format = FormatFromSuffix(parser.value(formatOption));
        if (!format)
            return Usage(err,
                         QCoreApplication::translate("Cli", "--format takes \"bmp\" or \"png\""));
        return ExportCommand(cx, flash, positional[1], *format);
    }
    if (command == QLatin1String("patch")) {
        PatchCommandOptions options;
        options.output = parser.value(outputOption);
        if (parser.isSet(outputOption) && options.output.isEmpty()) {
            return Usage(err, QCoreApplication::translate("Cli", "-o needs a file name"));
        }
        if (parser.isSet(lineLengthOption)) {
            options.lineLength = ParseIntText(parser.value(lineLengthOption));
            if (!options.lineLength) {
                return Usage(err, NotAnIntegerMessage(parser.value(lineLengthOption)));
            }
        }
        options.plain = parser.isSet(plainOption);
        if (parser.isSet(authorOption)) options.author = parser.value(authorOption);
        return PatchCommand(cx, flash, positional.mid(1), options);
    }
    if (command == QLatin1String("apply")) {
        // "-o" at the end takes the next option as its value; with any
        // number of patch files that would go unnoticed.
        const QString output = parser.value(outputOption);
        if (parser.isSet(outputOption) && (output.isEmpty() || output.startsWith(QLatin1Char('-')))) {
            return Usage(err, QCoreApplication::translate("Cli", "-o needs a file name"));
        }
        return ApplyCommand(cx, flash, positional.mid(1), parser.value(outputOption),
                            parser.isSet(undoOption));
    }
    if (command == QLatin1String("parse")) return ParseCommand(cx, positional);
    if (command == QLatin1String("check")) return CheckCommand(cx, flash, positional.mid(1));
    if (command == QLatin1String("fill")) return FillCommand(cx, flash);
    return SampleCommand(cx, flash);
}

}  // namespace vorlix
