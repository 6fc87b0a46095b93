#include "cli/patch_commands.h"

#include <QCoreApplication>
#include <algorithm>
#include <tuple>

#include "cli/cli.h"
#include "cli/cli_prompt.h"
#include "cli/cli_session.h"
#include "vkp/patch_conflicts.h"

namespace vorlix {

namespace {

struct Line {
    PatchProblem problem;
    bool warning;
};

QString ProblemLine(const PatchProblem& p, std::span<const PatchSource> sources, bool warning) {
    QString text = sources[static_cast<std::size_t>(p.source)].name;
    if (p.at.line > 0) text += QStringLiteral(":%1:%2").arg(p.at.line).arg(p.at.column);
    text += QStringLiteral(": ");
    if (warning) text += QCoreApplication::translate("Cli", "предупреждение: ");
    return text + p.message;
}

void AppendHex(QByteArray& out, std::span<const std::uint8_t> bytes) {
    static const char kDigits[] = "0123456789ABCDEF";
    for (const std::uint8_t b : bytes) {
        out.append(kDigits[b >> 4]);
        out.append(kDigits[b & 0x0F]);
    }
}

}  // namespace

bool ReadPatchSources(QIODevice& err, const QStringList& files, std::vector<PatchSource>& sources) {
    sources.assign(static_cast<std::size_t>(files.size()), PatchSource());
    for (qsizetype i = 0; i < files.size(); ++i) {
        PatchSource& source = sources[static_cast<std::size_t>(i)];
        source.name = files[i];
        if (const Status status = ReadVkpFile(files[i], source.file); !status.ok()) {
            WriteLine(err, status.message());
            return false;
        }
    }
    return true;
}

void WritePatchProblems(QIODevice& err, const PatchCheck& check,
                        std::span<const PatchSource> sources) {
    for (const PatchProblem& p : check.errors) WriteLine(err, ProblemLine(p, sources, false));
    for (const PatchProblem& p : check.warnings) WriteLine(err, ProblemLine(p, sources, true));
}

int ParseCommand(const CliContext& cx, const QStringList& files) {
    bool failed = false;
    const bool named = files.size() > 1;
    for (const QString& fileName : files) {
        PatchSource source{fileName, {}};
        if (const Status status = ReadVkpFile(fileName, source.file); !status.ok()) {
            WriteLine(cx.err, status.message());
            failed = true;
            continue;
        }
        const VkpFile& file = source.file;
        failed = failed || !file.ok();

        // Errors and warnings together, in the order of the text.
        std::vector<Line> lines;
        for (const VkpDiagnostic& d : file.errors) lines.push_back({{0, d.at, d.message}, false});
        for (const VkpDiagnostic& d : file.warnings) lines.push_back({{0, d.at, d.message}, true});
        if (file.ok() && file.records.empty()) {
            lines.push_back(
                {{0, {}, QCoreApplication::translate("Cli", "нет данных патча")}, true});
        }
        std::stable_sort(lines.begin(), lines.end(), [](const Line& a, const Line& b) {
            return std::tie(a.problem.at.line, a.problem.at.column) <
                   std::tie(b.problem.at.line, b.problem.at.column);
        });
        for (const Line& line : lines) {
            WriteLine(cx.err, ProblemLine(line.problem, std::span(&source, 1), line.warning));
        }

        const QByteArray prefix = named ? fileName.toUtf8() + '\t' : QByteArray();
        QByteArray out;
        for (const VkpRecord& r : file.records) {
            out += prefix;
            out += QByteArray::number(r.address, 16).toUpper().rightJustified(6, '0');
            out += ' ';
            if (r.hasOld) {
                AppendHex(out, file.OldBytes(r));
            } else {
                out += '-';
            }
            out += ' ';
            AppendHex(out, file.NewBytes(r));
            out += '\n';
            if (out.size() > (1 << 20)) {
                cx.out.write(out);
                out.clear();
            }
        }
        cx.out.write(out);
    }
    return failed ? kExitError : kExitOk;
}

int CheckCommand(const CliContext& cx, const QString& flash, const QStringList& files) {
    std::vector<PatchSource> sources;
    if (!ReadPatchSources(cx.err, files, sources)) return kExitError;
    CliSession cli(cx.err, cx.settingsPath, false);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, std::nullopt, false); status != kExitOk) return status;
    const std::int32_t fullFlash = cli.settings().FullFlash;
    const FlashImage& image = cli.session().image();
    const PatchCheck check = CheckPatches(sources, PatchDirection::Apply, fullFlash, image.Size());
    WritePatchProblems(cx.err, check, sources);
    if (!check.ok()) return kExitError;
    const std::vector<Conflict> conflicts = FindConflicts(sources, image.BaseBytes(), fullFlash);
    QByteArray out;
    for (const Conflict& c : conflicts)
        out += (ConflictLine(c, sources) + QLatin1Char('\n')).toUtf8();
    cx.out.write(out);
    return HasConflicts(conflicts) ? kExitError : kExitOk;
}

}  // namespace vorlix
