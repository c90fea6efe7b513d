// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/results_tab.h"

#include "app/command_line_messages.h"
#include "platform/files.h"
#include "report/class_table.h"
#include "teacher/learner_page.h"
#include "teacher/report_page_pictures.h"
#include "teacher/sorted_cells.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/window_parts.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// Reading a class of a few learners takes a blink: the bar shows only when it takes longer.
constexpr int kProgressAfterMs = 300;
// A slice of reading between two turns of the window's events: short enough to go unnoticed.
constexpr int kReadingSliceMs = 30;
constexpr int kLearnerRole = Qt::UserRole + 3;

} // namespace

ResultsTab::ResultsTab(TeacherDialogs &dialogs, QWidget *parent) : QWidget(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("eredmenyekLap"));
    m_table = new QTableWidget(0, 8);
    m_table->setObjectName(QStringLiteral("eredmenyTabla"));
    m_table->setAccessibleName(QStringLiteral("Az osztály eredményei"));
    m_table->setHorizontalHeaderLabels({QStringLiteral("Név"), QStringLiteral("Futások"),
                                        QStringLiteral("Utolsó futás"), QStringLiteral("Gyakorolt szójegyzékek"),
                                        QStringLiteral("Hibák összesen"), QStringLiteral("Megmutatott válaszok"),
                                        QStringLiteral("„Csalás volt!” jelű futások"),
                                        QStringLiteral("Nem eredménysorok")});
    m_table->setSelectionMode(QAbstractItemView::SingleSelection);
    m_table->horizontalHeader()->setSectionsClickable(true);
    m_table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);

    m_progressBar = new QProgressBar;
    m_progressBar->setObjectName(QStringLiteral("beolvasas"));
    m_progressBar->setAccessibleName(QStringLiteral("Az eredménynaplók beolvasása"));
    m_progressBar->setFormat(QStringLiteral("%v / %m tanuló"));
    m_progressBar->hide();
    m_readingTimer = new QTimer(this);
    m_readingTimer->setInterval(0);
    connect(m_readingTimer, &QTimer::timeout, this, &ResultsTab::readSome);

    m_status = new QLabel;
    m_status->setObjectName(QStringLiteral("eredmenyAllapot"));
    m_status->setWordWrap(true);

    m_learnerPage = namedButton(QStringLiteral("&Tanuló lapja"), QStringLiteral("tanuloLapjaGomb"));
    m_browser = namedButton(QStringLiteral("Jelentés a &böngészőben"), QStringLiteral("bongeszobenGomb"));
    m_csv = namedButton(QStringLiteral("Mentés &CSV-fájlba…"), QStringLiteral("csvMentesGomb"));
    connect(m_learnerPage, &QPushButton::clicked, this, [this] {
        const QModelIndexList selected = m_table->selectionModel()->selectedRows();
        openLearnerPage(selected.isEmpty() ? m_table->currentRow() : selected.first().row());
    });
    connect(m_table, &QTableWidget::activated, this,
            [this](const QModelIndex &index) { openLearnerPage(index.row()); });
    connect(m_browser, &QPushButton::clicked, this, &ResultsTab::openInBrowser);
    connect(m_csv, &QPushButton::clicked, this, &ResultsTab::saveCsv);

    auto *tableLabel =
        new QLabel(QStringLiteral("E&redmények (a fejlécre kattintva rendezhető; Enter: a tanuló lapja):"));
    tableLabel->setBuddy(m_table);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_learnerPage);
    buttons->addStretch();
    buttons->addWidget(m_browser);
    buttons->addWidget(m_csv);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tableLabel);
    layout->addWidget(m_table, 1);
    layout->addWidget(m_progressBar);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    for (QPushButton *action : {m_learnerPage, m_browser, m_csv})
        action->setEnabled(false);
}

ResultsTab::~ResultsTab() = default;

void ResultsTab::showFolder(const ClassFolder &folder)
{
    // The learners at once; their figures when the logs are read.
    m_report.reset();
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setRowCount(int(folder.learners.size()));
    for (int row = 0; row < folder.learners.size(); ++row)
        m_table->setItem(row, 0, textCell(folder.learners[row]));
    for (QPushButton *action : {m_learnerPage, m_browser, m_csv})
        action->setEnabled(false);
    if (!folder.readable) {
        m_status->setText(QStringLiteral("A tanulók névsora nem olvasható."));
        return;
    }
    startReading(folder.directory);
}

void ResultsTab::startReading(const QString &directory)
{
    m_directory = directory;
    m_status->setText(QStringLiteral("Az eredménynaplók beolvasása…"));
    m_reading = ClassReportReading::begin(directory, QDateTime::currentDateTime());
    if (!m_reading) {
        readingDone(std::nullopt);
        return;
    }
    m_readingFor.start();
    m_progressBar->setMaximum(int(std::max<qsizetype>(1, m_reading->learnersToRead())));
    m_readingTimer->start();
}

void ResultsTab::readSome()
{
    QElapsedTimer slice;
    slice.start();
    while (!m_reading->done() && slice.elapsed() < kReadingSliceMs)
        m_reading->readNext();
    if (m_readingFor.elapsed() >= kProgressAfterMs) {
        m_progressBar->setValue(int(m_reading->learnersRead()));
        m_progressBar->show();
    }
    if (!m_reading->done())
        return;
    m_readingTimer->stop();
    m_progressBar->hide();
    ClassReport report = m_reading->take();
    m_reading.reset();
    readingDone(std::move(report));
}

