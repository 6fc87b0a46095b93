#include "settings/settings.h"

#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <memory>
#include <vector>

namespace vorlix {
namespace {

const QString kAll = QStringLiteral("All");

class SettingsTest : public ::testing::Test {
  protected:
    // With an empty default, reading leaves what is stored as it is.
    QString Get(const QString& subKey, const char* name) {
        return store.ReadValue(subKey, QString::fromLatin1(name), QString());
    }
    void Put(const QString& subKey, const char* name, const QString& text) {
        ASSERT_TRUE(store.WriteValue(subKey, QString::fromLatin1(name), text).ok());
    }

    QTemporaryDir dir;
    SettingsStore store{dir.filePath(QStringLiteral("vorlix.ini"))};
    ScriptedPrompt prompt;
    Settings settings{store};
};

TEST_F(SettingsTest, FirstStartWritesEveryDefault) {
    bool own = false;
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    ASSERT_TRUE(settings.LoadModelSettings(&own).ok());
    EXPECT_TRUE(own);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(Get("", "InternalVersion"), "4");
    EXPECT_EQ(Get("", "WindowWidth"), "778");
    EXPECT_EQ(Get("", "PatchMaxLength"), "27");
    EXPECT_TRUE(store.HasValue("", "Recent7"));
    // clang-format off
    const char* const model[][2] = {
        {"Default", "0"}, {"FullFlash", "0x800000"}, {"PITAdrMin", "0x660000"},
        {"PITAdrMax", "0x680000"}, {"PictureAdrMin", "0x000000"}, {"PictureAdrMax", "0x680000"},
        {"PlaceAdrMin", "0x5E2000"}, {"PlaceAdrMax", "0x600000"}, {"MaxSizeX", "101"},
        {"MaxSizeY", "80"}, {"sPITAdr", "0xC4625C"}, {"ExtPITAdr", "0xE7F856"}, {"SearchType", "0"}};
    // clang-format on
    for (const auto& [name, text] : model) EXPECT_EQ(Get(kAll, name), text) << name;
}

TEST_F(SettingsTest, VersionCheck) {
    Put("", "InternalVersion", "5");
    prompt.Script({Answer::No, Answer::Yes});
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    ASSERT_EQ(prompt.questions(), 1);
    EXPECT_EQ(prompt.shown()[0].caption, QStringLiteral("Контроль версий"));
    EXPECT_EQ(Get("", "InternalVersion"), "5");
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());  // asked again, Yes
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());  // not asked any more
    EXPECT_EQ(prompt.questions(), 2);
    EXPECT_EQ(Get("", "InternalVersion"), "4");

    Put("", "InternalVersion", "3");
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(Get("", "InternalVersion"), "4");
    Put("", "InternalVersion", " 4");  // a 4 is not written again
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(Get("", "InternalVersion"), " 4");
    EXPECT_EQ(prompt.questions(), 2);
}

TEST_F(SettingsTest, NewModelTakesTheGeneralValuesOnce) {
    Put(kAll, "FullFlash", "0x7FFFFF");
    settings.ModelAndVersion = QStringLiteral("C55v52");
    bool own = true;
    ASSERT_TRUE(settings.LoadModelSettings(&own).ok());
    EXPECT_FALSE(own);
    // The warning is the caller's to show.
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(settings.ModelAndVersion, QStringLiteral("C55v52"));
    EXPECT_EQ(Get("C55v52", "Default"), "1");
    EXPECT_EQ(Get("C55v52", "FullFlash"), "0x7FFFFF");

    Put("C55v52", "MaxSizeX", "132");
    ASSERT_TRUE(settings.LoadModelSettings(&own).ok());
    EXPECT_TRUE(own);
    EXPECT_EQ(settings.MaxSizeX, 132);

    // Only an exact "0" marks a model as new.
    settings.ModelAndVersion = QStringLiteral("S45v21");
    Put("S45v21", "Default", "00");
    ASSERT_TRUE(settings.LoadModelSettings(&own).ok());
    EXPECT_TRUE(own);
    EXPECT_TRUE(prompt.shown().empty());
}

