// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/teacher_dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPageLayout>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QRegularExpression>
#include <QUrl>

TeacherDialogs::~TeacherDialogs() = default;

void ShownTeacherDialogs::message(QWidget *parent, const QString &text)
{
    QMessageBox::information(parent, QStringLiteral("Vokalindo – tanári ablak"), text);
}

std::optional<QString> ShownTeacherDialogs::chooseFolder(QWidget *parent, const QString &title, const QString &start)
{
    const QString chosen = QFileDialog::getExistingDirectory(parent, title, start);
    return chosen.isEmpty() ? std::nullopt : std::optional(chosen);
}

QStringList ShownTeacherDialogs::chooseFilesToImport(QWidget *parent, const QString &start)
{
    return QFileDialog::getOpenFileNames(
        parent, QStringLiteral("Szójegyzékek importálása"), start,
        QStringLiteral("Táblázatok és szókártyák (*.csv *.tsv *.txt *.kvtml *.xml);;Minden fájl (*)"));
}

std::optional<QString> ShownTeacherDialogs::chooseFileToSave(QWidget *parent, const QString &title,
                                                             const QString &suggested, const QStringList &filters)
{
    QString filter = filters.value(0);
    QString chosen =
        QFileDialog::getSaveFileName(parent, title, suggested, filters.join(QStringLiteral(";;")), &filter);
    if (chosen.isEmpty())
        return std::nullopt;
    if (QFileInfo(chosen).suffix().isEmpty() && !extensionOfFilter(filter).isEmpty())
        chosen += QLatin1Char('.') + extensionOfFilter(filter);
    return chosen;
}

void ShownTeacherDialogs::printWithPreview(QWidget *parent, const QString &documentName,
                                           const std::function<void(QPrinter &)> &paint)
{
    QPrinter printer(QPrinter::HighResolution);
    prepareForPages(printer, documentName);
    QPrintPreviewDialog preview(&printer, parent);
    preview.setWindowTitle(QStringLiteral("Nyomtatási kép – %1").arg(documentName));
    QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, &preview,
                     [&paint](QPrinter *target) { paint(*target); });
    preview.resize(900, 1000);
    preview.exec();
}

bool ShownTeacherDialogs::openInBrowser(const QString &path)
{
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

void prepareForPages(QPrinter &printer, const QString &documentName)
{
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
    printer.setFullPage(true);
    printer.setDocName(documentName);
    printer.setCreator(QStringLiteral("Vokalindo – tanári ablak"));
}

QString extensionOfFilter(const QString &filter)
{
    static const QRegularExpression pattern(QStringLiteral("\\(\\*\\.([A-Za-z0-9]+)"));
    const QRegularExpressionMatch match = pattern.match(filter);
    return match.hasMatch() ? match.captured(1) : QString();
}
