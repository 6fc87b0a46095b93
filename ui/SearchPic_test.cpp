#include "session/SearchPic.h"

#include <QSignalSpy>
#include <QTest>

#include "settings/settings.h"
#include "ui/ui_test_support.h"

using namespace vorlix;

// The search thread on its own: it reads only the base image and its plan,
// queues what it accepts in order, and hands everything over at Join, after
// which the image may be erased and the thread object freed.
class SearchPicTest : public QObject {
    Q_OBJECT
  private slots:
    void init();
    void runsToTheEndAndHandsOver();
    void stopsWhenAskedAndStartsAgain();

  private:
    static constexpr int kCount = 2000;
    TestFolder folder_;
    std::unique_ptr<ProgramRun> run_;
    std::unique_ptr<FlashImage> image_;
    SearchPlan byTables_;
    SearchPlan byRecords_;
};

void SearchPicTest::init() {
    run_ = std::make_unique<ProgramRun>(folder_.Ini());
    c55::SetC55ModelValues(run_->settings);
    image_ = std::make_unique<FlashImage>();
    ManyPictures(kCount).LoadInto(*image_);
    byTables_ = PlanSearch(image_->BaseBytes(), run_->settings, false);
    byRecords_ = PlanSearch(image_->BaseBytes(), run_->settings, true);
}

void SearchPicTest::runsToTheEndAndHandsOver() {
    for (const SearchPlan* plan : {&byTables_, &byRecords_}) {
        auto search = std::make_unique<MySearchPic>(image_->BaseBytes(), *plan);
        QSignalSpy wakes(search.get(), &MySearchPic::Wake);
        search->start();
        QTRY_VERIFY_WITH_TIMEOUT(search->Done(), 20000);
        search->Join();
        QVERIFY(search->Joined());
        QVERIFY(wakes.count() >= 1);
        QCOMPARE(search->Found(), kCount);
        const std::vector<MySearchPic::FoundRecord> found = search->TakeFound(kCount + 1);
        QCOMPARE(int(found.size()), kCount);
        for (int i = 0; i < kCount; ++i) {
            QCOMPARE(found[i].Found, i + 1);
            QCOMPARE(found[i].FoundPos, 0xE60000 + 8 * i);
        }
        QVERIFY(!search->HasFound());
        // Handed over: the window may now erase the image and free the thread.
        image_->ClearBase();
        search.reset();
        ManyPictures(kCount).LoadInto(*image_);
    }
}

void SearchPicTest::stopsWhenAskedAndStartsAgain() {
    // Stopped at once, and again while records come in: what was queued is
    // a run of the first records in order, and the thread is joined.
    for (const bool early : {true, false}) {
        auto search = std::make_unique<MySearchPic>(image_->BaseBytes(), byRecords_);
        search->start();
        if (!early) QTRY_VERIFY(search->Found() > 0);
        search->requestInterruption();
        search->Join();
        QVERIFY(search->Joined() && search->Done());
        const std::vector<MySearchPic::FoundRecord> found = search->TakeFound(kCount + 1);
        QCOMPARE(int(found.size()), search->Found());
        for (int i = 0; i < int(found.size()); ++i) QCOMPARE(found[i].Found, i + 1);
        image_->ResetWorkingCopy();
        search.reset();
    }

    // A search that is destroyed while it runs ends and is joined first;
    // one started afterwards on the same image lists everything.
    {
        MySearchPic running(image_->BaseBytes(), byRecords_);
        running.start();
    }
    MySearchPic again(image_->BaseBytes(), byTables_);
    again.start();
    QTRY_VERIFY_WITH_TIMEOUT(again.Done(), 20000);
    again.Join();
    QCOMPARE(int(again.TakeFound(kCount + 1).size()), kCount);
}

QTEST_MAIN(SearchPicTest)
#include "SearchPic_test.moc"