TEST_F(SettingsTest, LoadRewritesCanonicalForms) {
    Put(kAll, "FullFlash", "8388608");
    Put(kAll, "SearchType", "2");
    Put(kAll, "sPITAdr", "-5");
    ASSERT_TRUE(settings.LoadModelSettings().ok());
    EXPECT_EQ(settings.FullFlash, 0x800000);
    EXPECT_TRUE(settings.SearchType);
    EXPECT_EQ(Get(kAll, "FullFlash"), "0x800000");
    EXPECT_EQ(Get(kAll, "SearchType"), "1");
    EXPECT_EQ(Get(kAll, "sPITAdr"), "0xFFFFFFFB");
    settings.sPITAdr = 0;
    ASSERT_TRUE(settings.LoadModelSettings().ok());
    EXPECT_EQ(settings.sPITAdr, -5);
}

TEST_F(SettingsTest, ConversionErrorIsShownAndStopsTheLoad) {
    Put(kAll, "PITAdrMax", "0x1FFFFFFFB");
    settings.ModelAndVersion = QStringLiteral("CF62v50");
    settings.PITAdrMax = settings.MaxSizeX = -1;
    bool own = true;
    const Status status = settings.LoadModelSettings(&own);
    EXPECT_EQ(status.message(), QStringLiteral("'0x1FFFFFFFB' is not a valid integer value"));
    // A new model (its warning comes first), and the error, both for the
    // caller to show.
    EXPECT_FALSE(own);
    EXPECT_TRUE(prompt.shown().empty());
    EXPECT_EQ(settings.PITAdrMin, 0x660000);
    EXPECT_EQ(settings.PITAdrMax, -1);
    EXPECT_EQ(settings.MaxSizeX, -1);
    EXPECT_EQ(settings.ModelAndVersion, QStringLiteral("CF62v50"));
    EXPECT_FALSE(store.HasValue(kAll, "MaxSizeX"));
}

TEST_F(SettingsTest, RecentFiles) {
    for (const char* p : {"h", "g", "f", "e", "d", "c", "b", "a"}) settings.AddRecent(p);
    settings.AddRecent("c");
    EXPECT_EQ(settings.Recent, (std::array<QString, 8>{"c", "a", "b", "d", "e", "f", "g", "h"}));
    settings.AddRecent("C");
    EXPECT_EQ(settings.Recent, (std::array<QString, 8>{"C", "c", "a", "b", "d", "e", "f", "g"}));
}

TEST_F(SettingsTest, ResetProgramSettingsKeepsVersionAndRecent) {
    Put("", "InternalVersion", "5");
    Put("", "Recent0", "a.fls");
    Put("", "WindowWidth", "1000");
    ASSERT_TRUE(settings.ResetProgramSettings().ok());
    EXPECT_EQ(Get("", "InternalVersion"), "5");
    EXPECT_EQ(Get("", "Recent0"), "a.fls");
    EXPECT_EQ(Get("", "WindowWidth"), "778");
}

// The view values: their defaults when missing (and then stored), what is
// stored when present, saved and reset with the other program values.
TEST_F(SettingsTest, ViewValues) {
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.PreviewZoom, 1);
    EXPECT_EQ(settings.GalleryCell, 64);
    EXPECT_FALSE(settings.ShowGallery);
    EXPECT_EQ(Get("", "PreviewZoom") + Get("", "GalleryCell") + Get("", "ShowGallery"), "1640");
    Put("", "PreviewZoom", QStringLiteral("0"));  // fit
    Put("", "GalleryCell", QStringLiteral("128"));
    Put("", "ShowGallery", QStringLiteral("1"));
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.PreviewZoom, 0);
    EXPECT_EQ(settings.GalleryCell, 128);
    EXPECT_TRUE(settings.ShowGallery);
    settings.PreviewZoom = 6;
    settings.GalleryCell = 32;
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    EXPECT_EQ(Get("", "PreviewZoom") + Get("", "GalleryCell") + Get("", "ShowGallery"), "6321");
    ASSERT_TRUE(settings.ResetProgramSettings().ok());
    EXPECT_EQ(Get("", "PreviewZoom") + Get("", "GalleryCell") + Get("", "ShowGallery"), "1640");
}

