#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// Whole-file reads and writes. Nothing here knows what the files mean.
namespace platform {

QString joinPath(const QString &directory, const QString &name);

std::optional<QByteArray> readWholeFile(const QString &path);

// The old file, if any, is replaced only once the new content is complete on disk.
bool writeWholeFileAtomically(const QString &path, const QByteArray &bytes);

// Adds bytes at the end of an existing file without rewriting what is there.
// A write that fails part-way is cut back, so the file keeps exactly its old bytes.
bool appendToExistingFile(const QString &path, const QByteArray &bytes);

enum class MakeDirectoryResult { Created, AlreadyExists, Failed };
MakeDirectoryResult makeDirectory(const QString &path);

bool pathExists(const QString &path);
bool isDirectory(const QString &path);
bool removeFile(const QString &path);
bool removeEmptyDirectory(const QString &path);

} // namespace platform
