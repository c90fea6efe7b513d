// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/dialogs.h"

#include <QPointer>
#include <QWidget>

namespace platform {

// Qt's own message boxes and file dialogs, titled with the program's title and modal to the window.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QString title);

    void setParentWindow(QWidget *window) { m_window = window; }

    void message(const QString &text) override;
    bool askYesNo(const QString &text) override;
    std::optional<QString> chooseFileToOpen(const FileDialogRequest &request) override;
    std::optional<QString> chooseFileToSave(const FileDialogRequest &request) override;

private:
    std::optional<QString> chooseFile(const FileDialogRequest &request, bool forSaving);

    QString m_title;
    QPointer<QWidget> m_window;
};

} // namespace platform
