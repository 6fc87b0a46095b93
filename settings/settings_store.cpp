#include <QSettings>
#include <QStandardPaths>

#include "settings/settings.h"

#ifdef Q_OS_WIN
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
#endif

namespace vorlix {

namespace {

QSettings::Format FormatOf(bool native) {
    return native ? QSettings::NativeFormat : QSettings::IniFormat;
}

#ifdef Q_OS_WIN
const QString kUserKey = QStringLiteral("HKEY_CURRENT_USER\\Software\\Siemens\\Vorlix");
// The key that held the settings of every user; a normal user cannot
// write it.
const QString kMachineKey = QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Siemens\\Vorlix");

// Looked up without QSettings, which would create the key where it may.
bool MachineKeyExists() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Siemens\\Vorlix", 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}
#endif

// The program values lie in the program key itself, the model values in
// one group per sub-key.
QString KeyOf(const QString& subKey, const QString& name) {
    if (subKey.isEmpty()) return name;
    return SettingsStore::EscapeSubKey(subKey) + QLatin1Char('/') + name;
}

Status WriteRefused(const QString& name) {
    return Status::IoError(
        QCoreApplication::translate("Settings", "Failed to set data for '%1'").arg(name));
}

}  // namespace

SettingsStore::SettingsStore() {
    const QString fromEnvironment = qEnvironmentVariable("VORLIX_SETTINGS");
    if (!fromEnvironment.isEmpty()) {
        path_ = fromEnvironment;
        return;
    }
    native_ = true;
#ifdef Q_OS_WIN
    path_ = kUserKey;
    if (MachineKeyExists()) (void)TakeOverValues(kMachineKey, kUserKey, true);
#else
    path_ = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
            QStringLiteral("/vorlix.ini");
#endif
}

SettingsStore::SettingsStore(const QString& iniPath) : path_(iniPath) {}

QString SettingsStore::EscapeSubKey(const QString& subKey) {
    QString escaped;
    escaped.reserve(subKey.size());
    for (const QChar c : subKey) {
        if (c == u'%') {
            escaped += QLatin1String("%25");
        } else if (c == u'/') {
            escaped += QLatin1String("%2F");
        } else if (c == u'\\') {
            escaped += QLatin1String("%5C");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

namespace {

// The text of a stored value. An INI file edited by hand may hold a value
// with an unquoted comma ("AuthorName=Ivanov, Petr", a path with a comma),
// which the INI reader takes for a list; its items are joined back with
// commas (the blanks beside the commas are lost) rather than the value
// being taken for missing and replaced by its default.
QString TextOf(const QVariant& value) {
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

}  // namespace

QString SettingsStore::ReadValue(const QString& subKey, const QString& name,
                                 const QString& defaultText) {
    QString text;
    (void)ReadValue(subKey, name, defaultText, text);
    return text;
}

Status SettingsStore::ReadValue(const QString& subKey, const QString& name,
                                const QString& defaultText, QString& text) {
    {
        const QSettings settings(path_, FormatOf(native_));
        text = TextOf(settings.value(KeyOf(subKey, name)));
    }
    if (!text.isEmpty()) return Status::Ok();
    text = defaultText;
    return WriteValue(subKey, name, defaultText);
}

Status SettingsStore::WriteValue(const QString& subKey, const QString& name, const QString& text) {
    QSettings settings(path_, FormatOf(native_));
    // A store that could not be read as a whole is not rewritten: writing
    // it back would drop whatever part of it was not understood.
    if (settings.status() != QSettings::NoError) return WriteRefused(name);
    const QString key = KeyOf(subKey, name);
    // A value that already holds exactly this text is left as it is: the
    // store would end up the same, only flushed to disk once more.
    const QVariant stored = settings.value(key);
    if (stored.typeId() == QMetaType::QString && stored.toString() == text) return Status::Ok();
    settings.setValue(key, text);
    settings.sync();
    if (settings.status() != QSettings::NoError) return WriteRefused(name);
    return Status::Ok();
}

bool SettingsStore::HasValue(const QString& subKey, const QString& name) const {
    const QSettings settings(path_, FormatOf(native_));
    return settings.contains(KeyOf(subKey, name));
}

QHash<QString, QString> SettingsStore::ReadAllValues(const QString& subKey) const {
    QSettings settings(path_, FormatOf(native_));
    if (!subKey.isEmpty()) settings.beginGroup(EscapeSubKey(subKey));
    QHash<QString, QString> values;
    for (const QString& name : settings.childKeys())
        values.insert(name, TextOf(settings.value(name)));
    return values;
}

bool TakeOverValues(const QString& from, const QString& to, bool native) {
    QSettings target(to, FormatOf(native));
    if (!target.allKeys().isEmpty()) return false;
    const QSettings source(from, FormatOf(native));
    const QStringList keys = source.allKeys();
    if (keys.isEmpty()) return false;
    for (const QString& key : keys) target.setValue(key, source.value(key));
    target.sync();
    return target.status() == QSettings::NoError;
}

}  // namespace vorlix
