#include "session/flash_notices.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "settings/settings.h"

namespace vorlix {

namespace {

struct FlashNoticesText {
    Q_DECLARE_TR_FUNCTIONS(FlashNotices)
};

QString Shown(const QString& path) { return QDir::toNativeSeparators(path); }

constexpr std::int64_t kMiB = 0x100000;

// A length as a user thinks of a dump's size: whole mebibytes where it is
// one, else bytes. The context is named: after a std:: constant lupdate
// no longer resolves FlashNoticesText.
QString SizeText(std::int64_t bytes) {
    if (bytes > 0 && bytes % kMiB == 0)
        return QCoreApplication::translate("FlashNotices", "%1 МиБ").arg(bytes / kMiB);
    // The word's form follows the last digits, which a count too large for
    // the translation's int keeps.
    const int form = bytes <= 1000000 ? int(bytes) : int(bytes % 1000) + 1000;
    return QCoreApplication::translate("FlashNotices", "%1 байт", nullptr, form).arg(bytes);
}

}  // namespace

std::optional<QString> RefusalOfFlashFile(const QString& path) {
    const QFileInfo info(path);
    if (!info.exists())
        return FlashNoticesText::tr("Не удалось открыть файл «%1»: такого файла нет.")
            .arg(Shown(path));
    if (info.isDir())
        return FlashNoticesText::tr("«%1» — это папка, а не файл FullFlash.").arg(Shown(path));
    if (!info.isFile())
        return FlashNoticesText::tr("«%1» — не обычный файл, FullFlash из него не читается.")
            .arg(Shown(path));
    if (!info.isReadable())
        return FlashNoticesText::tr("Не удалось открыть файл «%1»: нет прав на его чтение.")
            .arg(Shown(path));
    if (info.size() == 0)
        return FlashNoticesText::tr("Файл «%1» пуст: в нём нет ни одного байта FullFlash.")
            .arg(Shown(path));
    return std::nullopt;
}

QString CannotOpenFlashText(const QString& path, const QString& systemReason) {
    return FlashNoticesText::tr("Не удалось открыть файл «%1»: %2").arg(Shown(path), systemReason);
}

std::optional<QString> FlashCutText(const QString& path, std::int64_t fileSize,
                                    std::int64_t usedBytes) {
    if (fileSize <= usedBytes) return std::nullopt;
    return FlashNoticesText::tr(
               "Файл «%1» (%2) не помещается в образ целиком: используются только его первые "
               "%3, остальное не читается.")
        .arg(Shown(path), SizeText(fileSize), SizeText(usedBytes));
}

std::optional<QString> FlashShortText(const QString& path, std::int64_t fileSize,
                                      std::int64_t flashSize) {
    if (fileSize >= flashSize) return std::nullopt;
    return FlashNoticesText::tr(
               "Файл «%1» (%2) короче флэш-памяти прошивки (%3): не хватает %4. Новые данные "
               "не размещаются за концом файла.")
        .arg(Shown(path), SizeText(fileSize), SizeText(flashSize), SizeText(flashSize - fileSize));
}

std::optional<QString> FlashLongText(const QString& path, std::int64_t fileSize,
                                     const QString& modelName, std::int64_t dumpSize) {
    if (fileSize <= dumpSize) return std::nullopt;
    return FlashNoticesText::tr(
               "Файл «%1» (%2) длиннее дампа %3 (%4): последние %5 не используются.")
        .arg(Shown(path), SizeText(fileSize), modelName, SizeText(dumpSize),
             SizeText(fileSize - dumpSize));
}

QString KnownModelValuesText(const QString& modelAndVersion, const QString& modelName,
                             const Settings& s) {
    return FlashNoticesText::tr(
               "Настройки для данной модели и версии прошивки (%1) не найдены: взяты значения "
               "известной модели %2 (начало "
               "FullFlash %3, картинки до %4×%5), адреса охватывают весь файл.")
        .arg(modelAndVersion, modelName, Hex6(s.FullFlash))
        .arg(s.MaxSizeX)
        .arg(s.MaxSizeY);
}

QString NotRecognisedText(const QString& modelAndVersion) {
    const QString inForce =
        modelAndVersion == Settings::kGeneralKey
            ? FlashNoticesText::tr("Действуют общие настройки (All).")
            : FlashNoticesText::tr("Действуют настройки %1, открытой до этого прошивки.")
                  .arg(modelAndVersion);
    return FlashNoticesText::tr(
               "Прошивка не опознана: блок сведений о сборке не найден, модель и версия "
               "не определены. ") +
           inForce;
}

QString NoPicturesText(const Settings& s, bool scanRecords, const QString& howToCheck) {
    const QString where =
        scanRecords ? FlashNoticesText::tr("поиск по PIT-записям в диапазоне %1–%2")
                          .arg(Hex6(s.PITAdrMin), Hex6(s.PITAdrMax))
                    : FlashNoticesText::tr("поиск по таблицам: sPIT %1, ExtPIT %2")
                          .arg(s.sPITAdr < 0 ? FlashNoticesText::tr("не найден") : Hex6(s.sPITAdr),
                               s.ExtPITAdr == 0 ? FlashNoticesText::tr("нет") : Hex6(s.ExtPITAdr));
    const QString which = s.ModelAndVersion == Settings::kGeneralKey
                              ? FlashNoticesText::tr("общие настройки (All)")
                              : FlashNoticesText::tr("настройки модели %1").arg(s.ModelAndVersion);
    // What to do first: a status bar that is too narrow cuts the details.
    return FlashNoticesText::tr("Картинки не найдены. Проверьте %1 %2 (%3).")
        .arg(which, howToCheck, where);
}

}  // namespace vorlix
