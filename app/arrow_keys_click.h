// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QButtonGroup;

// The arrow keys between the option buttons of the group act as a click on the option they reach:
// its handler runs and has the last word on where the focus goes. (Qt clicks the option and then
// puts the focus on it, undoing a handler that moves the focus on.)
void arrowKeysClickOptions(QButtonGroup *group);
