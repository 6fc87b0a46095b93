#pragma once

#include <QTemporaryDir>
#include <memory>

#include "builder/flash_builder.h"
#include "common/prompt.h"
#include "image/record_scan.h"
#include "picture/color_tables.h"
#include "session/flash_session.h"
#include "settings/settings.h"

namespace vorlix::testing {

// A session on a built image with the C55 settings, its store in a
// temporary folder, and a prompt that scripts the answers.
struct TestSession {
    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("settings.ini"))};
    ScriptedPrompt prompt;
    Settings settings{store};
    std::unique_ptr<FlashSession> session = std::make_unique<FlashSession>(settings);

    TestSession() {
        BuildColorTables();
        c55::SetC55ModelValues(settings);
        settings.PatchMaxLength = 27;
        settings.ModelAndVersion = QStringLiteral("C55v50");
        session->FilePath = QStringLiteral("test.fls");
    }

    FlashImage& image() { return session->image(); }
    std::uint8_t* base() { return image().BaseImage(); }
    std::uint8_t* work() { return image().MutableWorkImage(); }

    // Lays the file into the image and lists its pictures by the tables.
    void Open(const FlashBuilder& builder, bool search = true) {
        session->ClearPictures();
        builder.LoadInto(image());
        if (!search) return;
        const SearchPlan plan = PlanSearch(image().BaseBytes(), settings, false);
        SearchCallbacks callbacks;
        callbacks.found = [&](std::int32_t pos, const PitRecord& record, int found, int) {
            session->AddFoundPicture(pos, record, found);
        };
        RunPictureSearch(image().BaseBytes(), plan, callbacks);
    }

    // The picture says it is modified, which its row shows.
    void MarkModified(int row) { session->PictureOfRow(row)->Modified = true; }
};

}  // namespace vorlix::testing
