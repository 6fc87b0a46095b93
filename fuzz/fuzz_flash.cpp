// A FullFlash as a user opens it: read, identified, placed, its tables
// discovered, searched by tables and by records with every picture decoded;
// then opened once more, now by the settings that the first open stored.

#include <QFile>

#include "fuzz/fuzz_support.h"
#include "image/record_scan.h"
#include "session/open_flash.h"

using namespace vorlix;

namespace {

// Pictures decoded per search: a dump may hold thousands of records; this
// many reach every encoding and keep one input quick.
constexpr int kMaxPictures = 300;

struct Program {
    fuzz::SilentPrompt prompt;
    QString ini = fuzz::InputPath(QStringLiteral("vorlix.ini"));
    SettingsStore store{ini};
    Settings settings{store};
    FlashSession session{settings};
};

void Search(FlashSession& session, bool scanRecords) {
    session.ClearPictures();
    const ImageBytes base = session.image().BaseBytes();
    const SearchPlan plan = PlanSearch(base, session.settings(), scanRecords);
    SearchCallbacks callbacks;
    int found = 0;
    callbacks.terminated = [&] { return found >= kMaxPictures; };
    callbacks.found = [&](std::int32_t pos, const PitRecord& record, int t, int) {
        found = t;
        session.AddFoundPicture(pos, record, t);
        const Picture& p = *session.Pictures.back();
        // The decoder counts only bytes that it read inside the image.
        FUZZ_CHECK(p.Length == 0 || session.image().Holds(p.DataPos(), p.Length));
        FUZZ_CHECK(p.DecodedBitmap.width() == record[0] && p.DecodedBitmap.height() == record[1]);
    };
    const SearchCounts counts = RunPictureSearch(base, plan, callbacks);
    FUZZ_CHECK(counts.found == static_cast<int>(session.Rows.size()));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Program program;
    FlashSession& session = program.session;
    Settings& settings = program.settings;
    // Every input meets the program as freshly started: no stored settings.
    QFile::remove(program.ini);
    settings.ModelAndVersion = Settings::kGeneralKey;
    settings.Recent = {};

    const QString path = fuzz::WriteInput(QStringLiteral("flash.fls"), data, size);
    OpenHooks hooks;
    if (OpenFullFlash(session, path, hooks) != OpenResult::Opened) return 0;
    Search(session, false);
    Search(session, true);

    if (OpenFullFlash(session, path, hooks) != OpenResult::Opened) return 0;
    Search(session, settings.SearchType);
    return 0;
}
