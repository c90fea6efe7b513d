// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "failures/failure_codes.h"
#include "platform/files.h"

// The code of a failed file step: its own, or LinkRefused when the step stopped at a link that
// someone else may have planted, so that a learner who reports it tells us which it was.
inline FailureCode unlessRefusedLink(FailureCode code)
{
    return platform::lastFailureWasRefusedLink() ? FailureCode::LinkRefused : code;
}
