#include "cli/commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSaveFile>
#include <algorithm>
#include <filesystem>

#include "cli/cli.h"
#include "cli/cli_session.h"
#include "cli/demo_flash.h"
#include "cli/patch_commands.h"
#include "patch/batch_replace.h"
#include "patch/lost_pictures.h"
#include "patch/patch_generator.h"
#include "patch/replacement_size.h"
#include "patch/whole_image.h"
#include "vkp/patch_apply.h"
#include "vkp/patch_file.h"

namespace vorlix {

namespace {

int Fail(const CliContext& cx, const QString& message) {
    WriteLine(cx.err, message);
    return kExitError;
}

Status WriteFile(const QString& fileName, const char* data, qint64 size) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(data, size) != size || !file.commit()) {
        return Status::IoError(
            QCoreApplication::translate("Cli", "Не удалось записать файл \"%1\": %2")
                .arg(fileName, file.errorString()));
    }
    return Status::Ok();
}

int WriteOutput(const CliContext& cx, const QString& output, const QByteArray& bytes) {
    if (output.isEmpty()) {
        cx.out.write(bytes);
        return kExitOk;
    }
    const Status status = WriteFile(output, bytes.constData(), bytes.size());
    return status.ok() ? kExitOk : Fail(cx, status.message());
}

int RefuseFlashAsOutput(const CliContext& cx, const QString& flash, const QString& output) {
    if (!output.isEmpty() && SameFile(flash, output)) {
        return Fail(
            cx, QCoreApplication::translate("Cli", "OUT must not be the FullFlash file itself: %1")
                    .arg(output));
    }
    return kExitOk;
}

}  // namespace

bool SameFile(const QString& a, const QString& b) {
    std::error_code error;
    if (std::filesystem::equivalent(std::filesystem::path(a.toStdU16String()),
                                    std::filesystem::path(b.toStdU16String()), error))
        return true;
    // A file that does not exist yet is compared by the canonical path of
    // its folder and its name.
    auto canonical = [](const QString& path) {
        const QFileInfo info(path);
        if (info.exists()) return info.canonicalFilePath();
        const QString dir = QFileInfo(info.absolutePath()).canonicalFilePath();
        return dir.isEmpty() ? info.absoluteFilePath() : dir + QLatin1Char('/') + info.fileName();
    };
    return canonical(a) == canonical(b);
}

int InfoCommand(const CliContext& cx, const QString& flash) {
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, std::nullopt); status != kExitOk) return status;
    const Settings& s = cli.settings();
    const SearchCounts& c = cli.counts();
    auto line = [&](const char* name, const QString& value) {
        WriteLine(cx.out, QLatin1String(name) + QStringLiteral(": ") + value);
    };
    line("File", flash);
    line("ModelAndVersion", s.ModelAndVersion);
    line("FullFlash", HexSetting(s.FullFlash));
    line("sPITAdr", HexSetting(s.sPITAdr));
    line("ExtPITAdr", HexSetting(s.ExtPITAdr));
    line("SearchType", s.SearchType ? QStringLiteral("records") : QStringLiteral("tables"));
    line("Pictures", QString::number(c.found));
    line("InPIT", QString::number(c.found - c.foundExt));
    line("InExtPIT", QString::number(c.foundExt));
    return kExitOk;
}

int ListCommand(const CliContext& cx, const QString& flash, std::optional<bool> scanRecords) {
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, scanRecords); status != kExitOk) return status;
    QString text;
    text.reserve(static_cast<qsizetype>(cli.session().Rows.size()) * 48);
    const FlashSession& session = cli.session();
    for (int row = 0; row < static_cast<int>(session.Slots.size()); ++row) {
        for (int c = ColNumber; c <= ColModified; ++c) {
            if (c != ColNumber) text += QLatin1Char('\t');
            text += RowText(session, row, c);
        }
        text += QLatin1Char('\n');
    }
    cx.out.write(text.toUtf8());
    return kExitOk;
}

int ExportCommand(const CliContext& cx, const QString& flash, const QString& dir,
                  PictureFileFormat format) {
    if (!QDir().mkpath(dir))
        return Fail(cx,
                    QCoreApplication::translate("Cli", "Cannot create the folder \"%1\"").arg(dir));
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, std::nullopt); status != kExitOk) return status;
    FlashSession& session = cli.session();
    for (int r = 0; r < static_cast<int>(session.Rows.size()); ++r) {
        const Picture* picture = session.PictureOfRow(r);
        if (!picture) continue;
        const QString name =
            QDir(dir).filePath(PitFileName(session, r) + QLatin1Char('.') + FormatSuffix(format));
        if (const Status status = picture->SavePicture(name, format); !status.ok()) {
            return Fail(cx, status.message());
        }
    }
    return kExitOk;
}

