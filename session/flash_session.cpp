#include "session/flash_session.h"

#include <QCoreApplication>
#include <stdexcept>

#include "image/picture_types.h"
#include "session/pit_name.h"

namespace vorlix {

namespace {

constexpr const char* kColumnCaptions[] = {
    QT_TRANSLATE_NOOP("PictureList", "№"),       QT_TRANSLATE_NOOP("PictureList", "Compressed"),
    QT_TRANSLATE_NOOP("PictureList", "Depth"),   QT_TRANSLATE_NOOP("PictureList", "X"),
    QT_TRANSLATE_NOOP("PictureList", "Y"),       QT_TRANSLATE_NOOP("PictureList", "PIT"),
    QT_TRANSLATE_NOOP("PictureList", "Data"),    QT_TRANSLATE_NOOP("PictureList", "Length"),
    QT_TRANSLATE_NOOP("PictureList", "Modifyed")};

}  // namespace

QString ColumnCaption(int column) {
    if (column < 0 || column >= int(std::size(kColumnCaptions))) return {};
    return QCoreApplication::translate("PictureList", kColumnCaptions[column]);
}

const QString kRowYes = QStringLiteral("yes");

namespace {

// File offset of an image offset, as the list shows it; settings may put
// FullFlash anywhere, so the difference wraps instead of overflowing.
QString FileOffsetText(std::int32_t imageOffset, const Settings& settings) {
    return Hex6(static_cast<std::int32_t>(static_cast<std::uint32_t>(imageOffset) -
                                          static_cast<std::uint32_t>(settings.FullFlash)));
}

}  // namespace

QString PitText(const Picture& picture, const Settings& settings) {
    return FileOffsetText(picture.RecordPos, settings);
}

QString DataText(const Picture& picture, const Settings& settings) {
    return FileOffsetText(picture.DataPos(), settings);
}

QString PitFileName(const FlashSession& session, int row) {
    if (row < 0 || row >= int(session.Slots.size())) return {};
    return QStringLiteral("PIT_") + RowText(session, row, ColPIT);
}

QString RowText(const FlashSession& session, int row, int column) {
    if (row < 0 || row >= int(session.Slots.size())) return {};
    const RowSlot& slot = session.Slots[std::size_t(row)];
    if (column == ColNumber) return QString::number(slot.number);
    const Picture* picture = session.PictureOfRow(row);
    if (!picture)
        return column == ColPIT ? FileOffsetText(slot.recordPos, session.settings()) : QString();
    switch (column) {
        case ColCompressed:
            return (picture->Type() & kCompressed) && !slot.compressedCleared ? kRowYes : QString();
        case ColDepth:
            return QString::number(picture->Depth);
        case ColX:
            return QString::number(picture->Width());
        case ColY:
            return QString::number(picture->Height());
        case ColPIT:
            return PitText(*picture, session.settings());
        case ColData:
            return DataText(*picture, session.settings());
        case ColLength:
            return QString::number(picture->Length);
        case ColModified:
            return picture->Modified ? kRowYes : QString();
        default:
            return {};
    }
}

ListRow MakeRowTexts(const FlashSession& session, int row) {
    ListRow texts;
    for (int c = 0; c < kColumnCount; ++c) texts[c] = RowText(session, row, c);
    return texts;
}

std::size_t RowTexts::size() const { return session_.Slots.size(); }

ListRow RowTexts::operator[](std::size_t row) const { return MakeRowTexts(session_, int(row)); }

ListRow RowTexts::at(std::size_t row) const {
    if (row >= size()) throw std::out_of_range("RowTexts::at");
    return (*this)[row];
}

RowTexts::operator std::vector<ListRow>() const {
    std::vector<ListRow> rows;
    rows.reserve(size());
    for (std::size_t r = 0; r < size(); ++r) rows.push_back((*this)[r]);
    return rows;
}

Picture* FlashSession::PictureOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(Slots.size())) return nullptr;
    const int number = Slots[std::size_t(row)].number;
    if (number < 1 || number > static_cast<int>(Pictures.size())) return nullptr;
    return Pictures[number - 1].get();
}

void FlashSession::AddFoundPicture(std::int32_t foundPos, const PitRecord& /*record*/, int found) {
    Pictures.push_back(std::make_unique<Picture>(image_, foundPos, settings_));
    Slots.push_back(RowSlot{found, foundPos, false});
}

void FlashSession::WriteRowAfterReplace(int row) {
    if (row >= 0 && row < int(Slots.size())) Slots[std::size_t(row)].compressedCleared = false;
}

void FlashSession::ClearPictures() {
    Slots.clear();
    Pictures.clear();
}

}  // namespace vorlix
