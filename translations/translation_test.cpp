// The English translation: the committed file is what lupdate makes of the
// sources, every text of it is translated, the translations keep what the
// program fills in, no text a user sees bypasses the translation, and the
// translation built into the program is the one installed.
#include "translations/translation.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <map>
#include <vector>

#include "common/prompt.h"

using namespace vorlix;

namespace {

struct Message {
    QString context;
    QString source;
    QString translation;  // of a plural text: its first form
    bool finished = true;
    bool numerus = false;
    QStringList forms;  // the forms of a plural text, one per count class
};

std::vector<Message> ReadTs(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    std::vector<Message> messages;
    QXmlStreamReader xml(&file);
    QString context;
    Message message;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement) continue;
        if (xml.name() == QLatin1String("name")) {
            context = xml.readElementText();
        } else if (xml.name() == QLatin1String("message")) {
            message = Message{context, {}, {}, true, false, {}};
            message.numerus =
                xml.attributes().value(QLatin1String("numerus")) == QLatin1String("yes");
        } else if (xml.name() == QLatin1String("source")) {
            message.source = xml.readElementText();
        } else if (xml.name() == QLatin1String("translation")) {
            message.finished = xml.attributes().value(QLatin1String("type")).isEmpty();
            if (message.numerus) {
                while (xml.readNextStartElement())
                    if (xml.name() == QLatin1String("numerusform"))
                        message.forms << xml.readElementText();
                message.translation = message.forms.value(0);
            } else {
                message.translation = xml.readElementText();
            }
            messages.push_back(message);
        }
    }
    EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
    return messages;
}

// lupdate runs on the build machine; a test built for another system (the
// Windows programs, cross-built) cannot run it and leaves the check that the
// committed file is up to date to the native build.
bool LupdateRuns() { return !QStringLiteral(VORLIX_LUPDATE).isEmpty(); }

// A committed file brought up to date with the sources, in a copy (the
// committed file itself where lupdate cannot run); the Russian file takes
// the plural texts only.
class UpdatedTs {
  public:
    explicit UpdatedTs(const QString& committed, bool pluralOnly = false) {
        if (!LupdateRuns()) {
            path_ = committed;
            return;
        }
        const QString copy = dir_.filePath(QFileInfo(committed).fileName());
        EXPECT_TRUE(QFile::copy(committed, copy));
        QStringList args = QString::fromUtf8(VORLIX_LUPDATE_OPTIONS).split(QLatin1Char(' '));
        if (pluralOnly) args << QStringLiteral("-pluralonly");
        args << QStringLiteral("@" VORLIX_SOURCES_LIST) << QStringLiteral("-ts") << copy;
        QProcess lupdate;
        lupdate.start(QStringLiteral(VORLIX_LUPDATE), args);
        EXPECT_TRUE(lupdate.waitForFinished(120000));
        EXPECT_EQ(lupdate.exitCode(), 0);
        // A warning means a context lupdate could not work out (a class it
        // lost track of): the text would land under a context the program
        // never asks for, and stay untranslated.
        EXPECT_EQ(lupdate.readAllStandardError().toStdString(), "")
            << "name the context: QCoreApplication::translate(\"Context\", ...)";
        path_ = copy;
    }
    const QString& path() const { return path_; }

  private:
    QTemporaryDir dir_;
    QString path_;
};

const UpdatedTs& Updated() {
    static const UpdatedTs updated(QStringLiteral(VORLIX_TS_FILE));
    return updated;
}

const UpdatedTs& UpdatedPlural() {
    static const UpdatedTs updated(QStringLiteral(VORLIX_PLURAL_TS_FILE), true);
    return updated;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::string Shown(const Message& m) {
    return (m.context + QStringLiteral(": \"") + m.source + QLatin1Char('"')).toStdString();
}

// Letters that only Russian or Czech texts have: a literal holding one is a
// text of the program's original languages.
bool OriginalLetters(const QString& text) {
    static const QString czech = QStringLiteral("áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ");
    for (const QChar c : text)
        if ((c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) || czech.contains(c)) return true;
    return false;
}

bool Cyrillic(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) return true;
    return false;
}

