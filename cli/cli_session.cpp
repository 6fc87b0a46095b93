#include "cli/cli_session.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "patch/stacked_open.h"
#include "session/flash_notices.h"
#include "session/open_flash.h"

namespace vorlix {

namespace {

std::unique_ptr<SettingsStore> MakeStore(const QString& path) {
    return path.isEmpty() ? std::make_unique<SettingsStore>()
                          : std::make_unique<SettingsStore>(path);
}

}  // namespace

CliSession::CliSession(QIODevice& err, const QString& settingsPath, bool answerYes,
                       const QStringList& installed)
    : err_(err),
      prompt_(err, answerYes),
      store_(MakeStore(settingsPath)),
      settings_(*store_),
      state_(settings_) {
    for (const QString& path : installed) installed_.push_back({path, true});
}

Status CliSession::LoadProgramValues() {
    const Status status = settings_.PeekProgramValues(Settings::kWindowValues);
    if (!status.ok()) prompt_.Error(status.message());
    const Status patchValues = LoadPatchValues();
    // The view's values are not the command line's to check, but they are
    // read too: a store of the program values then gives them back as they
    // were (one that does not convert is stored as its default, as the
    // window's load would stop at it).
    (void)settings_.PeekProgramValues(Settings::kViewValues);
    return status.ok() ? patchValues : status;
}

Status CliSession::LoadPatchValues() {
    const Status status = settings_.PeekProgramValues(Settings::kPatchValues);
    if (!status.ok()) prompt_.Error(status.message());
    UseOwnRules();
    return status;
}

void CliSession::UseOwnRules() {
    // A size change is the window's question; the command line reports it
    // in its closing line and asks only about pictures too large to be
    // found again.
    settings_.AskSizeChange = false;
}

int CliSession::Open(const QString& path, std::optional<bool> scanRecords, bool search) {
    // The open procedure puts the file at the head of the recent list and,
    // for a model met the first time, stores the program settings with the
    // model's. Just before that store the program values (the recent list
    // among them) are read as they stand, so that what is written equals
    // what was read.
    bool programValuesRead = true;
    OpenHooks hooks;
    hooks.newModel = [&] {
        // Without a confirmed sPIT the tables cannot be walked: such a model
        // is searched by records, as the settings dialog would set it.
        if (settings_.sPITAdr < 0) settings_.SearchType = true;
        programValuesRead = LoadProgramValues().ok();
    };
    hooks.chooseModel = [this](const QString&) { return ModelChoice{false, model_}; };
    hooks.notice = [this](const QString& caption, const QString& text) {
        prompt_.Tell(caption, text);
    };
    const OpenOutcome outcome = OpenFullFlashStacked(
        state_.session(), path, hooks, [this] { return installed_; }, prompt_, stack_);
    if (!outcome.error.ok() && !outcome.error.message().isEmpty())
        prompt_.Error(outcome.error.message());
    const OpenResult result = outcome.result;
    // What the open stored is the user's; the command line's own rules
    // apply again from here.
    UseOwnRules();
    if (!programValuesRead) return 1;
    // Either way the user has just been told why.
    if (result == OpenResult::NotOpened || result == OpenResult::Stopped) return 1;
    if (result == OpenResult::Cancelled) {
        WriteLine(err_, QCoreApplication::translate(
                            "Cli", "Открытие отменено: установленный патч не подошёл."));
        return 1;
    }
    for (const StackedPatch& p : stack_.patches) {
        QString line = QCoreApplication::translate("Cli", "%1: %2, записей: %3")
                           .arg(p.patch.path, StackStateText(p.state))
                           .arg(p.records);
        if (!p.note.isEmpty()) line += QStringLiteral(" (") + p.note + QLatin1Char(')');
        WriteLine(err_, line);
    }
    fileSize_ = QFileInfo(path).size();

    if (scanRecords) settings_.SearchType = *scanRecords;
    if (!search) return 0;
    const ImageBytes base = state_.session().image().BaseBytes();
    const SearchPlan plan = PlanSearch(base, settings_, settings_.SearchType);
    SearchCallbacks callbacks;
    callbacks.found = [this](std::int32_t foundPos, const PitRecord& record, int found, int) {
        state_.session().AddFoundPicture(foundPos, record, found);
    };
    counts_ = RunPictureSearch(base, plan, callbacks);
    if (counts_.found == 0) {
        const QString howToCheck =
            QCoreApplication::translate("Cli", "в окне настроек редактора или в файле «%1»")
                .arg(QDir::toNativeSeparators(store_->location()));
        prompt_.Tell(kCaptionWarning, NoPicturesText(settings_, plan.scanRecords, howToCheck));
    }
    return 0;
}

}  // namespace vorlix
