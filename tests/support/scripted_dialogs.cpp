// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/scripted_dialogs.h"

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &dialog : shown) {
        if (dialog.kind == Shown::Message)
            texts.append(dialog.text);
    }
    return texts;
}

void ScriptedDialogs::message(const QString &text)
{
    shown.append({Shown::Message, text, {}});
}

bool ScriptedDialogs::askYesNo(const QString &text)
{
    shown.append({Shown::Question, text, {}});
    if (m_answers.isEmpty()) {
        ++unexpected;
        return false;
    }
    return m_answers.dequeue();
}

std::optional<QString> ScriptedDialogs::chooseFileToOpen(const platform::FileDialogRequest &request)
{
    return nextFile(Shown::OpenFile, request);
}

std::optional<QString> ScriptedDialogs::chooseFileToSave(const platform::FileDialogRequest &request)
{
    return nextFile(Shown::SaveFile, request);
}

std::optional<QString> ScriptedDialogs::nextFile(Shown::Kind kind, const platform::FileDialogRequest &request)
{
    shown.append({kind, QString(), request});
    if (m_files.isEmpty()) {
        ++unexpected;
        return std::nullopt;
    }
    return m_files.dequeue();
}
