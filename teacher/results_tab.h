// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/class_report.h"
#include "teacher/class_folder.h"

#include <QWidget>

#include <atomic>
#include <memory>
#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
class QThread;
class QTimer;
class TeacherDialogs;

// The class table of the report, sortable; each learner's page on Enter or a double click; the whole
// report in the browser; the table as CSV. The logs are read in the background, with a progress bar
// when that takes more than a moment.
class ResultsTab final : public QWidget {
public:
    ResultsTab(TeacherDialogs &dialogs, QWidget *parent = nullptr);
    ~ResultsTab() override;

    void showFolder(const ClassFolder &folder);
    // Whether the logs are being read.
    bool reading() const { return m_reader != nullptr; }
    const std::optional<ClassReport> &report() const { return m_report; }

private:
    struct Progress {
        std::atomic<qsizetype> read = 0;
        std::atomic<qsizetype> of = 0;
    };
    void startReading(const QString &directory);
    void readingDone(std::optional<ClassReport> report);
    void fillTable();
    void openLearnerPage(int row);
    void openInBrowser();
    void saveCsv();

    TeacherDialogs &m_dialogs;
    QString m_directory;
    QString m_pendingDirectory;
    std::optional<ClassReport> m_report;
    QThread *m_reader = nullptr;
    std::shared_ptr<Progress> m_progress;
    QTimer *m_progressTimer;
    QProgressBar *m_progressBar;
    QLabel *m_status;
    QTableWidget *m_table;
    QPushButton *m_learnerPage;
    QPushButton *m_browser;
    QPushButton *m_csv;
};
