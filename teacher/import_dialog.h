// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/list_files.h"

#include <QDialog>
#include <QList>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;
class QTableWidget;
class TeacherDialogs;

// Where an import may write: the folders of the class the teacher can pick from.
struct ImportTarget {
    QString label;
    QString directory;
};

// The lists an import would make, all of them checked before any is written.
struct ImportPlan {
    QList<ListFile> files;
    QList<qsizetype> sourceOfFile; // the source each file is made from
    QStringList problems;          // why nothing may be written yet; empty when all may be
};

// The sources' pairs as lists named by `names` (one name a source), at most `maxLists` of them.
ImportPlan planImport(const QList<ImportSource> &sources, const QStringList &names, qsizetype maxLists);

// Every pair of the dropped or chosen files, and every row that cannot be taken with its reason,
// before anything is written. The teacher names the lists and picks the folder; "Írás" writes them
// all or none.
class ImportDialog final : public QDialog {
public:
    ImportDialog(QList<ImportSource> sources, QList<ImportTarget> targets, TeacherDialogs &dialogs,
                 QWidget *parent = nullptr);

    // The files made by the last write, for the window to show them.
    const QStringList &written() const { return m_written; }

private:
    void showPlan();
    void chooseOtherFolder(int index);
    void write();

    QList<ImportSource> m_sources;
    TeacherDialogs &m_dialogs;
    ImportPlan m_plan;
    QStringList m_written;
    QTableWidget *m_sourceTable;
    QTableWidget *m_pairTable;
    QTableWidget *m_problemTable;
    QLabel *m_summary;
    QComboBox *m_target;
    QPushButton *m_write;
};
