// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "report/class_report.h"
#include "teacher/class_folder.h"

#include <QElapsedTimer>
#include <QWidget>

#include <optional>

class QLabel;
class QProgressBar;
class QPushButton;
class QTableWidget;
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
    bool reading() const { return m_reading.has_value(); }
    const std::optional<ClassReport> &report() const { return m_report; }

private:
    void startReading(const QString &directory);
    void readSome();
    void readingDone(std::optional<ClassReport> report);
    void fillTable();
    void openLearnerPage(int row);
    void openInBrowser();
    void saveCsv();

    TeacherDialogs &m_dialogs;
    QString m_directory;
    std::optional<ClassReport> m_report;
    // Read a few learners at a time between the window's events, so that it keeps answering.
    std::optional<ClassReportReading> m_reading;
    QTimer *m_readingTimer;
    QElapsedTimer m_readingFor;
    QProgressBar *m_progressBar;
    QLabel *m_status;
    QTableWidget *m_table;
    QPushButton *m_learnerPage;
    QPushButton *m_browser;
    QPushButton *m_csv;
};
