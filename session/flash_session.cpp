#include "session/flash_session.h"

#include <QCoreApplication>

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

namespace {

const QString kYes = QStringLiteral("yes");

QString CompressedText(std::uint8_t type) { return (type & 0x80) ? kYes : QString(); }

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

QString PitFileName(const FlashSession& session, int row) {
    // The row's PIT text was made by PitText when its picture was found.
    if (row < 0 || row >= int(session.Rows.size())) return {};
    return QStringLiteral("PIT_") + session.Rows[row][ColPIT];
}

// The picture was made at `foundPos`, its RecordPos, which its PIT text
// shows.
ListRow MakeRow(const Picture& picture, const PitRecord& record, std::int32_t /*foundPos*/,
                int found, const Settings& settings) {
    ListRow row;
    row[ColNumber] = QString::number(found);
    row[ColCompressed] = CompressedText(record[2]);
    row[ColDepth] = QString::number(picture.Depth);
    row[ColX] = QString::number(record[0]);
    row[ColY] = QString::number(record[1]);
    row[ColPIT] = PitText(picture, settings);
    row[ColData] =
        FileOffsetText(GetDataPos(record.data(), FormatFor(settings.ModelAndVersion)), settings);
    row[ColLength] = QString::number(picture.Length);
    return row;  // "Modifyed" and the extra text stay empty
}

Picture* FlashSession::PictureOfRow(int row) const {
    if (row < 0 || row >= static_cast<int>(Rows.size())) return nullptr;
    bool ok = false;
    const int number = Rows[row][ColNumber].toInt(&ok, 10);
    if (!ok || number < 1 || number > static_cast<int>(Pictures.size())) return nullptr;
    return Pictures[number - 1].get();
}

void FlashSession::AddFoundPicture(std::int32_t foundPos, const PitRecord& record, int found) {
    Pictures.push_back(std::make_unique<Picture>(image_, foundPos, settings_));
    Rows.push_back(MakeRow(*Pictures.back(), record, foundPos, found, settings_));
}

void FlashSession::WriteRowAfterReplace(int row) {
    Picture* picture = PictureOfRow(row);
    if (!picture) return;
    ListRow& r = Rows[row];
    r[ColCompressed] = CompressedText(picture->Type());
    r[ColDepth] = QString::number(picture->Depth);
    r[ColX] = QString::number(picture->Width());
    r[ColY] = QString::number(picture->Height());
    r[ColData] = FileOffsetText(picture->DataPos(), settings_);
    r[ColLength] = QString::number(picture->Length);
    // The row says what the picture is: a replacement that found no room
    // leaves it as the firmware holds it.
    r[ColModified] = picture->Modified ? kYes : QString();
}

void FlashSession::ClearPictures() {
    Rows.clear();
    Pictures.clear();
}

}  // namespace vorlix
