// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/report_page_pictures.h"

PictureMaker learnerPictureForPage()
{
    return [](const LearnerFigures &) { return QString(); };
}

ClassPictureMaker classPictureForPage()
{
    return [](const QList<LearnerFigures> &) { return QString(); };
}
