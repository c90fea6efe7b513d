// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/class_report.h"

// The pictures of the report page the window opens in the browser: the command-line report's own
// where Qt Charts is built, none where it is not (the page then says so by leaving them out).
PictureMaker learnerPictureForPage();
ClassPictureMaker classPictureForPage();
