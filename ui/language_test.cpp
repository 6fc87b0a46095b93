// The interface's language: the window, its dialogs and Qt's own buttons in
// English with the translation installed, in the original words (and Qt's
// own in Russian) without it, and the settings dialog that chooses it.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTreeView>
#include <memory>

#include "translations/translation.h"
#include "ui/Unit3.h"
#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

bool Cyrillic(const QString& text) {
    for (const QChar c : text)
        if (c.unicode() >= 0x0400 && c.unicode() <= 0x04FF) return true;
    return false;
}

QString YesButtonText() {
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
    return box.button(QMessageBox::Yes)->text();
}

QStringList ContextMenuTexts(QPlainTextEdit* edit) {
    const std::unique_ptr<QMenu> menu(edit->createStandardContextMenu());
    QStringList texts;
    for (const QAction* a : menu->actions())
        if (!a->isSeparator()) texts << a->text();
    return texts;
}

// Texts of the window's buttons, boxes and labels that do not fit their
// controls at the window's present size.
QStringList CutCaptions(QWidget& window) {
    QStringList cut;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (!w->isVisible()) continue;
        QString text;
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !b->text().isEmpty())
            text = b->text();
        else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty())
            text = l->text();
        else
            continue;
        if (w->sizeHint().width() > w->width())
            cut << QStringLiteral("%1 \"%2\": %3 of %4")
                       .arg(w->objectName(), text)
                       .arg(w->width())
                       .arg(w->sizeHint().width());
    }
    return cut;
}

void Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(20);
    }
}

}  // namespace

class LanguageTest : public QObject {
    Q_OBJECT
  private slots:
    void cleanup() { InstallTranslation(UiLanguage::Original, false); }
    void englishWindowAndDialogs();
    void originalWordsWithQtInRussian();
    void settingsDialogChoosesTheLanguage();
    void countsTakeTheirPluralForms();
};

void LanguageTest::englishWindowAndDialogs() {
    QVERIFY(InstallTranslation(UiLanguage::English, true));
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    Settle();

    // Captions, the Czech ones among them, and the list's columns.
    QCOMPARE(w.windowTitle(), QStringLiteral("Vorlix Editor"));
    QCOMPARE(w.Open->text(), QStringLiteral("Open FF"));
    QCOMPARE(w.Refresh->text(), QStringLiteral("Reload FF"));
    QCOMPARE(w.Button1->text(), QStringLiteral("Settings"));
    QCOMPARE(w.CheckBox1->text(), QStringLiteral("Automatic names when saving"));
    QCOMPARE(w.RadioGroup1->title(), QStringLiteral("Bits"));
    QCOMPARE(w.LoadPicture1->text(), QStringLiteral("Open and insert a picture"));
    QCOMPARE(w.BatchLoad1->toolTip(), QStringLiteral("Batch load of pictures"));
    QCOMPARE(w.SavePatch1->toolTip(), QStringLiteral("Save vkp patch (Ctrl+S)"));
    QCOMPARE(w.ViewTabs->tabText(1), QStringLiteral("Gallery"));
    QCOMPARE(w.model().headerData(0, Qt::Horizontal).toString(), QStringLiteral("No."));
    QCOMPARE(w.model().headerData(ColModified, Qt::Horizontal).toString(),
             QStringLiteral("Modified"));
    QCOMPARE(w.Label8->text(), QStringLiteral("Made by: ") + w.settings().VersionText);
    QCOMPARE(w.Form3->windowTitle(), QStringLiteral("Settings"));
    QCOMPARE(w.Form3->LanguageBox->itemText(0), QStringLiteral("Original"));

    // At the designed size every caption has its room.
    QCOMPARE(w.size(), QSize(778, 540));
    QCOMPARE(CutCaptions(w), QStringList());

    // Status texts, messages and file dialogs.
    w.Save1Click();
    QCOMPARE(w.StatusText(2), QStringLiteral("No FullFlash open"));
    const QString missing = folder.dir.filePath(QStringLiteral("missing.fls"));
    w.OpenFullFlash(missing);
    QCOMPARE(run.dialogs.prompt().shown().size(), std::size_t(1));
    QCOMPARE(run.dialogs.prompt().shown()[0].caption, QStringLiteral("Error"));
    QCOMPARE(run.dialogs.prompt().shown()[0].text,
             QStringLiteral("Could not open the file “%1”: there is no such file.")
                 .arg(QDir::toNativeSeparators(missing)));
    w.OpenClick();
    QCOMPARE(run.dialogs.fileDialogsShown.back().filter,
             QStringLiteral("Full Flash (*.fls *bin);;All files (*.*)"));

    // Qt's own texts are its English ones.
    QCOMPARE(YesButtonText(), QStringLiteral("&Yes"));
    for (const QString& text : ContextMenuTexts(w.Memo1))
        QVERIFY2(!Cyrillic(text), qPrintable(text));
}

