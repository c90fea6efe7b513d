// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QCoreApplication;

// Loads Qt's own Hungarian texts (dialog buttons, file dialogs, edit menus), whatever the system's
// language. False when they could not be found.
bool installQtHungarianTranslations(QCoreApplication &application);
