#include "ui/Unit3.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

// The settings of a first run and the dialog over them.
struct DialogRun {
    explicit DialogRun(const QString& ini) : store(ini), settings(store), form(settings, prompt) {
        QVERIFY(settings.LoadProgramSettings(prompt).ok());
        QVERIFY(settings.LoadModelSettings().ok());
        prompt.Clear();
    }
    SettingsStore store;
    ScriptedPrompt prompt;
    Settings settings;
    TForm3 form;
};

QStringList Texts(const TForm3& f) {
    QStringList texts;
    for (const QLineEdit* e : {f.ModelAndVersionEdit, f.FullFlashEdit, f.PITAdrMinEdit,
                               f.PITAdrMaxEdit, f.PictureAdrMinEdit, f.PictureAdrMaxEdit,
                               f.PlaceAdrMinEdit, f.PlaceAdrMaxEdit, f.MaxSizeXEdit, f.MaxSizeYEdit,
                               f.sPITAdrEdit, f.ExtPITAdrEdit, f.PatchMaxLengthEdit, f.AuthorName})
        texts << e->text();
    return texts;
}

}  // namespace

class Unit3Test : public QObject {
    Q_OBJECT
  private slots:
    void showsTheSettings();
    void okConvertsAndStopsAtTheFirstError();
    void setDefaultResetsTheProgramSettings();
    void publicSettingsResetsTheModelSettings();
    void marksAnUncheckedPlacementArea();
};

// A placement area that takes in the whole open file (a new firmware's) is
// marked as not yet checked, as typed; without an open file nothing is.
void Unit3Test::marksAnUncheckedPlacementArea() {
    TestFolder folder;
    DialogRun run(folder.Ini());
    TForm3& f = run.form;
    run.settings.PlaceAdrMin = 0;
    run.settings.PlaceAdrMax = 0x800000;
    f.SetFileSize(0x800000);
    f.show();
    QVERIFY(f.PlaceAreaNote->isVisible());
    QVERIFY(f.PlaceAreaNote->text().startsWith(QStringLiteral("Не проверено")));
    f.PlaceAdrMinEdit->setText(QStringLiteral("5E2000"));
    QVERIFY(!f.PlaceAreaNote->isVisible());
    f.PlaceAdrMinEdit->setText(QStringLiteral("0"));
    QVERIFY(f.PlaceAreaNote->isVisible());
    f.hide();
    f.SetFileSize(0);
    f.show();
    QVERIFY(!f.PlaceAreaNote->isVisible());
}

void Unit3Test::showsTheSettings() {
    TestFolder folder;
    DialogRun run(folder.Ini());
    TForm3& f = run.form;
    f.show();
    QCOMPARE(f.windowTitle(), QStringLiteral("Настройки"));
    // At least the designed size; larger only where the fonts need it.
    QVERIFY(f.width() >= 551 && f.height() >= 399);
    QCOMPARE(f.minimumSize(), f.maximumSize());
    QCOMPARE(Texts(f),
             (QStringList{"All", "800000", "660000", "680000", "000000", "680000", "5E2000",
                          "600000", "101", "80", "C4625C", "E7F856", "27", ""}));
    QCOMPARE(f.RadioGroup1ItemIndex(), 0);
    QVERIFY(!f.PlainPatchBox->isChecked());
    f.hide();

    // Without an sPIT structure the search goes by records, in the settings
    // themselves; OK keeps the negative address.
    run.settings.sPITAdr = -5;
    f.show();
    QCOMPARE(f.sPITAdrEdit->text(), QStringLiteral("FFFFFFFB"));
    QCOMPARE(f.RadioGroup1ItemIndex(), 1);
    QVERIFY(run.settings.SearchType);
    f.Button1->click();
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QCOMPARE(run.settings.sPITAdr, -5);
    QCOMPARE(run.settings.FullFlash, 0x800000);
    QVERIFY(run.prompt.shown().empty());
}

