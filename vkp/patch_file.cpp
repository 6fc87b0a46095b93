#include "vkp/patch_file.h"

#include <QSaveFile>
#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace vorlix {

namespace {

const char* const kCodePage = "windows-1251";

// Windows-1251 from 0x80 to 0xFF, for Qt builds whose codecs lack it (Qt
// without ICU knows only the UTF and Latin-1 families). 0x98 is unassigned.
constexpr std::array<char16_t, 128> kUpperHalf = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409,
    0x2039, 0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0,
    0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB,
    0x00AC, 0x00AD, 0x00AE, 0x0407, 0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6,
    0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411,
    0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417, 0x0418, 0x0419, 0x041A, 0x041B, 0x041C,
    0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423, 0x0424, 0x0425, 0x0426, 0x0427,
    0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F, 0x0430, 0x0431, 0x0432,
    0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B, 0x043C, 0x043D,
    0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447, 0x0448,
    0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F};

QByteArray EncodeByTable(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x80) {
            out.append(static_cast<char>(u));
            continue;
        }
        char byte = '?';
        for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
            if (kUpperHalf[i] == u && u != 0xFFFD) {
                byte = static_cast<char>(0x80 + i);
                break;
            }
        }
        out.append(byte);
    }
    return out;
}

QString DecodeByTable(const QByteArray& bytes) {
    QString out(bytes.size(), Qt::Uninitialized);
    QChar* p = out.data();
    for (char b : bytes) {
        const auto u = static_cast<unsigned char>(b);
        *p++ = QChar(u < 0x80 ? char16_t(u) : kUpperHalf[u - 0x80]);
    }
    return out;
}

bool IsAscii(const QString& text) {
    for (QChar c : text) {
        if (c.unicode() >= 0x80) return false;
    }
    return true;
}

}  // namespace

int Windows1251Byte(char32_t character) {
    if (character < 0x80) return static_cast<int>(character);
    for (std::size_t i = 0; i < kUpperHalf.size(); ++i) {
        if (kUpperHalf[i] == character && character != 0xFFFD) return static_cast<int>(0x80 + i);
    }
    return -1;
}

char16_t Windows1251Char(std::uint8_t byte) {
    return byte < 0x80 ? char16_t(byte) : kUpperHalf[byte - 0x80];
}

bool ConfirmNewPatch(Prompt& prompt) {
    return prompt.Ask(QCoreApplication::translate("PatchFile", "Создание нового патча"),
                      QCoreApplication::translate(
                          "PatchFile", "Данные текущего патча будуь утеряны. Продолжить?"),
                      Buttons::YesNo) != Answer::No;
}

QString PatchSaveName(const QString& chosenName, int filterIndex) {
    // A name typed with its extension, in any letter case, keeps it as it is.
    if (filterIndex != 0 || chosenName.endsWith(QLatin1String(".vkp"), Qt::CaseInsensitive))
        return chosenName;
    return chosenName + QStringLiteral(".vkp");
}

QByteArray EncodePatchText(const QStringList& lines) {
    qsizetype total = 0;
    for (const QString& line : lines) total += line.size() + 2;
    QByteArray out;
    out.reserve(total);
    QStringEncoder encoder(kCodePage, QStringConverter::Flag::Default);
    for (const QString& line : lines) {
        if (IsAscii(line)) {
            out.append(line.toLatin1());
        } else if (encoder.isValid()) {
            out.append(encoder.encode(line));
        } else {
            out.append(EncodeByTable(line));
        }
        out.append("\r\n", 2);
    }
    return out;
}

QString DecodeWindows1251(const QByteArray& bytes) {
    QStringDecoder decoder(kCodePage);
    if (decoder.isValid()) return decoder.decode(bytes);
    return DecodeByTable(bytes);
}

Status SavePatchFile(const QString& fileName, const QStringList& lines) {
    QSaveFile file(fileName);
    const QByteArray bytes = EncodePatchText(lines);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return Status::IoError(
            QCoreApplication::translate("PatchFile", "Не удалось записать файл \"%1\": %2")
                .arg(fileName, file.errorString()));
    }
    return Status::Ok();
}

}  // namespace vorlix
