// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "teacher/class_folder.h"

#include <QMainWindow>

class ListsTab;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTabWidget;
class ResultsTab;
class TeacherDialogs;

// "Vokalindo – tanári ablak": a class folder's learners, lists and results, and what is wrong with
// its set-up. Files dropped on it are imported.
class TeacherWindow final : public QMainWindow {
public:
    TeacherWindow(TeacherDialogs &dialogs, QWidget *parent = nullptr);

    void openFolder(const QString &directory);
    void reopen() { openFolder(m_folder.directory); }
    const ClassFolder &folder() const { return m_folder; }
    ListsTab *listsTab() const { return m_lists; }
    ResultsTab *resultsTab() const { return m_results; }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void chooseFolder();

    TeacherDialogs &m_dialogs;
    ClassFolder m_folder;
    QLineEdit *m_path;
    QPlainTextEdit *m_advice;
    QTabWidget *m_tabs;
    ListsTab *m_lists;
    ResultsTab *m_results;
};

// The local files among dropped URLs.
QStringList droppedFiles(const QList<QUrl> &urls);
