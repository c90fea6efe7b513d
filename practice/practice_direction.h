// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// The three ways a list is practised, as the practice setup screen offers them.
enum class PracticeDirection {
    EnglishHungarian, // "Angol-Magyar": the English side is shown, the Hungarian typed
    HungarianEnglish, // "Magyar-Angol": the reverse
    Mixed,            // "Vegyes felhozás": drawn for every question
};
