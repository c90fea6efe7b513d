// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"
#include "teacher/class_folder.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTableWidget;
class TeacherDialogs;

// The class's lists: the shared lists folder and the learners' folders in one table, and the
// learners beside it; import, export and print.
class ListsTab final : public QWidget {
public:
    ListsTab(TeacherDialogs &dialogs, QWidget *parent = nullptr);

    void showFolder(const ClassFolder &folder);
    // Files of other programs (dropped, or chosen in the dialog) read and shown before anything is
    // written. Then `written` is called, when the teacher wrote them.
    void importFiles(const QStringList &paths);
    void setOnWritten(std::function<void()> written) { m_onWritten = std::move(written); }

private:
    QStringList selectedPaths() const;
    // The selected lists read, or none (and the teacher told why) when one of them cannot be.
    QList<NamedList> readSelected();
    void chooseAndImport();
    void exportSelected();
    void printSelected();

    TeacherDialogs &m_dialogs;
    ClassFolder m_folder;
    std::function<void()> m_onWritten;
    QListWidget *m_learners;
    QTableWidget *m_table;
    QLabel *m_summary;
    QComboBox *m_printKind;
    QPushButton *m_export;
    QPushButton *m_print;
};
