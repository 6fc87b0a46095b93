#include "ui/model_choice.h"

#include <QBuffer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include "cli/cli.h"
#include "ui/Unit3.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

// A 16 MiB S55 dump whose build information is missing: pictures in its
// first bytes, in the middle and in its last MiB, past the 24-bit space.
FlashBuilder UnnamedS55() {
    FlashBuilder b(16 << 20, 0x400000);
    b.Pit(0xA00000, 0xA00100,
          {{4, 4, 0x01, 0x400100},
           {3, 2, 0x05, 0xC00000},
           {2, 1, 0x87, 0xC00100},
           {2, 2, 0x08, 0x13FFF00}});
    b.Bytes(0x400100, {0x90, 0x60, 0x60, 0x90});
    b.Bytes(0xC00000, {0x00, 0xC0, 0xFF, 0x1F, 0x20, 0xE3});
    b.Bytes(0xC00100, {0xFE, 0x21, 0x03, 0x43, 0x05});
    b.Bytes(0x13FFF00, {0x00, 0xE0, 0x1F, 0x00, 0xE0, 0x07, 0x00, 0xF8});
    return b;
}

QStringList CliRows(const QString& ini, const QStringList& args) {
    QByteArray out, err;
    QBuffer o(&out), e(&err);
    o.open(QIODevice::WriteOnly);
    e.open(QIODevice::WriteOnly);
    if (RunCli(args + QStringList{"--settings", ini}, o, e) != 0) return {err};
    return QString::fromUtf8(out).split('\n', Qt::SkipEmptyParts);
}

}  // namespace

class ModelChoiceTest : public QObject {
    Q_OBJECT
  private slots:
    void pickedModelOpensTheDumpAsTheCommandLineDoes();
    void noneOfTheseKeepsTheGeneralSettings();
};

void ModelChoiceTest::pickedModelOpensTheDumpAsTheCommandLineDoes() {
    TestFolder folder;
    const QString path = folder.Write(UnnamedS55(), QStringLiteral("s55.bin"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    QStringList offered;
    run.dialogs.modalSteps.push_back([&](QDialog& d) {
        auto& choice = static_cast<ModelChoiceDialog&>(d);
        for (int i = 0; i < choice.ModelList->count(); ++i)
            offered << choice.ModelList->item(i)->text();
        choice.ModelList->setCurrentItem(
            choice.ModelList->findItems(QStringLiteral("S55"), Qt::MatchExactly).value(0));
        choice.accept();
    });
    QString note, fullFlash;
    run.dialogs.modalSteps.push_back([&](QDialog& d) {
        auto& form = static_cast<TForm3&>(d);
        note = form.TableNote->isVisible() ? form.TableNote->text() : QString();
        fullFlash = form.FullFlashEdit->text();
        form.Button1->click();
    });
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    QCOMPARE(offered.size(), 11);
    QVERIFY(offered.first().startsWith(QStringLiteral("Ни одна из них")));
    QVERIFY(offered.contains(QStringLiteral("S55")));
    QCOMPARE(fullFlash, QStringLiteral("400000"));
    QCOMPARE(note,
             QStringLiteral("Из таблицы известных моделей (S55): FullFlash, MaxSizeX, MaxSizeY"));
    QCOMPARE(w.Edit1->text(), QStringLiteral("S55"));
    run.Exit();

    // The command line lists the same pictures with --model S55 alone.
    TestFolder other;
    const QStringList rows = CliRows(other.Ini(), {"list", path, "--model", "S55"});
    QCOMPARE(rows.size(), 4);
    QCOMPARE(rows[3].split('\t').value(ColData), QStringLiteral("FFFF00"));
    ProgramRun again(folder.Ini());
    TForm1& w2 = again.Start();
    again.dialogs.modalSteps.push_back([](QDialog& d) {
        auto& choice = static_cast<ModelChoiceDialog&>(d);
        choice.ModelList->setCurrentRow(choice.ModelList->count() - 1);  // S55, the last
        choice.accept();
    });
    w2.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w2));
    QCOMPARE(int(w2.session().Rows.size()), rows.size());
    for (int i = 0; i < rows.size(); ++i) {
        const QStringList cells = rows[i].split('\t');
        for (int c = ColX; c <= ColData; ++c) QCOMPARE(w2.session().Rows[i][c], cells.value(c));
    }
}

void ModelChoiceTest::noneOfTheseKeepsTheGeneralSettings() {
    TestFolder folder;
    const QString path = folder.Write(ManyPictures(3), QStringLiteral("a.bin"));
    ProgramRun run(folder.Ini());
    TForm1& w = run.Start();
    run.dialogs.modalSteps.push_back([](QDialog& d) { d.accept(); });  // the first row
    w.OpenFullFlash(path);
    QVERIFY(WaitForSearch(w));
    QCOMPARE(run.dialogs.modalsShown, 1);
    QCOMPARE(w.settings().ModelAndVersion, QStringLiteral("All"));
    QCOMPARE(int(w.session().Rows.size()), 3);
    QVERIFY(
        run.dialogs.prompt().shown().at(0).text.startsWith(QStringLiteral("Прошивка не опознана")));
}

QTEST_MAIN(ModelChoiceTest)
#include "model_choice_test.moc"
