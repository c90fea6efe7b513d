// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class QPrinter;
class QWidget;

// The dialogs and the outside programs the teacher's window reaches for. The program shows real
// ones; tests answer them from a script.
class TeacherDialogs {
public:
    virtual ~TeacherDialogs();

    virtual void message(QWidget *parent, const QString &text) = 0;
    virtual std::optional<QString> chooseFolder(QWidget *parent, const QString &title, const QString &start) = 0;
    // Files of other programs to import; empty when cancelled.
    virtual QStringList chooseFilesToImport(QWidget *parent, const QString &start) = 0;
    // A file to write: `filters` as Qt's file dialogs take them; the chosen path, with the
    // extension of the chosen filter when none was typed.
    virtual std::optional<QString> chooseFileToSave(QWidget *parent, const QString &title, const QString &suggested,
                                                    const QStringList &filters) = 0;
    // The pages shown before they are printed, on a printer or into a PDF; `paint` draws them.
    virtual void printWithPreview(QWidget *parent, const QString &documentName,
                                  const std::function<void(QPrinter &)> &paint) = 0;
    // A page written for the teacher, opened in the browser.
    virtual bool openInBrowser(const QString &path) = 0;
};

// The real ones.
class ShownTeacherDialogs final : public TeacherDialogs {
public:
    void message(QWidget *parent, const QString &text) override;
    std::optional<QString> chooseFolder(QWidget *parent, const QString &title, const QString &start) override;
    QStringList chooseFilesToImport(QWidget *parent, const QString &start) override;
    std::optional<QString> chooseFileToSave(QWidget *parent, const QString &title, const QString &suggested,
                                            const QStringList &filters) override;
    void printWithPreview(QWidget *parent, const QString &documentName,
                          const std::function<void(QPrinter &)> &paint) override;
    bool openInBrowser(const QString &path) override;
};

// A printer set up for the pages: A4, the whole sheet (the pages keep their own margins).
void prepareForPages(QPrinter &printer, const QString &documentName);

// The filter's first pattern as an extension ("CSV-fájl (*.csv)" gives "csv"); empty for none.
QString extensionOfFilter(const QString &filter);
