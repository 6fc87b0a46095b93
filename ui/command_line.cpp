#include "ui/command_line.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include "settings/settings.h"

namespace vorlix {

namespace {

struct EditorCommandLineText {
    Q_DECLARE_TR_FUNCTIONS(EditorCommandLine)
};

// Qt's own options, which the window system's application takes out of the
// arguments (with one dash or two): those followed by a value, as the next
// argument or after '=', and those without one.
const QStringList kQtValueOptions =
    QStringLiteral(
        "platform platformpluginpath platformtheme plugin qwindowgeometry geometry "
        "qwindowicon icon qwindowtitle title session display name style stylesheet "
        "qmljsdebugger visual ncols")
        .split(QLatin1Char(' '));
const QStringList kQtFlagOptions =
    QStringLiteral("reverse widgetcount nograb dograb testability cmap").split(QLatin1Char(' '));

QStringList WithoutQtOptions(const QStringList& args) {
    QStringList kept;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (i == 0 || arg.size() < 2 || !arg.startsWith(QLatin1Char('-'))) {
            kept << arg;
            continue;
        }
        if (arg == QLatin1String("--")) {
            kept << args.mid(i);
            break;
        }
        const QString option = arg.mid(arg.startsWith(QLatin1String("--")) ? 2 : 1);
        const qsizetype equals = option.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? option : option.left(equals);
        if (kQtValueOptions.contains(name)) {
            if (equals < 0) ++i;  // the value follows
            continue;
        }
        if (equals < 0 && kQtFlagOptions.contains(name)) continue;
        kept << arg;
    }
    return kept;
}

// The parser is built afresh for each use, so that its texts follow the
// language that is in force at that moment.
struct EditorParser {
    QCommandLineParser parser;
    QCommandLineOption help;
    QCommandLineOption version;
    QCommandLineOption settings{
        QStringLiteral("settings"),
        EditorCommandLineText::tr("Keep the settings in the INI file FILE instead of the default "
                                  "place (VORLIX_SETTINGS, else the user's configuration folder)."),
        QStringLiteral("FILE")};
    QCommandLineOption language{
        QStringLiteral("lang"),
        EditorCommandLineText::tr("The interface's language for this run: en (English) or "
                                  "original (the texts as the program was made with), over the "
                                  "choice in the settings."),
        QStringLiteral("en|original")};

    // Qt's own help option would bring --help-all, which lists Qt's options
    // too but is answered only once the window system is up.
    EditorParser()
        : help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
               EditorCommandLineText::tr("Show this help and end.")),
          version(QStringList{QStringLiteral("v"), QStringLiteral("version")},
                  EditorCommandLineText::tr("Show the program's version and end.")) {
        parser.addOption(help);
        parser.addOption(version);
        parser.setApplicationDescription(EditorCommandLineText::tr(
            "Vorlix Editor: lists and shows the pictures of a Siemens phone's firmware\n"
            "(C55 and its neighbours: S45, S45i, ME45, CF62, SL45i, A50, A52, C35, M55, S55,\n"
            "C60, MC60), replaces them with BMP or PNG files and makes a V_Klay patch (*.vkp)\n"
            "for a flasher. The FullFlash file itself is never written."));
        parser.addOption(settings);
        parser.addOption(language);
        parser.addPositionalArgument(
            QStringLiteral("FULLFLASH"),
            EditorCommandLineText::tr(
                "The FullFlash (*.fls, *.bin) to open at start, or a patch (*.vkp) to show in "
                "the patch pane; without it the window opens empty."),
            QStringLiteral("[FULLFLASH]"));
    }
};

}  // namespace

EditorCommandLine ParseEditorCommandLine(const QStringList& args) {
    EditorParser p;
    EditorCommandLine result;
    const auto wrong = [&result](const QString& problem) {
        result.action = EditorCommandLine::Action::WrongUsage;
        result.problem = problem;
        return result;
    };
    if (!p.parser.parse(WithoutQtOptions(args))) return wrong(p.parser.errorText());
    if (p.parser.isSet(p.help)) {
        result.action = EditorCommandLine::Action::ShowHelp;
        return result;
    }
    if (p.parser.isSet(p.version)) {
        result.action = EditorCommandLine::Action::ShowVersion;
        return result;
    }
    if (p.parser.values(p.settings).size() > 1)
        return wrong(EditorCommandLineText::tr("--settings is given twice."));
    result.settingsFile = p.parser.value(p.settings);
    if (p.parser.isSet(p.settings) && result.settingsFile.isEmpty()) {
        return wrong(EditorCommandLineText::tr("--settings needs a file name."));
    }
    if (p.parser.isSet(p.language)) {
        if (p.parser.values(p.language).size() > 1)
            return wrong(EditorCommandLineText::tr("--lang is given twice."));
        result.language = LanguageFromText(p.parser.value(p.language));
        if (!result.language)
            return wrong(EditorCommandLineText::tr("--lang takes \"en\" or \"original\"."));
    }
    const QStringList positional = p.parser.positionalArguments();
    if (positional.size() > 1)
        return wrong(EditorCommandLineText::tr("Only one FullFlash opens at start."));
    if (!positional.isEmpty()) {
        result.flash = positional.first();
        if (result.flash.isEmpty())
            return wrong(EditorCommandLineText::tr("The FullFlash's name is empty."));
    }
    return result;
}

QString EditorHelpText() {
    // The usage line names the program as it is installed, not by the path
    // it was started from.
    QString text = EditorParser().parser.helpText();
    const QString started =
        QCoreApplication::instance() ? QCoreApplication::arguments().value(0) : QString();
    const qsizetype at = started.isEmpty() ? -1 : text.indexOf(started);
    if (at >= 0 && at < text.indexOf(QLatin1Char('\n'))) {
        text.replace(at, started.size(), QStringLiteral("vorlix"));
    }
    return text;
}

QString EditorVersionText() {
    return QStringLiteral("vorlix ") + Settings::kVersionText + QLatin1Char('\n');
}

}  // namespace vorlix
