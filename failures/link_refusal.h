// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "failures/failure_codes.h"
#include "platform/file_trail.h"
#include "platform/files.h"

#include <cerrno>
#include <cstring>

// The code of a failed file step: its own, or LinkRefused when the step stopped at a link that
// someone else may have planted, so that a learner who reports it tells us which it was. The
// system's error behind it goes to the support trail (platform/file_trail.h).
inline FailureCode unlessRefusedLink(FailureCode code)
{
    const int error = errno;
    const FailureCode shown = platform::lastFailureWasRefusedLink() ? FailureCode::LinkRefused : code;
    qCInfo(lcFiles).nospace() << "failure code " << int(shown) << ": " << std::strerror(error);
    return shown;
}
