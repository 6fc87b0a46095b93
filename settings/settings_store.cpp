#include <QSettings>
#include <QStandardPaths>

#include "settings/settings.h"

namespace vorlix {

namespace {

QString DefaultLocation(bool& registry) {
    registry = false;
    const QString fromEnvironment = qEnvironmentVariable("VORLIX_SETTINGS");
    if (!fromEnvironment.isEmpty()) return fromEnvironment;
#ifdef Q_OS_WIN
    registry = true;
    return QStringLiteral("HKEY_LOCAL_MACHINE\\Software\\Siemens\\Vorlix");
#else
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/vorlix.ini");
#endif
}

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

SettingsStore::SettingsStore() : path_(DefaultLocation(registry_)) {}

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
        const QSettings settings(path_, registry_ ? QSettings::NativeFormat : QSettings::IniFormat);
        text = TextOf(settings.value(KeyOf(subKey, name)));
    }
    if (!text.isEmpty()) return Status::Ok();
    text = defaultText;
    return WriteValue(subKey, name, defaultText);
}

Status SettingsStore::WriteValue(const QString& subKey, const QString& name, const QString& text) {
    QSettings settings(path_, registry_ ? QSettings::NativeFormat : QSettings::IniFormat);
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
    const QSettings settings(path_, registry_ ? QSettings::NativeFormat : QSettings::IniFormat);
    return settings.contains(KeyOf(subKey, name));
}

QHash<QString, QString> SettingsStore::ReadAllValues(const QString& subKey) const {
    QSettings settings(path_, registry_ ? QSettings::NativeFormat : QSettings::IniFormat);
    if (!subKey.isEmpty()) settings.beginGroup(EscapeSubKey(subKey));
    QHash<QString, QString> values;
    for (const QString& name : settings.childKeys())
        values.insert(name, TextOf(settings.value(name)));
    return values;
}

}  // namespace vorlix
