// The window's patches installed on the phone: the "Патчи" dialog, the
// reopen it offers, the states it shows, a cancelled open, and the conflict
// check's report.
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <QTreeWidget>
#include <QUrl>

#include "picture/picture.h"
#include "ui/installed_patches_dialog.h"
#include "ui/picture_list_model.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

namespace {

// The sample with known bytes at file offset 012345, patches of each kind
// for it, and a window that has opened it.
struct Run {
    TestFolder folder;
    QString flash =
        folder.Write(FlashBuilder::SampleC55().Bytes(0x812345, {0x0A, 0x0B, 0x0C, 0x0D}),
                     QStringLiteral("c55.fls"));
    QString applies = Text("applies.vkp", "012345: 0A0B 1112\r\n");
    QString present = Text("present.vkp", "; on the phone already\r\n012347: 0000 0C0D\r\n");
    QString misfit = Text("misfit.vkp", "012400: 5555 6666\r\n");
    ProgramRun run{folder.Ini()};
    TForm1& w = run.Start();
    ScriptedPrompt& prompt = run.dialogs.prompt();

    Run() {
        run.dialogs.modalSteps = {[](QDialog& d) { d.accept(); }};  // a new model's settings
        w.OpenFullFlash(flash);
        if (!WaitForSearch(w)) qFatal("search did not end");
        // The question before the first placement in a new firmware's area
        // has a test of its own.
        w.session().PlacementAreaAccepted = true;
        prompt.Clear();
    }
    QString Text(const char* name, const QByteArray& text) {
        const QString path = folder.dir.filePath(QLatin1String(name));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(text) != text.size()) qFatal("cannot write");
        return path;
    }
    // Runs `step` on the "Патчи" dialog, then OK.
    void InDialog(std::function<void(InstalledPatchesDialog&)> step) {
        run.dialogs.modalSteps.push_back([step](QDialog& d) {
            auto* dialog = qobject_cast<InstalledPatchesDialog*>(&d);
            QVERIFY(dialog);
            step(*dialog);
            dialog->accept();
        });
        w.InstalledPatches1Execute();
        QVERIFY(WaitForSearch(w));
    }
    QString Bytes(std::int32_t pos, int n) const {
        return QByteArray(reinterpret_cast<const char*>(w.session().image().BaseImage()) + pos, n)
            .toHex()
            .toUpper();
    }
    std::vector<StackState> States() const {
        std::vector<StackState> states;
        for (const StackedPatch& p : w.LastStack().patches) states.push_back(p.state);
        return states;
    }
};

QStringList Texts(const QTreeWidget* list, int column) {
    QStringList texts;
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        texts << list->topLevelItem(i)->text(column);
    return texts;
}

void Drop(QWidget& target, const QStringList& paths) {
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& path : paths) urls << QUrl::fromLocalFile(path);
    data.setUrls(urls);
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &enter);
    QVERIFY(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&target, &drop);
}

}  // namespace

class InstalledPatchesTest : public QObject {
    Q_OBJECT
  private slots:
    void dialogEditsTheListAndReopens();
    void modifiedPicturesAreWarnedAboutFirst();
    void cancelledOpenKeepsTheImage();
    void conflictReportIsACopyableList();
};

void InstalledPatchesTest::dialogEditsTheListAndReopens() {
    Run r;
    QVERIFY(r.w.InstalledPatchesButton->isVisibleTo(&r.w));
    const QString extra = r.Text("extra.vkp", "012500: FF 00\r\n");
    r.prompt.Script({Answer::Yes});  // open again
    r.InDialog([&](InstalledPatchesDialog& d) {
        QVERIFY(d.windowTitle().contains("C55v50"));
        // Dropped: only the patches of what is dropped, each once.
        Drop(d, {r.applies, r.misfit, r.folder.dir.filePath("notes.txt")});
        r.run.dialogs.openFilesAnswers.push_back({r.present, r.applies, extra});
        d.AddClick();
        QCOMPARE(Texts(d.PatchList1, 0),
                 QStringList({"applies.vkp", "misfit.vkp", "present.vkp", "extra.vkp"}));
        QCOMPARE(Texts(d.PatchList1, 1), QStringList({"—", "—", "—", "—"}));
        d.RemoveClick();  // the last one added is the current row
        d.PatchList1->setCurrentItem(d.PatchList1->topLevelItem(2));
        d.MoveClick(-1);
        QCOMPARE(Texts(d.PatchList1, 0), QStringList({"applies.vkp", "present.vkp", "misfit.vkp"}));
        QVERIFY(d.MoveUp1->isEnabled() && d.MoveDown1->isEnabled());
        d.PatchList1->topLevelItem(2)->setCheckState(0, Qt::Unchecked);
        QCoreApplication::processEvents();
        QCOMPARE(Texts(d.PatchList1, 1), QStringList({"—", "—", "выключен"}));
    });
    QCOMPARE(r.prompt.shown().size(), size_t(1));
    QCOMPARE(r.prompt.shown()[0].caption, QString("Установленные патчи"));
    QVERIFY(!r.prompt.shown()[0].text.contains("уничтожит"));
    QCOMPARE(r.folder.Stored("C55v50", "InstalledPatch1"), r.present);
    QCOMPARE(r.folder.Stored("C55v50", "InstalledPatchOn2"), QString("0"));

    // Reopened with the list: applied, present, off; as the phone holds it.
    QCOMPARE(r.States(),
             (std::vector<StackState>{StackState::Applied, StackState::Present, StackState::Off}));
    QCOMPARE(r.Bytes(0x812345, 4), QString("11120C0D"));
    QCOMPARE(r.w.StatusText(2),
             QString("Установленные патчи: применено 1, уже в дампе 1, пропущено 0"));
    // A refresh starts the working copy anew and keeps the patches' bytes
    // reserved; with nothing changed it asks nothing.
    r.w.RefreshClick();
    QVERIFY(WaitForSearch(r.w));
    const std::uint8_t* reserved = r.w.session().image().ReservedMap();
    QVERIFY(reserved);
    QCOMPARE(QByteArray(reinterpret_cast<const char*>(reserved) + 0x812344, 6).toHex(),
             QByteArray("ff00000000ff"));

    // The dialog shows what the open found; the misfit switched on is
    // skipped at the next open on the user's word.
    r.prompt.Clear();
    r.prompt.Script({Answer::Yes, Answer::Yes});  // open again, skip the misfit
    r.InDialog([&](InstalledPatchesDialog& d) {
        QCOMPARE(Texts(d.PatchList1, 1), QStringList({"применён", "уже в дампе", "выключен"}));
        QCOMPARE(Texts(d.PatchList1, 2), QStringList({"1", "1", ""}));
        d.PatchList1->topLevelItem(2)->setCheckState(0, Qt::Checked);
    });
    QCOMPARE(r.prompt.shown().size(), size_t(2));
    QVERIFY(r.prompt.shown()[1].text.contains("Патч «misfit.vkp» не подходит к этому FullFlash"));
    QCOMPARE(r.States(), (std::vector<StackState>{StackState::Applied, StackState::Present,
                                                  StackState::Skipped}));
    r.InDialog([&](InstalledPatchesDialog& d) {
        QCOMPARE(Texts(d.PatchList1, 1), QStringList({"применён", "уже в дампе", "пропущен"}));
        QVERIFY(d.PatchList1->topLevelItem(2)->toolTip(1).contains("адрес 012400"));
    });
}

