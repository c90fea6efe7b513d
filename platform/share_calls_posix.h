// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/share_stall.h"

#include <sys/stat.h>
#include <sys/types.h>

// Calls of platform/files done the way network shares allow. Each returns as the system call it
// stands for would: 0, or -1 with errno set.
namespace platform {

// Gives the file `from` the free name `to`, both in `directory`, on a share that has neither an
// exclusive rename nor hard links (SMB through libsmbclient): the name is claimed with
// O_CREAT|O_EXCL, which the server decides, and the file renamed over the claim. Until then the
// claim is an empty file; a maker killed in between leaves it so.
int claimAndRenameAt(int directory, const char *from, const char *to);

// renameat(2) over a file, waiting up to two seconds while a share refuses because another computer
// has the file open (smbnetfs says EEXIST, the kernel's SMB client EBUSY): a reader there is done
// within moments, and a list save should not fail for it.
int renameReplacingAt(int directory, const char *from, const char *to);

// unlinkat(2), waiting the same two seconds while a share refuses with EBUSY because another
// computer has the file open (SMB, where a file that is open cannot go), or, for a directory
// (AT_REMOVEDIR), with ENOTEMPTY while a file removed from it is still open there.
int unlinkWaitingAt(int directory, const char *name, int flags = 0);

// The file's size as its server has it now, not as this computer last saw it: an append through
// FUSE lands at the size the kernel holds, and another computer may have appended since.
off_t currentSize(int descriptor);

// fstatat(2) without following a link, asking the server rather than the cache: a FUSE share
// (sshfs, smbnetfs) keeps what it last saw of a file for a while, so that a file another computer
// has just made, grown or replaced looks as it was.
int currentStatusAt(int directory, const char *name, struct stat *status);

} // namespace platform
