#include "session/row_filter.h"

#include <QRegularExpression>

#include "image/picture_types.h"
#include "session/pit_name.h"

namespace vorlix {

namespace {

// -1 for "*", else the number.
int SizePart(const QString& text) { return text == QLatin1String("*") ? -1 : text.toInt(); }

}  // namespace

RowFilter::RowFilter(const QString& text) {
    static const QRegularExpression blanks(QStringLiteral("\\s+"));
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    const QStringList words = text.split(blanks, Qt::SkipEmptyParts);
    for (int i = 0; i < words.size(); ++i) {
        // "16 bit" is typed often enough to mean "16bit".
        const bool bitsFollow =
            i + 1 < words.size() &&
            (words[i + 1].compare(QLatin1String("bit"), Qt::CaseInsensitive) == 0 ||
             words[i + 1].compare(QLatin1String("bits"), Qt::CaseInsensitive) == 0);
        if (bitsFollow && number.match(words[i]).hasMatch()) {
            terms_.push_back(Parse(words[i] + QLatin1String("bit")));
            ++i;
        } else {
            terms_.push_back(Parse(words[i]));
        }
    }
}

RowFilter::Term RowFilter::Parse(const QString& word) {
    static const QRegularExpression size(
        QStringLiteral("^(\\d+|\\*)[xX\\x{0445}\\x{0425}\\x{00D7}](\\d+|\\*)$"));
    static const QRegularExpression depth(QStringLiteral("^(\\d+)bits?$"),
                                          QRegularExpression::CaseInsensitiveOption);
    Term term;
    const QString lower = word.toLower();
    if (lower == QLatin1String("modified") || lower == QLatin1String("modifyed")) {
        term.kind = Term::Modified;
    } else if (lower == QLatin1String("compressed")) {
        term.kind = Term::Compressed;
    } else if (const QRegularExpressionMatch m = size.match(word); m.hasMatch()) {
        term.kind = Term::Size;
        term.width = SizePart(m.captured(1));
        term.height = SizePart(m.captured(2));
    } else if (const QRegularExpressionMatch d = depth.match(word); d.hasMatch()) {
        term.kind = Term::Depth;
        term.depth = d.captured(1).toInt();
    } else {
        term.text = word.toUpper();
        if (term.text.startsWith(QLatin1String("0X")) && term.text.size() > 2)
            term.text.remove(0, 2);
    }
    return term;
}

bool RowFilter::Matches(const FlashSession& session, int row) const {
    if (terms_.empty()) return true;
    const Picture* picture = session.PictureOfRow(row);
    if (!picture) return false;
    for (const Term& term : terms_)
        if (!Matches(term, *picture, session.settings())) return false;
    return true;
}

bool RowFilter::Matches(const Term& term, const Picture& picture, const Settings& settings) {
    switch (term.kind) {
        case Term::Modified:
            return picture.Modified;
        case Term::Compressed:
            return (picture.Type() & kCompressed) != 0;
        case Term::Size:
            return (term.width < 0 || picture.Width() == term.width) &&
                   (term.height < 0 || picture.Height() == term.height);
        case Term::Depth:
            return picture.Depth == term.depth;
        case Term::Text:
            return PitText(picture, settings).contains(term.text, Qt::CaseInsensitive) ||
                   DataText(picture, settings).contains(term.text, Qt::CaseInsensitive);
    }
    return false;
}

}  // namespace vorlix