// The string literals of a C++ source, adjacent ones joined as the
// compiler joins them, with their escapes read; comments and character
// literals are passed over.
class LiteralScanner {
  public:
    explicit LiteralScanner(QString text) : s_(std::move(text)) {}

    QStringList Literals() {
        QStringList found;
        while (i_ < s_.size()) {
            if (SkipCommentOrSpace()) continue;
            if (AtString()) {
                QString joined = ReadString();
                for (;;) {
                    while (i_ < s_.size() && SkipCommentOrSpace()) {
                    }
                    if (!AtString()) break;
                    joined += ReadString();
                }
                found << joined;
                continue;
            }
            if (s_[i_] == QLatin1Char('\'')) {
                SkipCharLiteral();
                continue;
            }
            ++i_;
        }
        return found;
    }

  private:
    bool SkipCommentOrSpace() {
        if (i_ >= s_.size()) return false;
        if (s_[i_].isSpace()) {
            ++i_;
            return true;
        }
        if (s_.mid(i_, 2) == QLatin1String("//")) {
            const qsizetype end = s_.indexOf(QLatin1Char('\n'), i_);
            i_ = end < 0 ? s_.size() : end;
            return true;
        }
        if (s_.mid(i_, 2) == QLatin1String("/*")) {
            const qsizetype end = s_.indexOf(QLatin1String("*/"), i_ + 2);
            i_ = end < 0 ? s_.size() : end + 2;
            return true;
        }
        return false;
    }

    // A string literal with its prefix (u8, u, U, L, R), not the end of an
    // identifier.
    bool AtString() {
        qsizetype j = i_;
        while (j < s_.size() && j - i_ < 3 && QStringLiteral("u8ULR").contains(s_[j])) ++j;
        if (j >= s_.size() || s_[j] != QLatin1Char('"')) return false;
        if (i_ > 0 && (s_[i_ - 1].isLetterOrNumber() || s_[i_ - 1] == QLatin1Char('_')) && j > i_)
            return false;
        prefixRaw_ = s_.mid(i_, j - i_).contains(QLatin1Char('R'));
        i_ = j;
        return true;
    }

    QString ReadString() {
        ++i_;  // the opening quote
        if (prefixRaw_) {
            const qsizetype open = s_.indexOf(QLatin1Char('('), i_);
            const QString end = QLatin1Char(')') + s_.mid(i_, open - i_) + QLatin1Char('"');
            const qsizetype close = s_.indexOf(end, open);
            const QString text = s_.mid(open + 1, close - open - 1);
            i_ = close + end.size();
            return text;
        }
        QString text;
        while (i_ < s_.size() && s_[i_] != QLatin1Char('"')) {
            if (s_[i_] == QLatin1Char('\\') && i_ + 1 < s_.size()) {
                const QChar e = s_[i_ + 1];
                text += e == QLatin1Char('n')   ? QChar(QLatin1Char('\n'))
                        : e == QLatin1Char('t') ? QChar(QLatin1Char('\t'))
                                                : e;
                i_ += 2;
                continue;
            }
            text += s_[i_++];
        }
        ++i_;  // the closing quote
        return text;
    }

    void SkipCharLiteral() {
        ++i_;
        while (i_ < s_.size() && s_[i_] != QLatin1Char('\''))
            i_ += s_[i_] == QLatin1Char('\\') ? 2 : 1;
        ++i_;
    }

    QString s_;
    qsizetype i_ = 0;
    bool prefixRaw_ = false;
};

QStringList SourceFiles() {
    QStringList files;
    for (const QString& line : QString::fromUtf8(ReadAll(QStringLiteral(VORLIX_SOURCES_LIST)))
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1String("-I"))) files << line;
    return files;
}

// The texts left untranslated on purpose, one a line without the blanks
// around it; '#' starts a comment.
QSet<QString> Untranslated() {
    QSet<QString> texts;
    for (const QString& line : QString::fromUtf8(ReadAll(QStringLiteral(VORLIX_UNTRANSLATED)))
                                   .split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        if (!line.startsWith(QLatin1Char('#'))) texts << line.trimmed();
    return texts;
}

}  // namespace