void Unit3Test::okConvertsAndStopsAtTheFirstError() {
    TestFolder folder;
    DialogRun run(folder.Ini());
    TForm3& f = run.form;
    Settings& s = run.settings;
    f.FormShow();
    f.FullFlashEdit->setText("7FFFFF");
    f.MaxSizeXEdit->setText(" 0x65");
    f.AuthorName->setText("Modder");
    f.Button1Click();
    QCOMPARE(s.FullFlash, 0x7FFFFF);
    QCOMPARE(s.MaxSizeX, 101);
    QCOMPARE(s.AuthorName, QStringLiteral("Modder"));
    QVERIFY(run.prompt.shown().empty());

    // A typed prefix doubles the one the dialog adds: the fields before the
    // bad text take their new values, the rest keep theirs, and the dialog
    // still closes with OK.
    f.show();
    f.FullFlashEdit->setText("A00000");
    f.PITAdrMinEdit->setText("0x1234");
    f.PITAdrMaxEdit->setText("123");
    f.Button1->click();
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QCOMPARE(run.prompt.shown().size(), std::size_t{1});
    QCOMPARE(run.prompt.shown()[0].caption, kCaptionError);
    QCOMPARE(run.prompt.shown()[0].text, QStringLiteral("'0x0x1234' is not a valid integer value"));
    QCOMPARE(s.FullFlash, 0xA00000);
    QCOMPARE(s.PITAdrMin, 0x660000);
    QCOMPARE(s.PITAdrMax, 0x680000);

    // An empty hexadecimal edit does not convert either.
    f.FormShow();
    f.ExtPITAdrEdit->clear();
    f.Button1Click();
    QCOMPARE(run.prompt.shown().back().text, QStringLiteral("'0x' is not a valid integer value"));
}

void Unit3Test::setDefaultResetsTheProgramSettings() {
    TestFolder folder;
    DialogRun run(folder.Ini());
    TForm3& f = run.form;
    run.settings.PatchMaxLength = 5;
    run.settings.Recent[0] = QStringLiteral("/a.fls");
    QVERIFY(run.settings.SaveProgramSettings().ok());

    // No: nothing is reset, and the dialog closes with OK all the same.
    run.prompt.Script({Answer::No, Answer::Yes});
    f.show();
    f.SetDefault->click();
    QCOMPARE(f.result(), int(QDialog::Accepted));
    QVERIFY(!f.isVisible());
    QCOMPARE(folder.Stored("", "PatchMaxLength"), QStringLiteral("5"));

    f.show();
    f.SetDefault->click();
    QCOMPARE(run.prompt.shown().back().caption, QStringLiteral("Подтверждение сброса настроек"));
    QCOMPARE(folder.Stored("", "PatchMaxLength"), QStringLiteral("27"));
    QCOMPARE(run.settings.PatchMaxLength, 27);
    QCOMPARE(f.PatchMaxLengthEdit->text(), QStringLiteral("27"));
    QCOMPARE(folder.Stored("", "Recent0"), QStringLiteral("/a.fls"));
}

void Unit3Test::publicSettingsResetsTheModelSettings() {
    TestFolder folder;
    DialogRun run(folder.Ini());
    TForm3& f = run.form;
    Settings& s = run.settings;
    folder.Store("All", "FullFlash", "0x123456");

    // The general settings: after a question, the built-in values.
    run.prompt.Script({Answer::No, Answer::Yes});
    f.PublicSettingsClick();
    QCOMPARE(folder.Stored("All", "FullFlash"), QStringLiteral("0x123456"));
    f.PublicSettingsClick();
    QCOMPARE(folder.Stored("All", "FullFlash"), QStringLiteral("0x800000"));
    QCOMPARE(f.FullFlashEdit->text(), QStringLiteral("800000"));

    // A model's own settings: without a question, the general values go
    // into its key at once, and a Cancel afterwards keeps them.
    folder.Store("All", "FullFlash", "0x700000");
    folder.Store("C55v10", "Default", "1");
    folder.Store("C55v10", "FullFlash", "0x900000");
    s.ModelAndVersion = QStringLiteral("C55v10");
    QVERIFY(s.LoadModelSettings().ok());
    run.prompt.Clear();
    f.show();
    f.PublicSettings->click();
    QVERIFY(f.isVisible());
    f.Button2->click();
    QVERIFY(run.prompt.shown().empty());
    QCOMPARE(s.ModelAndVersion, QStringLiteral("C55v10"));
    QCOMPARE(s.FullFlash, 0x700000);
    QCOMPARE(folder.Stored("C55v10", "FullFlash"), QStringLiteral("0x700000"));
}

QTEST_MAIN(Unit3Test)
#include "Unit3_test.moc"
