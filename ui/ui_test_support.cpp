#include "ui/ui_test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSettings>
#include <QTest>
#include <QThreadPool>

#if defined(__SANITIZE_THREAD__)
#define VORLIX_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VORLIX_THREAD_SANITIZER 1
#endif
#endif

namespace vorlix {

#ifdef VORLIX_THREAD_SANITIZER
namespace {
// Qt spreads the conversion of a large image (the shown window's, an icon
// scaled) over its global thread pool. Two pool threads then pass Qt's own
// bookkeeping between them under locks that the race detector cannot see,
// in functions without symbol names, so no suppression can name them. With
// one pool thread that exchange does not happen; the program's own threads
// are not affected.
const bool kOnePoolThread = [] {
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    return true;
}();
}  // namespace
#endif

TForm1& ProgramRun::Start() {
    window = std::make_unique<TForm1>(settings, dialogs);
    return *window;
}

QString TestFolder::Write(const FlashBuilder& flash, const QString& name) const {
    const QString path = dir.filePath(name);
    if (!flash.WriteFile(path)) qFatal("cannot write %s", qPrintable(path));
    return path;
}

QString TestFolder::Stored(const QString& subKey, const QString& name) const {
    const QSettings ini(Ini(), QSettings::IniFormat);
    return ini.value(subKey.isEmpty() ? name : subKey + QLatin1Char('/') + name).toString();
}

void TestFolder::Store(const QString& subKey, const QString& name, const QString& text) const {
    QSettings ini(Ini(), QSettings::IniFormat);
    ini.setValue(subKey.isEmpty() ? name : subKey + QLatin1Char('/') + name, text);
}

FlashBuilder ManyPictures(int count) {
    constexpr std::int32_t kPitStart = 0xE60000;  // where a scan by records begins
    constexpr std::int32_t kData = 0xC00000;
    constexpr std::int32_t kBytesPerPicture = 32;  // 16 x 16 at one bit
    std::vector<RecordSpec> records;
    for (int i = 0; i < count; ++i) records.push_back({16, 16, 0x01, kData + i * kBytesPerPicture});
    FlashBuilder flash = FlashBuilder::C55();
    flash.Pit(c55::kSpitAdr, kPitStart, records)
        .Random(kData, count * kBytesPerPicture, 7)
        .ExtPit(c55::kExtPitAdr, {});
    return flash;
}

bool WaitForSearch(TForm1& window, int timeoutMs) {
    QDeadlineTimer deadline(timeoutMs);
    while (window.IsSearching()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
        QTest::qWait(5);
    }
    QCoreApplication::processEvents();
    return true;
}

}  // namespace vorlix
