#pragma once

#include <QImage>
#include <cstdint>
#include <memory>
#include <vector>

#include "session/flash_session.h"

namespace vorlix {

// What an edit may change of one listed picture: its fields and the texts
// of its row.
struct PictureState {
    int row = -1;
    PitRecord Record{};
    std::int32_t Length = 0;
    std::uint8_t Depth = 0;
    bool Modified = false;
    std::vector<std::uint8_t> NewData;
    QImage SourceBitmap;
    QImage DecodedBitmap;
    RowSlot slot;

    bool operator==(const PictureState& other) const;
};

// The state of the picture of `row` (fields left empty when the row has no
// picture).
PictureState CaptureState(const FlashSession& session, int row);
// Puts a state back into its row and picture; the image arrays are not
// touched.
void RestoreState(FlashSession& session, const PictureState& state);

// Bytes of one image array that an edit changed, as they were before and
// after it.
struct ByteRun {
    std::int32_t pos = 0;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
};

// One step of editing (a replacement, a depth change, a batch, a revert):
// the pictures it changed and every byte of the working image and of the
// usage map it changed, each before and after. Undo puts back exactly what
// was there before the step, Redo exactly what the step left.
class PictureEdit {
  public:
    bool Empty() const { return before_.empty() && work_.empty() && usage_.empty(); }
    // The rows whose picture or texts the step changed, in list order.
    std::vector<int> Rows() const;
    void Undo(FlashSession& session) const { Apply(session, false); }
    void Redo(FlashSession& session) const { Apply(session, true); }

  private:
    friend class EditRecorder;
    void Apply(FlashSession& session, bool after) const;

    std::vector<PictureState> before_, after_;
    std::vector<ByteRun> work_, usage_;
};

// Records one step: Begin before the edit runs, End after it. Comparing the
// arrays as a whole catches every byte the edit touched, wherever the new
// data went and whatever the edit freed or left shared.
class EditRecorder {
  public:
    EditRecorder();
    ~EditRecorder();
    EditRecorder(const EditRecorder&) = delete;
    EditRecorder& operator=(const EditRecorder&) = delete;

    // Keeps the state of the pictures of `rows` and a copy of the working
    // image and the usage map.
    void Begin(const FlashSession& session, std::vector<int> rows);
    // The step from Begin to now; pictures that did not change are left out.
    // Without a Begin before it, an empty step.
    PictureEdit End(const FlashSession& session);

  private:
    bool recording_ = false;
    std::vector<PictureState> before_;
    // Copies of the working image and the usage map taken at Begin (the
    // image's size each), allocated with the first step and kept for the
    // next of the same image size.
    ImageArray work_, usage_;
    std::int64_t size_ = 0;
};

}  // namespace vorlix
