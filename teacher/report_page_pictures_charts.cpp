// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/report_page_pictures.h"

#include "report/report_pictures.h"

PictureMaker learnerPictureForPage()
{
    return learnerPictureSvg;
}

ClassPictureMaker classPictureForPage()
{
    return classPictureSvg;
}
