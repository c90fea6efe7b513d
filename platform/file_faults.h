#pragma once

#include <QtGlobal>

// A seam for tests: makes a coming file operation fail as a full disk or a failing device would,
// so that every way the program writes or reads can be shown to lose nothing. The program itself
// never plans a fault.
namespace platform {

enum class FileOperation {
    Read,          // reading a whole file
    Write,         // writing the bytes of a new file, or appending to one
    Rename,        // putting a completely written new file in the old one's place
    MakeDirectory, // creating a directory
};

// The operation fails after `skip` operations of its kind have gone through; a write first puts
// `bytesBeforeFailure` bytes on disk.
void planFileFault(FileOperation operation, int skip = 0, qint64 bytesBeforeFailure = 0);
void clearFileFaults();

// Called by the file operations: true when this one is to fail. A failing write gets how many
// bytes it may write first.
bool fileFaultDue(FileOperation operation, qint64 *bytesBeforeFailure = nullptr);

} // namespace platform