void LanguageTest::originalWordsWithQtInRussian() {
    // The set-up scripts install Debian's translations of Qt.
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) +
                       QStringLiteral("/qtbase_ru.qm")))
        QSKIP("Qt's Russian translation (qt6-translations-l10n) is not installed");
    QVERIFY(InstallTranslation(UiLanguage::Original, true));
    TestFolder folder;
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();

    QCOMPARE(w.Open->text(), QStringLiteral("Otevřít FF"));
    QCOMPARE(w.model().headerData(ColModified, Qt::Horizontal).toString(),
             QStringLiteral("Modifyed"));
    w.Save1Click();
    QCOMPARE(w.StatusText(2), QStringLiteral("FullFlash не открыт"));

    // Qt's own buttons and menus speak Russian too.
    QCOMPARE(YesButtonText(), QStringLiteral("&Да"));
    const QStringList menu = ContextMenuTexts(w.Memo1);
    QVERIFY(!menu.isEmpty());
    for (const QString& text : menu) QVERIFY2(Cyrillic(text), qPrintable(text));

    // Back to the original words alone: Qt's English returns.
    QVERIFY(InstallTranslation(UiLanguage::Original, false));
    QCOMPARE(YesButtonText(), QStringLiteral("&Yes"));
}

// The choice is a program setting: the dialog shows it and OK takes it,
// Cancel leaves it, a value the program does not know shows as the
// original, and a reset of the program settings keeps it.
void LanguageTest::settingsDialogChoosesTheLanguage() {
    TestFolder folder;
    SettingsStore store(folder.Ini());
    ScriptedPrompt prompt(Answer::Yes);
    Settings settings(store);
    QVERIFY(settings.LoadProgramSettings(prompt).ok());
    QVERIFY(settings.LoadModelSettings().ok());
    TForm3 form(settings, prompt);
    QComboBox* box = form.LanguageBox;

    form.show();
    QCOMPARE(box->currentText(), QStringLiteral("Исходный"));
    QCOMPARE(box->itemText(1), QStringLiteral("English"));
    box->setCurrentIndex(1);
    form.Button2->click();
    QCOMPARE(settings.Language, QStringLiteral("original"));

    form.show();
    QCOMPARE(box->currentIndex(), 0);
    box->setCurrentIndex(1);
    form.Button1->click();
    QCOMPARE(settings.Language, QStringLiteral("en"));
    QVERIFY(settings.SaveProgramSettings().ok());
    QCOMPARE(StoredLanguage(store), UiLanguage::English);

    form.show();
    QCOMPARE(box->currentIndex(), 1);
    form.SetDefault->click();
    QCOMPARE(settings.Language, QStringLiteral("en"));
    QCOMPARE(StoredLanguage(store), UiLanguage::English);

    settings.Language = QStringLiteral("tlh");
    form.show();
    QCOMPARE(box->currentIndex(), 0);
    form.Button1->click();
    QCOMPARE(settings.Language, QStringLiteral("original"));
}

// The counts the window shows agree with their number in both languages.
void LanguageTest::countsTakeTheirPluralForms() {
    TestFolder folder;
    const QString three = folder.Write(ManyPictures(3), QStringLiteral("three.fls"));
    const QString one = folder.Write(ManyPictures(1), QStringLiteral("one.fls"));
    const auto counts = [&](const QString& path) {
        ProgramRun run(folder.Ini());
        TForm1& w = run.Start();
        w.OpenFullFlash(path);
        return WaitForSearch(w) ? w.StatusText(1) : QString();
    };
    InstallTranslation(UiLanguage::Original, true);
    QCOMPARE(counts(three), QStringLiteral("Всего 3 картинки, из них 3 в PIT и 0 в ExtPIT"));
    QCOMPARE(counts(one), QStringLiteral("Всего 1 картинка, из них 1 в PIT и 0 в ExtPIT"));
    InstallTranslation(UiLanguage::English, true);
    QCOMPARE(counts(one), QStringLiteral("1 picture in all, 1 in PIT and 0 in ExtPIT"));
    QCOMPARE(counts(three), QStringLiteral("3 pictures in all, 3 in PIT and 0 in ExtPIT"));
}

QTEST_MAIN(LanguageTest)
#include "language_test.moc"