// A developer who added, changed or removed a text runs
// `ninja update_translations` and translates what it added.
TEST(Translation, CommittedFileIsUpToDateWithTheSources) {
    if (!LupdateRuns()) GTEST_SKIP() << "lupdate runs on the build machine only";
    const QByteArray committed = ReadAll(QStringLiteral(VORLIX_TS_FILE));
    ASSERT_FALSE(committed.isEmpty());
    if (ReadAll(Updated().path()) == committed) return;
    std::map<std::pair<QString, QString>, int> count;
    for (const Message& m : ReadTs(QStringLiteral(VORLIX_TS_FILE))) --count[{m.context, m.source}];
    for (const Message& m : ReadTs(Updated().path())) ++count[{m.context, m.source}];
    std::string changes;
    for (const auto& [key, n] : count)
        if (n != 0)
            changes +=
                (n > 0 ? "\n  new: " : "\n  gone: ") +
                (key.first + QStringLiteral(": \"") + key.second + QLatin1Char('"')).toStdString();
    ADD_FAILURE() << "translations/vorlix_en.ts is not what lupdate makes of the sources; run "
                     "`ninja update_translations` and translate the new texts."
                  << changes;
}

TEST(Translation, EveryTextHasAFinishedTranslation) {
    const std::vector<Message> messages = ReadTs(Updated().path());
    ASSERT_GT(messages.size(), 300u);
    for (const Message& m : messages) {
        EXPECT_TRUE(m.finished && !m.translation.isEmpty()) << "not translated: " << Shown(m);
        // English: one thing, many things.
        if (m.numerus) {
            EXPECT_TRUE(m.forms.size() == 2 && !m.forms.contains(QString())) << Shown(m);
        }
    }
}

// The original interface counts in Russian: every plural text of the
// sources is in vorlix_ru.ts, up to date, with its three forms (1, 2-4, 5
// and more: картинка, картинки, картинок), the many-things form being the
// source text itself.
TEST(Translation, RussianFileGivesEveryPluralTextItsThreeForms) {
    const QByteArray committed = ReadAll(QStringLiteral(VORLIX_PLURAL_TS_FILE));
    ASSERT_FALSE(committed.isEmpty());
    EXPECT_EQ(ReadAll(UpdatedPlural().path()), committed)
        << "translations/vorlix_ru.ts is not what lupdate makes of the sources; run "
           "`ninja update_translations` and give the new texts their three forms.";
    const std::vector<Message> messages = ReadTs(UpdatedPlural().path());
    int numerusInEnglish = 0;
    for (const Message& m : ReadTs(QStringLiteral(VORLIX_TS_FILE))) numerusInEnglish += m.numerus;
    EXPECT_EQ(int(messages.size()), numerusInEnglish);
    for (const Message& m : messages) {
        EXPECT_TRUE(m.numerus && m.finished) << Shown(m);
        ASSERT_EQ(m.forms.size(), 3) << Shown(m);
        EXPECT_FALSE(m.forms.contains(QString())) << Shown(m);
        EXPECT_EQ(m.forms[2], m.source) << Shown(m);
    }
}

// What the program fills in or splits must survive the translation: the
// numbered places of arguments, the fields of a file dialog's filter, the
// line breaks of a message; and no Russian stays behind.
TEST(Translation, TranslationsKeepWhatTheProgramFillsIn) {
    static const QRegularExpression place(QStringLiteral("%(\\d+)"));
    const auto places = [](const QString& text) {
        QStringList found;
        for (const QRegularExpressionMatch& m : place.globalMatch(text)) found << m.captured(1);
        found.sort();
        found.removeDuplicates();
        return found;
    };
    std::vector<Message> english = ReadTs(QStringLiteral(VORLIX_TS_FILE));
    for (const Message& m : std::vector<Message>(english)) {
        // Each further form of a plural text keeps the same places.
        for (qsizetype f = 1; f < m.forms.size(); ++f) {
            Message form = m;
            form.translation = m.forms[f];
            english.push_back(form);
        }
    }
    for (const Message& m : english) {
        if (m.translation.isEmpty()) continue;
        EXPECT_EQ(places(m.source), places(m.translation)) << Shown(m);
        EXPECT_EQ(m.source.contains(QLatin1String("%n")),
                  m.translation.contains(QLatin1String("%n")))
            << Shown(m);
        EXPECT_EQ(m.source.count(QLatin1Char('|')), m.translation.count(QLatin1Char('|')))
            << Shown(m);
        EXPECT_EQ(m.source.startsWith(QLatin1Char(' ')), m.translation.startsWith(QLatin1Char(' ')))
            << Shown(m);
        EXPECT_EQ(m.source.endsWith(QLatin1Char(' ')), m.translation.endsWith(QLatin1Char(' ')))
            << Shown(m);
        EXPECT_FALSE(Cyrillic(m.translation)) << Shown(m);
    }
}

