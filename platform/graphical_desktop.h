// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Whether a window can be shown at all, asked before Qt is started: without a desktop, Qt ends the
// program with an English message and an abort.
namespace platform {

// False only when the program would reach for a desktop that is not there; a platform plugin that
// needs none (offscreen, minimal, ...), set through QT_QPA_PLATFORM, counts as reachable.
bool graphicalDesktopReachable();

} // namespace platform