TEST_F(SettingsTest, WriteOfTheStoredTextLeavesTheFileAlone) {
    bool own = false;
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok() && settings.LoadModelSettings(&own).ok());
    Put(kAll, "Note", QStringLiteral("1,2 \"x\""));  // a text the file must quote
    QFile file(store.location());
    const QDateTime old(QDate(2001, 2, 3), QTime(4, 5, 6), Qt::UTC);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                file.setFileTime(old, QFileDevice::FileModificationTime));
    const QByteArray bytes = file.readAll();
    file.close();
    auto untouched = [&] {
        return QFileInfo(file.fileName()).lastModified() == old && file.open(QIODevice::ReadOnly) &&
               file.readAll() == bytes && (file.close(), true);
    };

    // Loads and saves that store what is there already write nothing.
    ASSERT_TRUE(settings.LoadModelSettings(&own).ok());
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    Put("", "AuthorName", QString());
    Put(kAll, "Note", QStringLiteral("1,2 \"x\""));
    EXPECT_TRUE(untouched());

    // A changed text, or an empty one where there was none, is written.
    Put(kAll, "Note", QStringLiteral("1,2"));
    EXPECT_FALSE(untouched());
    EXPECT_EQ(Get(kAll, "Note"), "1,2");
    EXPECT_FALSE(store.HasValue(kAll, "Spare"));
    Put(kAll, "Spare", QString());
    EXPECT_TRUE(store.HasValue(kAll, "Spare"));
}

// A file edited by hand may hold an unquoted comma, which the INI reader
// takes for a list: the text is kept (its items joined by commas), not
// replaced by the default.
TEST_F(SettingsTest, HandEditedCommaIsNotLost) {
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    QFile file(store.location());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QByteArray text = file.readAll();
    file.close();
    // Qt writes INI files with the platform's line ends (CR LF on Windows).
    const QByteArray eol = text.contains("\r\n") ? "\r\n" : "\n";
    ASSERT_TRUE(text.contains(eol + "AuthorName=" + eol));
    text.replace(eol + "AuthorName=" + eol, eol + "AuthorName=Ivanov, Petr" + eol);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(text);
    file.close();
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.AuthorName, "Ivanov,Petr");
    EXPECT_EQ(store.ReadAllValues(QString()).value("AuthorName"), "Ivanov,Petr");
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.AuthorName, "Ivanov,Petr");
}

TEST_F(SettingsTest, StoreKeepsSubKeysApartAndReportsRefusals) {
    settings.ModelAndVersion = QStringLiteral("C55/../All\\x%2F");
    settings.MaxSizeX = 7;
    ASSERT_TRUE(settings.SaveModelSettings().ok());
    EXPECT_EQ(Get(settings.ModelAndVersion, "MaxSizeX"), "7");
    EXPECT_FALSE(store.HasValue(kAll, "MaxSizeX"));
    EXPECT_FALSE(store.HasValue(QStringLiteral("C55"), "MaxSizeX"));

    QFile blocker(dir.filePath(QStringLiteral("blocker")));  // a file where a folder should be
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    SettingsStore refusing(dir.filePath(QStringLiteral("blocker/vorlix.ini")));
    Settings blocked(refusing);
    EXPECT_EQ(blocked.LoadProgramSettings(prompt).message(),
              QStringLiteral("Failed to set data for 'InternalVersion'"));
    EXPECT_TRUE(prompt.shown().empty());
}

