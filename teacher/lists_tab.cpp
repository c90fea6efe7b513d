// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/lists_tab.h"

#include "app/command_line_messages.h"
#include "lists/kvtml.h"
#include "lists/list_export.h"
#include "lists/list_files.h"
#include "lists/list_print.h"
#include "platform/files.h"
#include "teacher/import_dialog.h"
#include "teacher/sorted_cells.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/window_parts.h"
#include "users/user_directory.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPrinter>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

constexpr int kPathRole = Qt::UserRole + 2;

} // namespace

ListsTab::ListsTab(TeacherDialogs &dialogs, QWidget *parent) : QWidget(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("szojegyzekekLap"));
    m_learners = new QListWidget;
    m_learners->setObjectName(QStringLiteral("tanulok"));
    m_learners->setAccessibleName(QStringLiteral("Tanulók"));

    m_table = readOnlyTable(QStringLiteral("szojegyzekTabla"), QStringLiteral("Az osztály szójegyzékei"),
                            {QStringLiteral("Név"), QStringLiteral("Szópárok"), QStringLiteral("Hol"),
                             QStringLiteral("Utoljára módosítva")});
    m_table->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_table->horizontalHeader()->setSortIndicator(0, Qt::AscendingOrder);

    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("szojegyzekOsszegzes"));
    m_summary->setWordWrap(true);

    QPushButton *import = namedButton(QStringLiteral("&Importálás…"), QStringLiteral("importalasGomb"));
    import->setToolTip(QStringLiteral("Táblázat, KVTML vagy szókártyák szövege; a fájlok az ablakra is húzhatók."));
    m_export = namedButton(QStringLiteral("E&xportálás…"), QStringLiteral("exportalasGomb"));
    m_printKind = new QComboBox;
    m_printKind->setObjectName(QStringLiteral("nyomtatasFajta"));
    m_printKind->setAccessibleName(QStringLiteral("Mit nyomtasson"));
    m_printKind->addItem(QStringLiteral("Szójegyzék táblázatban"), int(PrintKind::List));
    m_printKind->addItem(QStringLiteral("Dolgozat: angolból magyarra"), int(PrintKind::TestEnglish));
    m_printKind->addItem(QStringLiteral("Dolgozat: magyarból angolra"), int(PrintKind::TestHungarian));
    m_printKind->addItem(QStringLiteral("Szókártyák"), int(PrintKind::Cards));
    m_print = namedButton(QStringLiteral("N&yomtatás…"), QStringLiteral("nyomtatasGomb"));

    connect(import, &QPushButton::clicked, this, &ListsTab::chooseAndImport);
    connect(m_export, &QPushButton::clicked, this, &ListsTab::exportSelected);
    connect(m_print, &QPushButton::clicked, this, &ListsTab::printSelected);
    connect(m_table, &QTableWidget::itemSelectionChanged, this, [this] {
        const bool chosen = !selectedPaths().isEmpty();
        m_export->setEnabled(chosen);
        m_print->setEnabled(chosen);
    });
    m_export->setEnabled(false);
    m_print->setEnabled(false);

    auto *splitter = new QSplitter;
    splitter->addWidget(labelledPane(QStringLiteral("&Tanulók:"), m_learners));
    splitter->addWidget(
        labelledPane(QStringLiteral("S&zójegyzékek (a közös mappában és a tanulók mappáiban):"), m_table));
    splitter->setStretchFactor(1, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(import);
    buttons->addWidget(m_export);
    buttons->addStretch();
    auto *printLabel = new QLabel(QStringLiteral("&Nyomtatandó:"));
    printLabel->setBuddy(m_printKind);
    buttons->addWidget(printLabel);
    buttons->addWidget(m_printKind);
    buttons->addWidget(m_print);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_summary);
    layout->addLayout(buttons);
}

void ListsTab::showFolder(const ClassFolder &folder)
{
    m_folder = folder;
    m_learners->clear();
    m_learners->addItems(folder.learners);
    m_table->setSortingEnabled(false);
    m_table->clearContents();
    m_table->setRowCount(int(folder.lists.size()));
    for (int row = 0; row < folder.lists.size(); ++row) {
        const ClassListFile &list = folder.lists[row];
        QTableWidgetItem *name = textCell(list.name);
        name->setData(kPathRole, list.path);
        name->setToolTip(QDir::toNativeSeparators(list.path));
        m_table->setItem(row, 0, name);
        m_table->setItem(row, 1, list.pairs ? numberCell(*list.pairs) : keyedCell(QStringLiteral("hibás fájl"), {}));
        m_table->setItem(row, 2,
                         textCell(list.owner.isEmpty() ? QStringLiteral("közös (%1)").arg(kSharedListsFolder)
                                                       : QStringLiteral("%1 mappája").arg(list.owner)));
        m_table->setItem(row, 3,
                         keyedCell(QLocale(QLocale::Hungarian, QLocale::Hungary)
                                       .toString(list.changed, QStringLiteral("yyyy. MM. dd. HH:mm")),
                                   list.changed.toString(Qt::ISODate)));
    }
    m_table->setSortingEnabled(true);
    m_table->resizeColumnsToContents();
    m_summary->setText(
        QStringLiteral("%1 tanuló, %2 szójegyzék%3")
            .arg(folder.learners.size())
            .arg(folder.lists.size())
            .arg(folder.listsLeftOut > 0
                     ? QStringLiteral(" (és még %1, amely nem fért a táblázatba)").arg(folder.listsLeftOut)
                     : QString()));
}

