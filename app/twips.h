// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The layout is measured in twips; the window draws 15 of them to a (logical) pixel.
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips)
{
    return twips / kTwipsPerPixel;
}
