// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <optional>

namespace platform {

// What a file dialog is asked to show. The filter is one description with one pattern.
struct FileDialogRequest {
    QString startDirectory;
    QString filterDescription;
    QString filterPattern;
    QString defaultExtension; // added to a name typed without one; empty for none
};

// The modal dialogs the window uses. The program shows real ones; tests answer them from a script.
class Dialogs {
public:
    virtual ~Dialogs();

    // A message with a single OK button.
    virtual void message(const QString &text) = 0;
    // A question with Yes and No; true for Yes.
    virtual bool askYesNo(const QString &text) = 0;
    // The chosen full path, or nothing when the dialog was cancelled.
    virtual std::optional<QString> chooseFileToOpen(const FileDialogRequest &request) = 0;
    virtual std::optional<QString> chooseFileToSave(const FileDialogRequest &request) = 0;
};

} // namespace platform
