#include "patch/patch_generator.h"

#include "patch/picture_lines.h"
#include "session/flash_session.h"
#include "vkp/patch_lines.h"

namespace vorlix {

namespace {

bool Taken(const std::vector<bool>* selected, std::size_t row) {
    return !selected || (row < selected->size() && (*selected)[row]);
}

}  // namespace

int GeneratePatch(const FlashSession& session, QStringList& lines,
                  const std::vector<bool>* selected, const ProgressSink& progress) {
    if (!session.IsOpen()) return 0;
    const Settings& settings = session.settings();
    const std::int32_t fullFlash = settings.FullFlash;
    const int rowCount = static_cast<int>(session.Slots.size());

    progress.Position(0);
    progress.Maximum(settings.PlainPatch ? rowCount : rowCount * 2);

    if (!settings.AuthorName.isEmpty()) lines.append(kAuthorLinePrefix + settings.AuthorName);
    const auto modified = [&](int r) {
        const Picture* picture = session.PictureOfRow(r);
        return picture && picture->Modified;
    };
    for (int r = 0; r < rowCount; ++r) {
        if (Taken(selected, std::size_t(r)) && modified(r)) {
            lines.append(kGeneratedLinePrefix + settings.VersionText);
            break;
        }
    }

    std::vector<const Picture*> dataLater;
    int pictures = 0;
    for (int r = 0; r < rowCount; ++r) {
        progress.Position(r);
        if (!Taken(selected, std::size_t(r)) || !modified(r)) continue;
        const Picture* picture = session.PictureOfRow(r);
        ++pictures;
        AppendRecordLine(*picture, fullFlash, lines);
        if (settings.PlainPatch) {
            AppendDataLines(*picture, fullFlash, settings.PatchMaxLength, lines);
        } else {
            dataLater.push_back(picture);
        }
    }
    int position = rowCount;
    for (const Picture* picture : dataLater) {
        progress.Position(++position);
        AppendDataLines(*picture, fullFlash, settings.PatchMaxLength, lines);
    }
    progress.Position(0);
    return pictures;
}

}  // namespace vorlix
