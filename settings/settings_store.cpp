// The settings store on QSettings' INI format: one value per name, stored as its raw bytes.
#include "settings/settings_store.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QString>
#include <QVariant>

#include <cstring>

#include "engine/config_dir.h"

namespace morvane {

namespace {

QString StorePath() {
    return QString::fromStdString(SettingsFilePath());
}

QByteArray LittleEndian32(std::uint32_t value) {
    QByteArray bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// A number a person typed into the file ("GBTAB=0", "mode=0x2") reads as the 4-byte value
// a program would have stored; anything else typed by hand is not a value of ours.
bool ParseHandTypedInteger(const QString& typed, QByteArray& bytes) {
    QString text = typed.trimmed();
    bool ok = false;
    qlonglong value = 0;
    if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive))
        value = text.mid(2).toLongLong(&ok, 16);
    else
        value = text.toLongLong(&ok, 10);
    if (!ok || value < INT32_MIN || value > static_cast<qlonglong>(UINT32_MAX))
        return false;
    bytes = LittleEndian32(static_cast<std::uint32_t>(value));
    return true;
}

// The raw read: the stored bytes of name, or false when there is no usable value.
bool QuerySettingValue(const char* name, QByteArray& bytes) {
    const QString path = StorePath();
    // A folder or an unreadable file where the store should be means defaults.
    const QFileInfo info(path);
    if (info.exists() && (!info.isFile() || !info.isReadable()))
        return false;
    QSettings store(path, QSettings::IniFormat);
    if (store.status() != QSettings::NoError)
        return false;
    const QVariant value = store.value(QLatin1String(name));
    switch (value.typeId()) {
    case QMetaType::QByteArray:
        bytes = value.toByteArray();
        return true;
    case QMetaType::QString:
        return ParseHandTypedInteger(value.toString(), bytes);
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return ParseHandTypedInteger(value.toString(), bytes);
    default:
        return false;
    }
}

// The raw write. QSettings replaces the file through QSaveFile (its atomic sync, which we
// insist on), so a crash or a full disk leaves the previous file whole.
bool StoreSettingValue(const char* name, const QByteArray& bytes) {
    const QString path = StorePath();
    QDir().mkpath(QFileInfo(path).absolutePath());
    // Never put a regular file in the place of a device, a FIFO or a folder by a rename.
    if (const QFileInfo target(path); target.exists() && !target.isFile())
        return false;
    {
        QSettings store(path, QSettings::IniFormat);
        store.setAtomicSyncRequired(true);
        // Reads already treat a damaged file as empty; writing starts it afresh.
        if (store.status() == QSettings::FormatError)
            store.clear();
        store.setValue(QLatin1String(name), bytes);
        store.sync();
    }
    // QSettings keeps reporting the damage it read, so judge the write by reading it back.
    QByteArray stored;
    return QuerySettingValue(name, stored) && stored == bytes;
}

} // namespace

std::string SettingsFilePath() {
    return ConfigDir() + "/Morvane.conf";
}

bool ReadSetting(const char* name, void* buffer, std::size_t size) {
    QByteArray bytes;
    if (!QuerySettingValue(name, bytes) || static_cast<std::size_t>(bytes.size()) != size)
        return false;
    if (size > 0)
        std::memcpy(buffer, bytes.constData(), size);
    return true;
}

bool WriteSetting(const char* name, const void* data, std::size_t size) {
    return StoreSettingValue(
        name, QByteArray(static_cast<const char*>(data), static_cast<qsizetype>(size)));
}

bool ReadSettingInt32(const char* name, std::int32_t& value) {
    unsigned char bytes[4];
    if (!ReadSetting(name, bytes, sizeof bytes))
        return false;
    const std::uint32_t raw = std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 |
                              std::uint32_t(bytes[2]) << 16 | std::uint32_t(bytes[3]) << 24;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool WriteSettingInt32(const char* name, std::int32_t value) {
    const QByteArray bytes = LittleEndian32(static_cast<std::uint32_t>(value));
    return WriteSetting(name, bytes.constData(), 4);
}

bool ReadGlossarySwitch() {
    std::int32_t value = 1;
    if (!ReadSettingInt32("GBTAB", value))
        return true;
    return value != 0;
}

} // namespace morvane
