// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool installQtHungarianTranslations(QCoreApplication &application)
{
    auto *translator = new QTranslator(&application);
    // Built in where the system has no Qt of its own (Windows); otherwise the system's.
    if (!translator->load(QStringLiteral("qtbase_hu"), QStringLiteral(":/translations"))
        && !translator->load(QStringLiteral("qtbase_hu"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}
