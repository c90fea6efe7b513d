#include "platform/files.h"

#include "platform/file_faults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <unistd.h>

namespace platform {

QString joinPath(const QString &directory, const QString &name)
{
    return directory + QDir::separator() + name;
}

std::optional<QByteArray> readWholeFile(const QString &path)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError || fileFaultDue(FileOperation::Read))
        return std::nullopt;
    return bytes;
}

namespace {

// Writes the bytes, or as many as a planned fault lets through before it fails.
bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    qint64 bytesBeforeFailure = 0;
    if (fileFaultDue(FileOperation::Write, &bytesBeforeFailure)) {
        file.write(bytes.left(bytesBeforeFailure));
        file.flush();
        return false;
    }
    return file.write(bytes) == bytes.size();
}

} // namespace

bool writeWholeFileAtomically(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!writeAll(file, bytes) || fileFaultDue(FileOperation::Rename)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

bool appendToExistingFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::WriteOnly | QIODevice::Append | QIODevice::ExistingOnly))
        return false;
    const qint64 oldSize = file.size();
    const bool written = writeAll(file, bytes) && file.flush() && ::fsync(file.handle()) == 0;
    if (!written)
        file.resize(oldSize);
    return written;
}

MakeDirectoryResult makeDirectory(const QString &path)
{
    if (QFileInfo::exists(path) || QFileInfo(path).isSymLink())
        return MakeDirectoryResult::AlreadyExists;
    if (fileFaultDue(FileOperation::MakeDirectory))
        return MakeDirectoryResult::Failed;
    return QDir().mkdir(path) ? MakeDirectoryResult::Created : MakeDirectoryResult::Failed;
}

bool pathExists(const QString &path)
{
    return QFileInfo::exists(path);
}

bool isDirectory(const QString &path)
{
    return QFileInfo(path).isDir();
}

bool removeFile(const QString &path)
{
    return QFile::remove(path);
}

bool removeEmptyDirectory(const QString &path)
{
    return QDir().rmdir(path);
}

} // namespace platform