void InstalledPatchesTest::modifiedPicturesAreWarnedAboutFirst() {
    Run r;
    QImage image(6, 6, QImage::Format_RGB32);
    image.fill(qRgb(200, 30, 60));
    const QString bmp = r.folder.dir.filePath("r.bmp");
    QVERIFY(image.save(bmp, "BMP"));
    r.w.ListView1->selectionModel()->select(
        r.w.model().index(1, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    r.w.settings().AskSizeChange = false;
    r.run.dialogs.openAnswers.push_back(bmp);
    r.w.Load1Click();
    QVERIFY(r.w.HasModifiedPictures());

    r.prompt.Clear();
    r.w.AddInstalledPatches({r.applies});
    QCOMPARE(r.prompt.shown().size(), size_t(1));
    QVERIFY(r.prompt.shown()[0].text.contains("Эта операция уничтожит все изменения."));
    // No keeps the image and its changes; the list is stored for the next open.
    QVERIFY(r.w.HasModifiedPictures());
    QVERIFY(r.w.LastStack().patches.empty());
    QCOMPARE(r.folder.Stored("C55v50", "InstalledPatch0"), r.applies);
    r.w.AddInstalledPatches({r.applies});
    QCOMPARE(r.w.StatusText(2), QString("Эти патчи уже есть в списке установленных"));
}

void InstalledPatchesTest::cancelledOpenKeepsTheImage() {
    Run r;
    r.w.ListView1->selectionModel()->select(
        r.w.model().index(2, 0), QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    const int rows = r.w.model().rowCount();
    r.prompt.Script({Answer::Yes, Answer::No});  // open again; do not skip: cancel
    r.w.AddInstalledPatches({r.misfit});
    QCOMPARE(r.prompt.shown().size(), size_t(2));
    QCOMPARE(r.w.StatusText(0), QString("Открытие отменено"));
    QCOMPARE(r.w.Edit4->text(), r.flash);
    QCOMPARE(r.w.Edit1->text(), QString("C55v50"));
    QCOMPARE(r.w.model().rowCount(), rows);
    QVERIFY(r.w.ListView1->selectionModel()->isRowSelected(2, QModelIndex()));
    QVERIFY(r.w.LastStack().patches.empty());
    QCOMPARE(r.Bytes(0x812345, 2), QString("0A0B"));
}

void InstalledPatchesTest::conflictReportIsACopyableList() {
    Run r;
    r.prompt.Script({Answer::Yes});
    r.w.AddInstalledPatches({r.applies, r.present});
    QVERIFY(WaitForSearch(r.w));
    // A patch in the pane that writes a byte the installed one writes.
    r.w.Memo1->setPlainText(";Автор патча: x\n012346: 0B 22\n");
    QStringList shown;
    r.run.dialogs.modalSteps.push_back([&](QDialog& d) {
        auto* report = qobject_cast<ConflictReportDialog*>(&d);
        QVERIFY(report);
        for (int i = 0; i < report->ReportList1->count(); ++i)
            shown << report->ReportList1->item(i)->text();
        report->CopyAll1->click();
    });
    r.w.CheckConflicts1Execute();
    QCOMPARE(shown, QStringList({
                        "«present.vkp»: патч уже есть в дампе",
                        "«панель патча», строка 2: данные отката не совпадают: по адресу 012346 в "
                        "патче 0B, в образе 12",
                        "«панель патча», строка 2: пересекается с «applies.vkp», строка 1: "
                        "байт 012346",
                    }));
    QCOMPARE(QGuiApplication::clipboard()->text(), shown.join('\n'));
    QVERIFY(r.w.StatusText(2).startsWith("Проверено патчей: 3. Пересечений: 1"));
}

QTEST_MAIN(InstalledPatchesTest)
#include "installed_patches_test.moc"