// Every program value with a stored text other than its default: a load
// and a save give it back, a reset writes the default (the recent files and
// the language are kept), and the read that writes nothing takes it in its
// group and leaves the store as it was.
TEST_F(SettingsTest, EveryProgramValueRoundTrips) {
    struct Case {
        const char* name;
        const char* stored;
        const char* byDefault;
        bool reset;
        unsigned group;
    };
    constexpr unsigned kWindow = Settings::kWindowValues, kPatch = Settings::kPatchValues,
                       kView = Settings::kViewValues;
    // clang-format off
    const Case cases[] = {
        {"WindowState", "2", "0", true, kWindow},     {"WindowWidth", "1000", "778", true, kWindow},
        {"WindowHeight", "700", "540", true, kWindow}, {"Recent0", "/a.fls", "", false, kWindow},
        {"Recent7", "/h.fls", "", false, kWindow},     {"FrameColor", "255", "0", true, kWindow},
        {"AutoName", "1", "0", true, kWindow},         {"OnlySelected", "1", "0", true, kWindow},
        {"PlainPatch", "1", "0", true, kPatch},        {"PatchMaxLength", "9", "27", true, kPatch},
        {"AuthorName", "Ivan", "", true, kPatch},
        {"KeepDepthAndCompression", "1", "0", true, kPatch},
        {"AskSizeChange", "0", "1", true, kView},      {"PreviewZoom", "3", "1", true, kView},
        {"GalleryCell", "96", "64", true, kView},      {"ShowGallery", "1", "0", true, kView},
        {"PictureFormat", "png", "bmp", true, kView},  {"Language", "en", "original", false, kView},
    };
    // clang-format on
    Put("", "InternalVersion", "4");
    for (const Case& c : cases) Put("", c.name, QString::fromLatin1(c.stored));
    const QString ini = dir.filePath(QStringLiteral("vorlix.ini"));
    const QString source = dir.filePath(QStringLiteral("source.ini"));
    ASSERT_TRUE(QFile::copy(ini, source));
    auto bytesOf = [](const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    auto restore = [&] { return QFile::remove(ini) && QFile::copy(source, ini); };

    // Saved into an empty store, every value comes back as it was read.
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    ASSERT_TRUE(QFile::remove(ini));
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    for (const Case& c : cases) EXPECT_EQ(Get("", c.name), c.stored) << c.name;

    // Each group read without writing, then saved: its values as stored.
    for (const unsigned group : {kWindow, kPatch, kView}) {
        ASSERT_TRUE(restore());
        Settings peeked(store);
        ASSERT_TRUE(peeked.PeekProgramValues(group).ok());
        EXPECT_EQ(bytesOf(ini), bytesOf(source));
        ASSERT_TRUE(QFile::remove(ini));
        ASSERT_TRUE(peeked.SaveProgramSettings().ok());
        for (const Case& c : cases)
            if (c.group == group) {
                EXPECT_EQ(Get("", c.name), c.stored) << c.name;
            }
    }

    ASSERT_TRUE(restore());
    ASSERT_TRUE(settings.ResetProgramSettings().ok());
    for (const Case& c : cases)
        EXPECT_EQ(Get("", c.name), c.reset ? c.byDefault : c.stored) << c.name;
    EXPECT_TRUE(prompt.shown().empty());
}

// The read that writes nothing goes on past a value that does not convert,
// which keeps its default, and returns the first error without showing it.
TEST_F(SettingsTest, PeekReadsPastAValueThatDoesNotConvert) {
    Put("", "WindowWidth", "wide");
    Put("", "FrameColor", "red");
    Put("", "OnlySelected", "2");
    settings.WindowWidth = 5;
    const Status status = settings.PeekProgramValues(Settings::kWindowValues);
    EXPECT_EQ(status.message(), QStringLiteral("'wide' is not a valid integer value"));
    EXPECT_EQ(settings.WindowWidth, 778);
    EXPECT_EQ(settings.FrameColor, 0);
    EXPECT_TRUE(settings.OnlySelected);
    EXPECT_EQ(settings.WindowHeight, 540);
    EXPECT_FALSE(store.HasValue("", "WindowHeight"));
    EXPECT_TRUE(prompt.shown().empty());
}

// Absent, a loaded picture takes the usual type and a size change asks;
// both are saved and reset like every program value.
TEST_F(SettingsTest, ReplacementSettings) {
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(Get("", "KeepDepthAndCompression") + Get("", "AskSizeChange"), "01");
    settings.KeepDepthAndCompression = true;
    settings.AskSizeChange = false;
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    EXPECT_EQ(Get("", "KeepDepthAndCompression") + Get("", "AskSizeChange"), "10");
    ASSERT_TRUE(settings.ResetProgramSettings().ok() && settings.LoadProgramSettings(prompt).ok());
    EXPECT_FALSE(settings.KeepDepthAndCompression);
    EXPECT_TRUE(settings.AskSizeChange);
}

// The format of pictures saved under automatic names: BMP until PNG is
// chosen; saved and reset like every program value.
TEST_F(SettingsTest, PictureFormat) {
    ASSERT_TRUE(settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(Get("", "PictureFormat"), "bmp");
    settings.PictureFormat = QStringLiteral("png");
    ASSERT_TRUE(settings.SaveProgramSettings().ok());
    EXPECT_EQ(Get("", "PictureFormat"), "png");
    ASSERT_TRUE(settings.ResetProgramSettings().ok() && settings.LoadProgramSettings(prompt).ok());
    EXPECT_EQ(settings.PictureFormat, "bmp");
}

// Unless VORLIX_SETTINGS or --settings names an INI file, a run keeps its
// settings in the platform's own store: the user's registry key on Windows,
// where every user can write, and vorlix.ini in the configuration folder
// elsewhere.
TEST(SettingsStoreTest, DefaultStoreIsThePlatformsOwn) {
    const QByteArray named = qgetenv("VORLIX_SETTINGS");
    qunsetenv("VORLIX_SETTINGS");
    const SettingsStore platform;
    qputenv("VORLIX_SETTINGS", "elsewhere.ini");
    const SettingsStore fromEnvironment;
    qputenv("VORLIX_SETTINGS", named);

    EXPECT_TRUE(platform.native());
#ifdef Q_OS_WIN
    EXPECT_EQ(platform.location(), QStringLiteral("HKEY_CURRENT_USER\\Software\\Siemens\\Vorlix"));
#else
    EXPECT_TRUE(platform.location().endsWith(QStringLiteral("/vorlix.ini")))
        << platform.location().toStdString();
#endif
    EXPECT_FALSE(fromEnvironment.native());
    EXPECT_EQ(fromEnvironment.location(), QStringLiteral("elsewhere.ini"));
    EXPECT_FALSE(SettingsStore(QStringLiteral("given.ini")).native());
}

// A user's first start takes over the values the machine-wide store holds,
// sub-keys included; a user who has settings keeps them. On Windows the
// same is tried in the registry, under a key of the test's own.
TEST(SettingsStoreTest, TakeOverFillsAnEmptyStoreOnly) {
    QTemporaryDir dir;
    struct Case {
        QString machine, user;
        bool native;
    };
    std::vector<Case> cases = {{dir.filePath(QStringLiteral("machine.ini")),
                                dir.filePath(QStringLiteral("user.ini")), false}};
#ifdef Q_OS_WIN
    const QString testKey =
        QStringLiteral("HKEY_CURRENT_USER\\Software\\Siemens\\VorlixTakeOverTest");
    cases.push_back(
        {testKey + QStringLiteral("\\Machine"), testKey + QStringLiteral("\\User"), true});
#endif
    for (const Case& c : cases) {
        SCOPED_TRACE(c.user.toStdString());
        const auto store = [&c](const QString& location) {
            return c.native ? std::make_unique<QSettings>(location, QSettings::NativeFormat)
                            : std::make_unique<QSettings>(location, QSettings::IniFormat);
        };
        store(c.machine)->clear();
        store(c.user)->clear();
        EXPECT_FALSE(TakeOverValues(c.machine, c.user, c.native));  // nothing to take over
        {
            auto written = store(c.machine);
            written->setValue(QStringLiteral("AuthorName"), QStringLiteral("Иванов, Пётр"));
            written->setValue(SettingsStore::EscapeSubKey(QStringLiteral("C55v50/x")) +
                                  QStringLiteral("/MaxSizeX"),
                              QStringLiteral("132"));
        }
        ASSERT_TRUE(TakeOverValues(c.machine, c.user, c.native));
        {
            auto user = store(c.user);
            EXPECT_EQ(user->value(QStringLiteral("AuthorName")).toString(), "Иванов, Пётр");
            EXPECT_EQ(user->value(QStringLiteral("C55v50%2Fx/MaxSizeX")).toString(), "132");
            user->setValue(QStringLiteral("AuthorName"), QStringLiteral("Petrov"));
        }
        EXPECT_FALSE(TakeOverValues(c.machine, c.user, c.native));
        EXPECT_EQ(store(c.user)->value(QStringLiteral("AuthorName")).toString(), "Petrov");
    }
#ifdef Q_OS_WIN
    QSettings(testKey, QSettings::NativeFormat).remove(QString());
#endif
}

}  // namespace
}  // namespace vorlix
