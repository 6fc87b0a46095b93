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

// Reads program values as they stand in the store: a missing one takes its
// default in memory only.
class ReadOnlyProgramValues {
  public:
    explicit ReadOnlyProgramValues(SettingsStore& store) : store_(store) {}

    Status Text(const QString& name, const QString& defaultText, QString& field) {
        field = defaultText;
        if (!store_.HasValue(QString(), name)) return Status::Ok();
        // Only a value that is present is read, with an empty default: the
        // store writes nothing back but an empty text over an empty one.
        // An empty value means the default, as when the window reads it.
        const QString text = store_.ReadValue(QString(), name, QString());
        if (!text.isEmpty()) field = text;
        return Status::Ok();
    }

    // A value that does not convert leaves the default in the field, so
    // that a later store of the fields loses nothing else.
    Status Int(const QString& name, const char* defaultText, std::int32_t& field) {
        field = ParseIntText(QString::fromLatin1(defaultText)).value_or(0);
        QString text;
        if (Status s = Text(name, QString::fromLatin1(defaultText), text); !s.ok()) return s;
        return ConvertInt(text, field);
    }

    Status Bool(const QString& name, const char* defaultText, bool& field) {
        std::int32_t value = 0;
        if (Status s = Int(name, defaultText, value); !s.ok()) return s;
        field = value != 0;
        return Status::Ok();
    }

  private:
    SettingsStore& store_;
};

}  // namespace

CliSession::CliSession(QIODevice& err, const QString& settingsPath, bool answerYes,
                       const QStringList& installed)
    : err_(err),
      prompt_(err, answerYes),
      store_(MakeStore(settingsPath)),
      settings_(*store_, prompt_),
      state_(settings_) {
    for (const QString& path : installed) installed_.push_back({path, true});
}

Status CliSession::LoadProgramValues() {
    ReadOnlyProgramValues values(*store_);
    Settings& s = settings_;
    // Every value is read, also after one that does not convert.
    Status status;
    auto step = [&](Status next) {
        if (status.ok()) status = std::move(next);
    };
    step(values.Int("WindowState", "0", s.WindowState));
    step(values.Int("WindowWidth", "778", s.WindowWidth));
    step(values.Int("WindowHeight", "540", s.WindowHeight));
    for (int i = 0; i < static_cast<int>(s.Recent.size()); ++i)
        step(values.Text(QStringLiteral("Recent%1").arg(i), QString(), s.Recent[i]));
    step(values.Int("FrameColor", "0", s.FrameColor));
    step(values.Bool("AutoName", "0", s.AutoName));
    step(values.Bool("OnlySelected", "0", s.OnlySelected));
    if (!status.ok()) prompt_.Error(status.message());
    const Status patchValues = LoadPatchValues();
    return status.ok() ? patchValues : status;
}

Status CliSession::LoadPatchValues() {
    ReadOnlyProgramValues values(*store_);
    Settings& s = settings_;
    Status status;
    auto step = [&](Status next) {
        if (!next.ok() && status.ok()) {
            prompt_.Error(next.message());
            status = std::move(next);
        }
    };
    step(values.Bool("PlainPatch", "0", s.PlainPatch));
    step(values.Int("PatchMaxLength", "27", s.PatchMaxLength));
    step(values.Text("AuthorName", QString(), s.AuthorName));
    step(values.Bool("KeepDepthAndCompression", "0", s.KeepDepthAndCompression));
    // A size change is the window's question; the command line reports it
    // in its closing line and asks only about pictures too large to be
    // found again.
    s.AskSizeChange = false;
    return status;
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
    const OpenResult result = OpenFullFlashStacked(
        state_.session(), path, hooks, [this] { return installed_; }, stack_);
    if (!programValuesRead) return 1;
    // Either way the user has been told why.
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