void ResultsTab::readingDone(std::optional<ClassReport> report)
{
    m_report = std::move(report);
    if (!m_report) {
        m_status->setText(QStringLiteral("A tanulók névsora nem olvasható."));
        return;
    }
    fillTable();
    m_status->setText(
        QStringLiteral("%1 tanuló eredményei beolvasva%2.")
            .arg(m_report->learners.size())
            .arg(m_report->learnersLeftOut > 0
                     ? QStringLiteral(" (további %1 tanuló nem fért a jelentésbe)").arg(m_report->learnersLeftOut)
                     : QString()));
    for (QPushButton *action : {m_learnerPage, m_browser, m_csv})
        action->setEnabled(true);
}

void ResultsTab::fillTable()
{
    const QList<ClassTableRow> rows = classTableRows(*m_report);
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setRowCount(int(rows.size()));
    for (int row = 0; row < rows.size(); ++row) {
        const ClassTableRow &line = rows[row];
        QTableWidgetItem *name = textCell(line.name);
        name->setData(kLearnerRole, row);
        m_table->setItem(row, 0, name);
        m_table->setItem(row, 1, numberCell(line.runs));
        m_table->setItem(row, 2,
                         keyedCell(line.lastRunText.isEmpty() ? QStringLiteral("—") : line.lastRunText,
                                   line.lastRunDate ? line.lastRunDate->toString(Qt::ISODate) : QString()));
        QString lists = line.practisedLists.join(QStringLiteral(" · "));
        if (line.listsLeftOut > 0)
            lists += QStringLiteral(" és még %1").arg(line.listsLeftOut);
        QTableWidgetItem *listsCell = textCell(lists);
        listsCell->setToolTip(lists);
        m_table->setItem(row, 3, listsCell);
        m_table->setItem(row, 4, numberCell(line.wrongAnswers));
        m_table->setItem(row, 5, numberCell(line.shownAnswers));
        m_table->setItem(row, 6, numberCell(line.leftEarly));
        m_table->setItem(row, 7, numberCell(line.strayLines));
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    // The names of the lists would push the figures out of sight: the column is cut, its cells
    // hold the whole text as their tooltip.
    constexpr int kListsColumnWidth = 280;
    m_table->setColumnWidth(3, std::min(m_table->columnWidth(3), kListsColumnWidth));
}

void ResultsTab::openLearnerPage(int row)
{
    if (!m_report || row < 0 || !m_table->item(row, 0))
        return;
    const int learner = m_table->item(row, 0)->data(kLearnerRole).toInt();
    if (learner < 0 || learner >= m_report->learners.size())
        return;
    auto *page = new LearnerPage(m_report->learners[learner], window());
    page->setAttribute(Qt::WA_DeleteOnClose);
    page->open();
}

void ResultsTab::openInBrowser()
{
    if (!m_report)
        return;
    // In this account's own cache, readable by it alone: the page tells about every learner.
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
    const QString page = platform::joinPath(folder, QStringLiteral("osztalyjelentes.html"));
    if (!QDir().mkpath(folder) || outputTouchesData(page, m_directory, m_report->registryNames)
        || !platform::writeWholeFileAtomically(
            page, classReportHtml(*m_report, learnerPictureForPage(), classPictureForPage()),
            platform::NewFileAccess::OwnerOnly)) {
        m_dialogs.message(window(), QStringLiteral("A jelentés nem írható ki: %1 (%2)")
                                        .arg(QDir::toNativeSeparators(page),
                                             commandline::lastFileFailureReason(commandline::FileUse::Writing)));
        return;
    }
    if (!m_dialogs.openInBrowser(page))
        m_dialogs.message(
            window(),
            QStringLiteral("Nem nyílt meg a böngésző. A jelentés itt van: %1").arg(QDir::toNativeSeparators(page)));
}

void ResultsTab::saveCsv()
{
    if (!m_report)
        return;
    const std::optional<QString> output =
        m_dialogs.chooseFileToSave(window(), QStringLiteral("Az eredménytáblázat mentése"),
                                   QDir::home().filePath(QStringLiteral("eredmenyek.csv")),
                                   {QStringLiteral("CSV-fájl, táblázatkezelőnek (*.csv)")});
    if (!output)
        return;
    // Like the page, the table tells about every learner: never among their data.
    if (outputTouchesData(*output, m_directory, m_report->registryNames)) {
        m_dialogs.message(window(),
                          QStringLiteral("A táblázat nem írható ide, mert a tanulók adatai közé kerülne, vagy "
                                         "mások által írható mappában lévő hivatkozás: %1")
                              .arg(QDir::toNativeSeparators(*output)));
        return;
    }
    if (!platform::writeWholeFileAtomically(*output, classTableCsv(classTableRows(*m_report)),
                                            platform::NewFileAccess::OwnerOnly))
        m_dialogs.message(window(), QStringLiteral("Nem írható ki: %1 (%2)")
                                        .arg(QDir::toNativeSeparators(*output),
                                             commandline::lastFileFailureReason(commandline::FileUse::Writing)));
}
