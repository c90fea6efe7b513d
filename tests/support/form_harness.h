// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/main_window.h"
#include "support/fixed_clock.h"
#include "support/fixed_random.h"
#include "support/screen_tables.h"
#include "support/scripted_dialogs.h"

#include <QByteArray>
#include <QSet>
#include <QString>
#include <QTemporaryDir>
#include <QWidget>

#include <memory>

// A window in a start directory of its own, with dialogs answered from a script, random numbers
// from a list and a clock that stands still.
class FormHarness {
public:
    // Writes init.usr with these bytes; nullptr leaves the start directory without a registry.
    // The start directory is made inside `parentDirectory` when one is given (a small file system,
    // a network share), otherwise in the system's temporary directory.
    explicit FormHarness(const char *registry = "", const QString &parentDirectory = QString());

    // Form_Load, then shows and activates the window. False when start-up refused to go on.
    bool start();

    QString path(const QString &relative) const;
    QByteArray fileBytes(const QString &relative) const;

    template <typename Control = QWidget>
    Control *control(const char *name) const
    {
        auto *found = form->findChild<Control *>(QString::fromUtf8(name));
        if (!found)
            qFatal("no control named %s", name);
        return found;
    }

    void click(const char *name) const;
    void typeInto(const char *name, const QString &text) const;
    void pressEnter(const char *name) const;
    // Picks the entry from Combo1's drop-down list as a person does: open it, choose, Enter.
    void pickName(const QString &name) const;
    // "Új Név Felvétele", the name, Enter.
    void addLearner(const QString &name) const;

    QSet<QString> visibleControls() const;

    QTemporaryDir startDirectory;
    ScriptedDialogs dialogs;
    FixedRandom random;
    FixedClock clock;
    std::unique_ptr<Form1> form;
};

// Types as a person does, one key at a time, any letter.
void typeText(QWidget *widget, const QString &text);
