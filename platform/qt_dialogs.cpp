// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt_dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace platform {

namespace {

// The program's texts break lines with CR LF, as its files do; a label wants a plain LF.
QString forDisplay(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (text.endsWith(QLatin1Char('\n')))
        text.chop(1);
    return text;
}

} // namespace

QtDialogs::QtDialogs(QString title) : m_title(std::move(title)) {}

void QtDialogs::message(const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, m_title, forDisplay(text), QMessageBox::Ok, m_window);
    box.exec();
}

bool QtDialogs::askYesNo(const QString &text)
{
    QMessageBox box(QMessageBox::Question, m_title, forDisplay(text), QMessageBox::Yes | QMessageBox::No, m_window);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::optional<QString> QtDialogs::chooseFileToOpen(const FileDialogRequest &request)
{
    return chooseFile(request, false);
}

std::optional<QString> QtDialogs::chooseFileToSave(const FileDialogRequest &request)
{
    return chooseFile(request, true);
}

std::optional<QString> QtDialogs::chooseFile(const FileDialogRequest &request, bool forSaving)
{
    QFileDialog dialog(m_window, m_title, request.startDirectory);
    dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // The program asks its own overwrite question; an open dialog accepts any typed name.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setNameFilter(QStringLiteral("%1 (%2)").arg(request.filterDescription, request.filterPattern));
    dialog.setDefaultSuffix(request.defaultExtension);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().constFirst();
}

} // namespace platform
