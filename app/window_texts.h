// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

inline const QString kWindowCaption = QStringLiteral("Angol - Magyar - Angol   Vokalindo");
// Message boxes carry this title.
inline const QString kProgramTitle = QStringLiteral("Vokalindo");
// What the name box shows while no learner is picked.
inline const QString kChooseYourName = QStringLiteral("Válaszd ki a Neved!");
