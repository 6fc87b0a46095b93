// A V_Klay patch as modders share it: read in the whole dialect, applied to
// an image and undone again. The reader's records must lie inside what it
// read, and a readable file's old data is never shorter than its new data.
// Where the patch applies with every old byte as the file says (the image
// is first given each record's old bytes) and every record can be undone,
// undoing it must give the working image back byte for byte.

#include <cstring>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "image/flash_image.h"
#include "vkp/patch_apply.h"
#include "vkp/vkp_reader.h"

using namespace vorlix;

namespace {

struct Range {
    std::int64_t pos;
    std::int64_t length;
};

// The image every input works on, all 0xFF between inputs.
struct Program {
    FlashImage image;
    std::vector<Range> dirty;

    // Erases what the last input wrote, in all three arrays.
    void Restore() {
        for (const Range& r : dirty) {
            for (std::uint8_t* a : {image.BaseImage(), image.MutableWorkImage()})
                std::memset(a + r.pos, 0xFF, static_cast<std::size_t>(r.length));
            std::memset(image.Usage() + r.pos, 0x00, static_cast<std::size_t>(r.length));
        }
        dirty.clear();
    }
};

// The part of a record's bytes inside the image, or an empty range.
Range InImageRange(const VkpRecord& r, std::int32_t fullFlash) {
    const std::int64_t from = std::int64_t{fullFlash} + r.address;
    const std::int64_t to = std::min<std::int64_t>(
        std::int64_t{fullFlash} + static_cast<std::int64_t>(r.CheckedEnd()), kImageSize);
    if (from >= kImageSize || to <= from) return {0, 0};  // the fuzzed image is 16 MiB
    return {from, to - from};
}

void CheckRecords(const VkpFile& file) {
    for (const VkpRecord& r : file.records) {
        FUZZ_CHECK(std::uint64_t{r.newFirst} + r.newCount <= file.bytes.size());
        if (r.hasOld) FUZZ_CHECK(std::uint64_t{r.oldFirst} + r.oldCount <= file.bytes.size());
        FUZZ_CHECK(r.at.line >= 1 && r.at.column >= 1);
        if (file.ok() && r.hasOld) FUZZ_CHECK(r.oldCount >= r.newCount);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Program program;
    program.Restore();

    std::vector<PatchSource> sources(1);
    sources[0].file = ReadVkp(QByteArrayView(data, static_cast<qsizetype>(size)));
    const VkpFile& file = sources[0].file;
    CheckRecords(file);
    // The last byte decides where the file lies in the image: a whole dump
    // (every address inside) or one placed at 8 MiB (the upper half outside).
    const std::int32_t fullFlash = (size > 0 && (data[size - 1] & 1)) ? 0x800000 : 0;
    if (!CheckPatches(sources, PatchDirection::Apply, fullFlash, program.image.Size()).ok())
        return 0;

    // Every record's old bytes stand in the image, in file order.
    FlashImage& image = program.image;
    bool undoable = true;
    for (const VkpRecord& r : file.records) {
        const Range range = InImageRange(r, fullFlash);
        if (range.length == 0) continue;
        program.dirty.push_back(range);
        if (!r.hasOld || !r.Has(kUndo)) {
            undoable = false;
            continue;
        }
        const auto old = file.OldBytes(r);
        std::memcpy(image.BaseImage() + range.pos, old.data(), old.size());
        std::memcpy(image.MutableWorkImage() + range.pos, old.data(), old.size());
    }
    // The working image where the patch reaches, as it stands before it.
    const auto snapshot = [&] {
        std::vector<std::uint8_t> bytes;
        for (const Range& r : program.dirty)
            bytes.insert(bytes.end(), image.WorkImage() + r.pos,
                         image.WorkImage() + r.pos + r.length);
        return bytes;
    };
    const std::vector<std::uint8_t> before = snapshot();

    // A mismatch is refused: only a clean apply goes on to the undo.
    fuzz::SilentPrompt refuse(Answer::No);
    ApplyCounts counts;
    if (!RunPatches(sources, PatchDirection::Apply, image, fullFlash, refuse, &counts).ok()) {
        FUZZ_CHECK(snapshot() == before);
        return 0;
    }
    if (!undoable || !counts.checkedAll || counts.skippedFiles > 0) return 0;
    if (!CheckPatches(sources, PatchDirection::Undo, fullFlash, image.Size()).ok()) return 0;

    fuzz::SilentPrompt goOn(Answer::Yes);
    FUZZ_CHECK(RunPatches(sources, PatchDirection::Undo, image, fullFlash, goOn).ok());
    FUZZ_CHECK(snapshot() == before);
    return 0;
}
