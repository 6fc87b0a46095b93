#include "patch/replacement_size.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImageReader>

#include "patch/batch_replace.h"
#include "picture/picture.h"
#include "session/flash_session.h"
#include "settings/settings.h"

namespace vorlix {

namespace {

struct ReplacementSizeText {
    Q_DECLARE_TR_FUNCTIONS(ReplacementSize)
};

QString SizeText(QSize size) {
    return QStringLiteral("%1×%2").arg(size.width()).arg(size.height());
}

QString Name(const QString& file) { return QFileInfo(file).fileName(); }

// A batch question lists at most this many files, then how many more.
constexpr int kListedFiles = 15;

QString TooLargeConsequence() {
    return ReplacementSizeText::tr(
        "После применения патча программа не найдёт в прошивке картинку больше "
        "наибольшего размера: в списке станет на одну строку меньше.");
}

}  // namespace

QSize PictureFileSize(const QString& file) {
    QImageReader reader(file);
    const QSize declared = reader.size();
    if (declared.isValid()) return declared;
    // Formats whose header does not tell the size are read whole.
    QImage image;
    return reader.read(&image) ? image.size() : QSize();
}

std::optional<SizeWarning> CheckReplacementSize(const Picture& picture, const QString& file,
                                                const Settings& settings) {
    std::optional<SizeWarning> warning =
        CheckReplacementSize(picture, PictureFileSize(file), settings);
    if (warning) warning->file = file;
    return warning;
}

std::optional<SizeWarning> CheckReplacementSize(const Picture& picture, QSize imageSize,
                                                const Settings& settings) {
    SizeWarning warning{QString(), QSize(picture.Width(), picture.Height()), imageSize,
                        QSize(settings.MaxSizeX, settings.MaxSizeY)};
    if (!warning.newSize.isValid() || warning.newSize.isEmpty() ||
        (!warning.Changed() && !warning.TooLarge()))
        return std::nullopt;
    return warning;
}

bool AsksBeforeReplacing(const SizeWarning& warning, const Settings& settings) {
    return warning.TooLarge() || (warning.Changed() && settings.AskSizeChange);
}

std::vector<SizeWarning> BatchSizeWarnings(const FlashSession& session, const QStringList& files) {
    std::vector<SizeWarning> warnings;
    const std::vector<int> rows = MatchBatchFiles(session, files);
    for (qsizetype k = 0; k < files.size(); ++k) {
        const Picture* picture = session.PictureOfRow(rows[static_cast<std::size_t>(k)]);
        if (!picture) continue;
        if (const std::optional<SizeWarning> warning =
                CheckReplacementSize(*picture, files[k], session.settings()))
            warnings.push_back(*warning);
    }
    return warnings;
}

std::vector<SizeWarning> BatchSizeQuestions(const FlashSession& session, const QStringList& files) {
    std::vector<SizeWarning> warnings = BatchSizeWarnings(session, files);
    std::erase_if(warnings, [&](const SizeWarning& w) {
        return !AsksBeforeReplacing(w, session.settings());
    });
    return warnings;
}

QString SizeQuestionCaption() { return ReplacementSizeText::tr("Подтверждение замены картинки"); }

QString SingleSizeQuestion(const SizeWarning& w, const QString& lost) {
    // An image that no file holds is the clipboard's.
    const bool clipboard = w.file.isEmpty();
    QString text;
    if (w.TooLarge()) {
        text = (clipboard ? ReplacementSizeText::tr(
                                "Картинка в буфере обмена имеет размер %1, а наибольший размер "
                                "картинки для этой модели — %2.")
                                .arg(SizeText(w.newSize), SizeText(w.maxSize))
                          : ReplacementSizeText::tr(
                                "Картинка в файле «%1» имеет размер %2, а наибольший размер "
                                "картинки для этой модели — %3.")
                                .arg(Name(w.file), SizeText(w.newSize), SizeText(w.maxSize))) +
               QLatin1Char('\n') + (lost.isEmpty() ? TooLargeConsequence() : lost) +
               QLatin1Char('\n');
        if (w.Changed())
            text += ReplacementSizeText::tr("Сейчас картинка имеет размер %1.")
                        .arg(SizeText(w.oldSize)) +
                    QLatin1Char('\n');
    } else {
        text = (clipboard ? ReplacementSizeText::tr(
                                "Картинка в буфере обмена имеет размер %1, а заменяемая картинка "
                                "— %2.\nТелефон рисует большинство картинок в отведённом им месте "
                                "экрана.")
                                .arg(SizeText(w.newSize), SizeText(w.oldSize))
                          : ReplacementSizeText::tr(
                                "Картинка в файле «%1» имеет размер %2, а заменяемая картинка — "
                                "%3.\nТелефон рисует большинство картинок в отведённом им месте "
                                "экрана.")
                                .arg(Name(w.file), SizeText(w.newSize), SizeText(w.oldSize))) +
               QLatin1Char('\n');
    }
    return text + ReplacementSizeText::tr("Заменить картинку?");
}

QString SizeWarningList(const std::vector<SizeWarning>& warnings, const QString& lost) {
    QStringList lines;
    bool tooLarge = false;
    for (std::size_t i = 0; i < warnings.size(); ++i) {
        const SizeWarning& w = warnings[i];
        tooLarge = tooLarge || w.TooLarge();
        if (i >= kListedFiles) continue;
        QString line = ReplacementSizeText::tr("%1: %2 вместо %3")
                           .arg(Name(w.file), SizeText(w.newSize), SizeText(w.oldSize));
        if (w.TooLarge())
            line += ReplacementSizeText::tr(", больше наибольшего %1").arg(SizeText(w.maxSize));
        lines << line;
    }
    if (warnings.size() > kListedFiles)
        lines << ReplacementSizeText::tr("и ещё файлов: %1").arg(warnings.size() - kListedFiles);
    if (tooLarge) lines << (lost.isEmpty() ? TooLargeConsequence() : lost);
    return lines.join(QLatin1Char('\n'));
}

QString BatchSizeQuestion(const std::vector<SizeWarning>& warnings, const QString& lost) {
    return ReplacementSizeText::tr("Размер картинок в этих файлах не подходит:") +
           QLatin1Char('\n') + SizeWarningList(warnings, lost) + QStringLiteral("\n\n") +
           ReplacementSizeText::tr(
               "«Да» — заменить все картинки, «Нет» — пропустить эти файлы, «Отмена» — не "
               "заменять ничего.");
}

QString SizeChangeNote(const SizeWarning& w) {
    return ReplacementSizeText::tr("Размер картинки изменён: %1 → %2")
        .arg(SizeText(w.oldSize), SizeText(w.newSize));
}

}  // namespace vorlix