// Every Russian or Czech literal of the programs' sources is a source text
// of the translation, or one left as it is on purpose (written into files,
// read by programs), listed with its reason in translations/untranslated.txt.
TEST(Translation, NoOriginalTextBypassesTheTranslation) {
    QSet<QString> sources;
    for (const Message& m : ReadTs(Updated().path())) sources << m.source;
    const QSet<QString> untranslated = Untranslated();
    const QStringList files = SourceFiles();
    ASSERT_GT(files.size(), 50);
    QSet<QString> used;
    for (const QString& file : files) {
        for (const QString& literal : LiteralScanner(QString::fromUtf8(ReadAll(file))).Literals()) {
            if (!OriginalLetters(literal)) continue;
            if (untranslated.contains(literal.trimmed())) {
                used << literal.trimmed();
                continue;
            }
            EXPECT_TRUE(sources.contains(literal))
                << QFileInfo(file).fileName().toStdString() << ": \"" << literal.toStdString()
                << "\" is shown without translation; wrap it in tr() or "
                   "QCoreApplication::translate()";
        }
    }
    for (const QString& text : untranslated)
        EXPECT_TRUE(used.contains(text))
            << "untranslated.txt names a text no source has: \"" << text.toStdString() << '"';
}

TEST(Translation, BuiltInTranslationIsInstalled) {
    int argc = 1;
    char name[] = "translation_tests";
    char* argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);

    EXPECT_EQ(kCaptionError.text(), QStringLiteral("Ошибка"));
    ASSERT_TRUE(InstallTranslation(UiLanguage::English, false));
    EXPECT_EQ(kCaptionError.text(), QStringLiteral("Error"));
    EXPECT_EQ(QString(kCaptionWarning), QStringLiteral("Warning"));
    EXPECT_EQ(QCoreApplication::translate("vorlix::TForm1", "Otevřít FF"),
              QStringLiteral("Open FF"));

    EXPECT_EQ(QCoreApplication::translate("vorlix::TForm1", "Найдено %n картинок", nullptr, 1),
              QStringLiteral("1 picture found"));

    // Back to the original texts: the program's own translation goes.
    InstallTranslation(UiLanguage::Original, false);
    EXPECT_EQ(kCaptionError.text(), QStringLiteral("Ошибка"));
    EXPECT_EQ(QCoreApplication::translate("vorlix::TForm1", "Otevřít FF"),
              QStringLiteral("Otevřít FF"));
    EXPECT_EQ(QCoreApplication::translate("vorlix::TForm1", "Найдено %n картинок", nullptr, 2),
              QStringLiteral("Найдено 2 картинок"));

    // The window's original texts count in Russian forms: 1, 2-4, 5-20, 21.
    InstallTranslation(UiLanguage::Original, true);
    const auto found = [](int n) {
        return QCoreApplication::translate("vorlix::TForm1", "Найдено %n картинок", nullptr, n);
    };
    EXPECT_EQ(found(1), QStringLiteral("Найдена 1 картинка"));
    EXPECT_EQ(found(3), QStringLiteral("Найдены 3 картинки"));
    EXPECT_EQ(found(11), QStringLiteral("Найдено 11 картинок"));
    EXPECT_EQ(found(21), QStringLiteral("Найдена 21 картинка"));
    EXPECT_EQ(found(0), QStringLiteral("Найдено 0 картинок"));
    InstallTranslation(UiLanguage::Original, false);
}
