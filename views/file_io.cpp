// File reads and QSaveFile writes for the panes and the glossary editor.
#include "views/file_io.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cerrno>
#include <cstring>

namespace morvane {

bool ReadFileBytes(const QString& path, Bytes& bytes, QString& reason) {
    // Opening a folder for reading can succeed; reading it cannot.
    if (QFileInfo(path).isDir()) {
        reason = QString::fromLocal8Bit(std::strerror(EISDIR));
        return false;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        reason = file.errorString();
        return false;
    }
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

namespace {

// A device or FIFO (also behind a link) is written into: replacing it by a rename would put
// a regular file where the device was.
bool WriteIntoSpecialFile(const QString& path, const Bytes& bytes, QString& reason) {
    QFile file(path);
    const auto size = static_cast<qint64>(bytes.size());
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes.data(), size) != size ||
        !file.flush()) {
        reason = file.errorString();
        return false;
    }
    file.close();
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace

bool WriteFileAtomically(const QString& path, const Bytes& bytes, QString& reason) {
    const QFileInfo target(path);
    if (target.exists() && !target.isFile() && !target.isDir())
        return WriteIntoSpecialFile(path, bytes, reason);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        reason = file.errorString();
        return false;
    }
    const auto size = static_cast<qint64>(bytes.size());
    if (file.write(bytes.data(), size) != size) {
        reason = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        reason = file.errorString();
        return false;
    }
    return true;
}

} // namespace morvane
