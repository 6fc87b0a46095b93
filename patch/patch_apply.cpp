#include "patch/patch_apply.h"

#include <QFile>
#include <algorithm>
#include <cstring>

#include "image/flash_image.h"
#include "session/flash_session.h"
#include "patch/patch_file.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Appends the bytes of a field of hexadecimal digits; false when it holds
// any other character.
bool DecodeHex(QByteArrayView field, std::vector<std::uint8_t>& out) {
    for (qsizetype i = 0; i + 1 < field.size(); i += 2) {
        const int high = HexValue(field[i]);
        const int low = HexValue(field[i + 1]);
        if (high < 0 || low < 0) return false;
        out.push_back(static_cast<std::uint8_t>(high << 4 | low));
    }
    return true;
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 0x20; }

QByteArrayView Trimmed(QByteArrayView line) {
    qsizetype begin = 0, end = line.size();
    while (begin < end && IsBlank(line[begin])) ++begin;
    while (end > begin && IsBlank(line[end - 1])) --end;
    return line.sliced(begin, end - begin);
}

// A text of the patch as a message may show it: control characters as
// '?', and a text of a very long or binary line cut short.
QString Shown(const QString& text) {
    constexpr qsizetype kMaxShown = 60;
    QString shown = text.size() > kMaxShown ? text.left(kMaxShown) : text;
    for (QChar& c : shown) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = QLatin1Char('?');
    }
    if (text.size() > kMaxShown) shown += QStringLiteral("…");
    return shown;
}

QByteArrayView Field(QByteArrayView text, qsizetype& pos) {
    while (pos < text.size() && text[pos] == ' ') ++pos;
    const qsizetype begin = pos;
    while (pos < text.size() && text[pos] != ' ') ++pos;
    return text.sliced(begin, pos - begin);
}

class PatchReader {
public:
    PatchReader(const std::uint8_t* base, std::int32_t fullFlash, Prompt& prompt, ParsedPatch& patch)
        : base_(base), fullFlash_(fullFlash), prompt_(prompt), patch_(patch) {}

    Status ReadLine(QByteArrayView raw, int lineNumber) {
        const QByteArrayView line = Trimmed(raw);
        if (line.isEmpty() || line[0] == ';') return Status::Ok();

        // Without a colon the address text is empty and does not convert.
        const qsizetype colon = line.indexOf(':');
        const QByteArrayView addressText = colon < 0 ? QByteArrayView() : line.first(colon);
        const QString address = QStringLiteral("0x") + QString::fromLatin1(addressText);
        const std::optional<std::int32_t> fileOffset = ParseIntText(address);
        if (!fileOffset) {
            const QString shown =
                QStringLiteral("0x") + DecodeWindows1251(addressText.toByteArray());
            return Refuse(NotAnIntegerMessage(Shown(shown)));
        }

        qsizetype pos = colon + 1;
        const QByteArrayView oldField = Field(line, pos);
        const QByteArrayView newField = Field(line, pos);
        // A single field carries new bytes only: V_Klay writes them so when
        // there is nothing to check.
        const bool single = newField.isEmpty();
        if (!single && oldField.size() != newField.size()) return Refuse(kUnequalLengthsMessage);
        const QByteArrayView data = single ? oldField : newField;
        if (data.size() % 2 != 0) return Refuse(kOddLengthMessage);
        const int count = static_cast<int>(data.size() / 2);
        if (count == 0) return Status::Ok();

        old_.clear();
        const std::size_t first = patch_.bytes.size();
        if (!DecodeHex(data, patch_.bytes) || (!single && !DecodeHex(oldField, old_))) {
            patch_.bytes.resize(first);
            return Refuse(QStringLiteral("Данные патча содержат недопустимые символы (строка %1)")
                              .arg(lineNumber));
        }
        const std::int64_t imageOffset = std::int64_t{fullFlash_} + *fileOffset;
        if (*fileOffset < 0 || !InImage(imageOffset, count)) {
            patch_.bytes.resize(first);
            return Refuse(QStringLiteral("Данные патча выходят за пределы образа (строка %1)")
                              .arg(lineNumber));
        }
        if (checking_ && !single &&
            std::memcmp(old_.data(), base_ + imageOffset, static_cast<std::size_t>(count)) != 0) {
            if (prompt_.Ask(kCaptionError, kMismatchQuestion, Buttons::YesNo) != Answer::Yes) {
                return Status::Cancelled(kMismatchQuestion);
            }
            checking_ = false;
            patch_.checkedAll = false;
        }
        patch_.entries.push_back({static_cast<std::int32_t>(imageOffset),
                                  static_cast<std::int32_t>(first), count});
        return Status::Ok();
    }

private:
    Status Refuse(const QString& message) {
        prompt_.Error(message);
        return Status::InvalidArgument(message);
    }

    const std::uint8_t* base_;
    std::int32_t fullFlash_;
    Prompt& prompt_;
    ParsedPatch& patch_;
    bool checking_ = true;
    std::vector<std::uint8_t> old_;
};

}  // namespace

Status ReadPatch(const QByteArray& text, const std::uint8_t* baseImage, std::int32_t fullFlash,
                 Prompt& prompt, ParsedPatch& patch) {
    patch = ParsedPatch();
    PatchReader reader(baseImage, fullFlash, prompt, patch);
    const char* data = text.constData();
    const qsizetype size = text.size();
    int lineNumber = 0;
    qsizetype begin = 0;
    while (begin < size) {
        qsizetype end = begin;
        while (end < size && data[end] != '\n' && data[end] != '\r') ++end;
        ++lineNumber;
        if (Status status = reader.ReadLine(QByteArrayView(data + begin, end - begin), lineNumber);
            !status.ok()) {
            patch = ParsedPatch();
            return status;
        }
        // CR LF, a lone LF and a lone CR each end one line.
        if (end < size && data[end] == '\r' && end + 1 < size && data[end + 1] == '\n') ++end;
        begin = end + 1;
    }
    return Status::Ok();
}

void WritePatch(const ParsedPatch& patch, FlashImage& image) {
    std::uint8_t* work = image.WorkImage();
    std::uint8_t* usage = image.UsageMap();
    for (const ParsedPatch::Entry& entry : patch.entries) {
        std::memcpy(work + entry.imageOffset, patch.bytes.data() + entry.first,
                    static_cast<std::size_t>(entry.count));
        std::memset(usage + entry.imageOffset, 0x00, static_cast<std::size_t>(entry.count));
    }
}

Status ApplyPatchText(FlashImage& image, std::int32_t fullFlash, const QByteArray& text,
                      Prompt& prompt, ApplyCounts* counts) {
    ParsedPatch patch;
    if (Status status = ReadPatch(text, image.BaseImage(), fullFlash, prompt, patch);
        !status.ok()) {
        return status;
    }
    WritePatch(patch, image);
    if (counts) {
        counts->entries = static_cast<int>(patch.entries.size());
        counts->bytes = static_cast<std::int64_t>(patch.bytes.size());
        counts->checkedAll = patch.checkedAll;
    }
    return Status::Ok();
}

Status ApplyPatchFile(FlashSession& session, const QString& fileName, Prompt& prompt,
                      ApplyCounts* counts) {
    QFile file(fileName);
    QByteArray text;
    if (file.open(QIODevice::ReadOnly)) text = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        const QString message = QStringLiteral("Не удалось прочитать файл \"%1\": %2")
                                    .arg(fileName, file.errorString());
        prompt.Error(message);
        return Status::IoError(message);
    }
    return ApplyPatchText(session.image(), session.settings().FullFlash, text, prompt, counts);
}

}  // namespace vorlix
