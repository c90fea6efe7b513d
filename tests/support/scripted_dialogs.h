// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>

// Answers dialogs from a script and records what was shown; it never blocks.
// A dialog with no scripted answer is recorded as unexpected and answered No / cancelled.
class ScriptedDialogs final : public platform::Dialogs {
public:
    struct Shown {
        enum Kind { Message, Question, OpenFile, SaveFile } kind;
        QString text;                        // message and question text
        platform::FileDialogRequest request; // file dialogs
    };

    void answerYesNo(bool yes) { m_answers.enqueue(yes); }
    void chooseFile(const QString &path) { m_files.enqueue(path); }
    void cancelFileDialog() { m_files.enqueue(std::nullopt); }

    QList<Shown> shown;
    int unexpected = 0;

    QStringList messages() const;

    void message(const QString &text) override;
    bool askYesNo(const QString &text) override;
    std::optional<QString> chooseFileToOpen(const platform::FileDialogRequest &request) override;
    std::optional<QString> chooseFileToSave(const platform::FileDialogRequest &request) override;

private:
    std::optional<QString> nextFile(Shown::Kind kind, const platform::FileDialogRequest &request);

    QQueue<bool> m_answers;
    QQueue<std::optional<QString>> m_files;
};
