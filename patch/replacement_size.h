#pragma once

#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace vorlix {

class FlashSession;
class Picture;
class Settings;

// What replacing a picture by a file does to the picture's size.
struct SizeWarning {
    QString file;   // the picture file, as given; empty for the clipboard's image
    QSize oldSize;  // the picture's size now
    QSize newSize;  // the size of the file's picture
    QSize maxSize;  // MaxSizeX x MaxSizeY of the model

    // Larger than the model's maximum: the record test would refuse the new
    // record, so that after the patch this program's own search would no
    // longer find the picture.
    bool TooLarge() const {
        return newSize.width() > maxSize.width() || newSize.height() > maxSize.height();
    }
    bool Changed() const { return newSize != oldSize; }
};

// The size of the picture in a file, read from its header where the format
// tells it; invalid when the file cannot be read as a picture.
QSize PictureFileSize(const QString& file);

// The warning for replacing `picture` by `file`: none when the sizes are
// equal or the file's size cannot be read (the load itself reports such a
// file).
std::optional<SizeWarning> CheckReplacementSize(const Picture& picture, const QString& file,
                                                const Settings& settings);

// The same for an image that no file holds (the clipboard's).
std::optional<SizeWarning> CheckReplacementSize(const Picture& picture, QSize imageSize,
                                                const Settings& settings);

// True when the replacement waits for the user's word: always for a
// picture larger than the model's maximum, for another size only when
// AskSizeChange is set.
bool AsksBeforeReplacing(const SizeWarning& warning, const Settings& settings);

// The warnings of the files of a batch in their order, each file matched to
// its picture as the batch replacement matches it.
std::vector<SizeWarning> BatchSizeWarnings(const FlashSession& session, const QStringList& files);
// Of these, the warnings that ask.
std::vector<SizeWarning> BatchSizeQuestions(const FlashSession& session, const QStringList& files);

// "Подтверждение замены картинки".
QString SizeQuestionCaption();
// The question before one picture is replaced (Yes replaces it). `lost`,
// when given, names the pictures that a too large one takes out of the
// list (LostPicturesText); else a general line says what follows.
QString SingleSizeQuestion(const SizeWarning& warning, const QString& lost = {});
// One line per file ("name: 120×90 вместо 24×20, больше наибольшего
// 101×80"), and a closing line on what a too large picture leads to
// (`lost` when given).
QString SizeWarningList(const std::vector<SizeWarning>& warnings, const QString& lost = {});
// The question before a batch: Yes replaces every picture, No passes over
// the listed files, Cancel replaces nothing.
QString BatchSizeQuestion(const std::vector<SizeWarning>& warnings, const QString& lost = {});
// A status text for a picture whose size changed without a question.
QString SizeChangeNote(const SizeWarning& warning);

}  // namespace vorlix