int PatchCommand(const CliContext& cx, const QString& flash, const QStringList& files,
                 const PatchCommandOptions& options) {
    if (const int refused = RefuseFlashAsOutput(cx, flash, options.output)) return refused;
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (!cli.LoadPatchValues().ok()) return kExitError;
    if (const int status = cli.Open(flash, std::nullopt); status != kExitOk) return status;
    Settings& settings = cli.settings();
    if (options.lineLength) settings.PatchMaxLength = *options.lineLength;
    if (options.plain) settings.PlainPatch = true;
    if (options.author) settings.AuthorName = *options.author;

    // Pictures that would vanish from the list are a question, which the
    // command line answers "No" unless --yes was given: then no patch is
    // written, rather than one that lacks some of the files. Another size
    // within the model's largest is only named.
    std::vector<SizeWarning> sizes = BatchSizeWarnings(cli.session(), files);
    std::vector<SizeWarning> tooLarge;
    std::erase_if(sizes, [&](const SizeWarning& w) {
        if (w.TooLarge()) tooLarge.push_back(w);
        return w.TooLarge();
    });
    if (!sizes.empty()) WriteLine(cx.err, SizeWarningList(sizes));
    if (!tooLarge.empty() &&
        cli.prompt().Ask(
            SizeQuestionCaption(),
            SizeWarningList(tooLarge, LostByBatchText(cli.session(), tooLarge, files)) +
                QLatin1Char('\n') + QCoreApplication::translate("Cli", "Заменить эти картинки?"),
            Buttons::YesNo) != Answer::Yes)
        return Fail(
            cx, QCoreApplication::translate(
                    "Cli", "Патч не записан: размер картинок не подтверждён (--yes заменяет их)."));

    BatchResult batch;
    if (const Status status = BatchReplace(cli.session(), files, batch); !status.ok()) {
        cli.prompt().Error(status.message());
        return kExitError;
    }
    WriteLine(cx.err, BatchReportText(batch));

    // The patch is made and checked as the window saves it: read back and
    // applied to the firmware, it must give the pictures as replaced.
    EditingState& state = cli.state();
    QStringList lines;
    const bool made = state.Generate(nullptr, cli.prompt()) == EditingState::Generated::Patch;
    if (made)
        lines = state.PatchLines();
    else
        GeneratePatch(cli.session(), lines);  // no picture: at most the author's line
    const QByteArray bytes = EncodePatchText(lines);
    if (const PatchVerdict verdict = made ? CheckPatchText(cli.session(), bytes) : PatchVerdict();
        !verdict.ok()) {
        WriteLine(cx.err, QCoreApplication::translate(
                              "Cli", "Патч не записан: он не даёт картинки, как они заменены:"));
        WriteLine(cx.err, PatchMismatchText(verdict.mismatches));
        return kExitError;
    }
    return WriteOutput(cx, options.output, bytes);
}

int ApplyCommand(const CliContext& cx, const QString& flash, const QStringList& patches,
                 const QString& output, bool undo) {
    if (const int refused = RefuseFlashAsOutput(cx, flash, output)) return refused;
    std::vector<PatchSource> sources;
    if (!ReadPatchSources(cx.err, patches, sources)) return kExitError;
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, std::nullopt); status != kExitOk) return status;
    const PatchDirection direction = undo ? PatchDirection::Undo : PatchDirection::Apply;
    const PatchCheck check =
        CheckPatches(sources, direction, cli.settings().FullFlash, cli.session().image().Size());
    WritePatchProblems(cx.err, check, sources);
    if (!check.ok()) return kExitError;
    ApplyCounts counts;
    if (!RunPatches(sources, direction, cli.session().image(), cli.settings().FullFlash,
                    cli.prompt(), &counts)
             .ok())
        return kExitError;
    WriteLine(cx.out, QStringLiteral("Entries: %1").arg(counts.entries));
    WriteLine(cx.out, QStringLiteral("Bytes: %1").arg(counts.bytes));
    WriteLine(cx.out, QStringLiteral("Checked: %1").arg(counts.checkedAll ? "all" : "partly"));
    WriteLine(cx.out, QStringLiteral("Skipped: %1").arg(counts.skippedFiles));
    if (output.isEmpty()) return kExitOk;

    // The working image over the extent of the file as it was placed.
    const FlashImage& image = cli.session().image();
    const std::int64_t start = cli.settings().FullFlash;
    if (!image.Holds(start))
        return Fail(cx, QCoreApplication::translate("Cli", "FullFlash lies outside the image"));
    const std::int64_t length = std::min<std::int64_t>(cli.fileSize(), image.Size() - start);
    const auto* work = reinterpret_cast<const char*>(image.WorkImage());
    const Status status = WriteFile(output, work + start, length);
    return status.ok() ? kExitOk : Fail(cx, status.message());
}

int FillCommand(const CliContext& cx, const QString& flash) {
    CliSession cli(cx.err, cx.settingsPath, cx.answerYes, cx.with);
    cli.SetModel(cx.model);
    if (const int status = cli.Open(flash, std::nullopt, false); status != kExitOk) return status;
    QStringList lines;
    const FillCounts counts = FillPicturesWithFF(cli.session(), lines);
    WriteLine(cx.err, FillCountsText(counts));
    cx.out.write(EncodePatchText(lines));
    return kExitOk;
}

int SampleCommand(const CliContext& cx, const QString& output) {
    const QByteArray flash = BuildDemoFlash();
    const Status status = WriteFile(output, flash.constData(), flash.size());
    return status.ok() ? kExitOk : Fail(cx, status.message());
}

}  // namespace vorlix