QStringList ListsTab::selectedPaths() const
{
    QStringList paths;
    for (const QModelIndex &row : m_table->selectionModel()->selectedRows())
        paths.append(m_table->item(row.row(), 0)->data(kPathRole).toString());
    return paths;
}

QList<NamedList> ListsTab::readSelected()
{
    QList<NamedList> lists;
    for (const QString &path : selectedPaths()) {
        ListFileReading reading = readListFile(path);
        if (!reading.list) {
            m_dialogs.message(window(), reading.problem);
            return {};
        }
        lists.append(std::move(*reading.list));
    }
    return lists;
}

void ListsTab::chooseAndImport()
{
    const QStringList paths = m_dialogs.chooseFilesToImport(window(), QDir::homePath());
    if (!paths.isEmpty())
        importFiles(paths);
}

void ListsTab::importFiles(const QStringList &paths)
{
    QList<ImportSource> sources;
    for (const QString &path : paths)
        sources.append(readImportSource(path, kDefaultMaxLists));
    QList<ImportTarget> targets;
    const QString shared = sharedListsDirectory(m_folder.directory);
    if (platform::isDirectory(shared))
        targets.append(
            {QStringLiteral("A közös szójegyzékek mappája (%1)").arg(QDir::toNativeSeparators(shared)), shared});
    for (const QString &learner : std::as_const(m_folder.learners)) {
        const std::optional<QString> own = userDirectoryPath(m_folder.directory, learner);
        if (own && platform::isDirectory(*own))
            targets.append({QStringLiteral("%1 mappája").arg(learner), *own});
    }
    auto *dialog = new ImportDialog(sources, targets, m_dialogs, window());
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        m_dialogs.message(window(), QStringLiteral("%1 szójegyzék készült:\n%2")
                                        .arg(dialog->written().size())
                                        .arg(QDir::toNativeSeparators(dialog->written().join(QLatin1Char('\n')))));
        if (m_onWritten)
            m_onWritten();
    });
    dialog->open();
}

void ListsTab::exportSelected()
{
    const QStringList paths = selectedPaths();
    const QList<NamedList> lists = readSelected();
    if (lists.isEmpty())
        return;
    const QString csv = QStringLiteral("CSV-fájl, táblázatkezelőnek (*.csv)");
    const QString tsv = QStringLiteral("Tabulátorokkal tagolt szöveg (*.tsv)");
    const QString kvtml = QStringLiteral("KVTML, más szótanulóknak (*.kvtml)");
    const std::optional<QString> output = m_dialogs.chooseFileToSave(
        window(), QStringLiteral("Szójegyzékek exportálása"),
        QDir::home().filePath(lists.first().name + QStringLiteral(".csv")), {csv, tsv, kvtml});
    if (!output)
        return;
    const QString extension = QFileInfo(*output).suffix().toLower();
    const QByteArray bytes = extension == QLatin1String("kvtml") || extension == QLatin1String("xml")
                                 ? kvtmlOfLists(lists, QFileInfo(*output).completeBaseName())
                             : extension == QLatin1String("tsv") || extension == QLatin1String("txt")
                                 ? tsvOfLists(lists)
                                 : csvOfLists(lists);
    if (isOneOfTheFiles(*output, paths)) {
        m_dialogs.message(window(), QStringLiteral("A kimenet nem lehet az egyik beolvasott szójegyzék: %1")
                                        .arg(QDir::toNativeSeparators(*output)));
        return;
    }
    if (!platform::writeWholeFileAtomically(*output, bytes))
        m_dialogs.message(window(), QStringLiteral("Nem írható ki: %1 (%2)")
                                        .arg(QDir::toNativeSeparators(*output),
                                             commandline::lastFileFailureReason(commandline::FileUse::Writing)));
}

void ListsTab::printSelected()
{
    const QList<NamedList> lists = readSelected();
    if (lists.isEmpty())
        return;
    const QList<PrintedPage> pages = pagesOf(lists, PrintKind(m_printKind->currentData().toInt()));
    m_dialogs.printWithPreview(window(), documentTitleOf(pages),
                               [&pages](QPrinter &printer) { paintPages(printer, pages); });
}
