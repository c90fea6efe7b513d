// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/import_dialog.h"

#include "platform/files.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/window_parts.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidgetItem *cell(const QString &text)
{
    auto *item = new QTableWidgetItem(text);
    item->setFlags(item->flags() & ~Qt::ItemIsEditable);
    return item;
}

QString fileName(const QString &path)
{
    return QFileInfo(path).fileName();
}

} // namespace

ImportPlan planImport(const QList<ImportSource> &sources, const QStringList &names, qsizetype maxLists)
{
    ImportPlan plan;
    for (qsizetype index = 0; index < sources.size(); ++index) {
        const ImportSource &source = sources[index];
        const QString name = names.value(index).trimmed();
        if (!source.problem.isEmpty()) {
            plan.problems.append(source.problem);
            continue;
        }
        const ImportReading &reading = source.reading;
        if (reading.problemCount > 0)
            plan.problems.append(
                QStringLiteral("%1: %2 sor nem vehető át (lásd alább); javítsd ki a fájlt, vagy hagyd ki.")
                    .arg(fileName(source.path))
                    .arg(reading.problemCount));
        else if (reading.pairCount == 0)
            plan.problems.append(QStringLiteral("%1: nincs benne egy szópár sem.").arg(fileName(source.path)));
        if (!isUsableListName(name))
            plan.problems.append(
                QStringLiteral("%1: nem használható szójegyzéknév: „%2”").arg(fileName(source.path), name));
        // The pairs that can be taken are shown in their lists even while other rows hold it back.
        for (const ListFile &file :
             listFilesOf(reading.pairs, isUsableListName(name) ? name : QStringLiteral("?"), reading.listSizes)) {
            plan.files.append(file);
            plan.sourceOfFile.append(index);
        }
    }
    const qsizetype pairs = [&] {
        qsizetype count = 0;
        for (const ImportSource &source : sources)
            count += source.reading.pairCount;
        return count;
    }();
    if (plan.files.size() > maxLists || pairs > maxLists * kMaxPairs)
        plan.problems.append(
            QStringLiteral("Ebből több mint %1 szójegyzék lenne: egyszerre legfeljebb ennyi készülhet.").arg(maxLists));
    QSet<QString> seen;
    for (const ListFile &file : std::as_const(plan.files)) {
        if (seen.contains(file.fileName.toCaseFolded()))
            plan.problems.append(
                QStringLiteral("Két szójegyzék neve azonos: %1; adj a fájloknak különböző nevet.").arg(file.fileName));
        seen.insert(file.fileName.toCaseFolded());
    }
    return plan;
}

ImportDialog::ImportDialog(QList<ImportSource> sources, QList<ImportTarget> targets, TeacherDialogs &dialogs,
                           QWidget *parent)
    : QDialog(parent), m_sources(std::move(sources)), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("importalas"));
    setWindowTitle(QStringLiteral("Importálás – előnézet"));
    resize(820, 640);

    m_sourceTable =
        readOnlyTable(QStringLiteral("forrasok"), QStringLiteral("Beolvasott fájlok és a szójegyzékek neve"),
                      {QStringLiteral("Fájl"), QStringLiteral("Szójegyzék neve"), QStringLiteral("Szópárok"),
                       QStringLiteral("Hibás sorok")});
    m_sourceTable->setEditTriggers(QAbstractItemView::AllEditTriggers);
    m_sourceTable->setRowCount(int(m_sources.size()));
    for (int row = 0; row < m_sources.size(); ++row) {
        const ImportSource &source = m_sources[row];
        m_sourceTable->setItem(row, 0, cell(fileName(source.path)));
        m_sourceTable->setItem(row, 1, new QTableWidgetItem(QFileInfo(source.path).completeBaseName()));
        m_sourceTable->setItem(row, 2, cell(QString::number(source.reading.pairCount)));
        m_sourceTable->setItem(row, 3,
                               cell(source.problem.isEmpty() ? QString::number(source.reading.problemCount)
                                                             : QStringLiteral("nem olvasható")));
    }
    m_sourceTable->resizeColumnsToContents();

    m_pairTable = readOnlyTable(QStringLiteral("szoparok"), QStringLiteral("A beolvasott szópárok"),
                                {QStringLiteral("Szójegyzék"), QStringLiteral("Angol"), QStringLiteral("Magyar"),
                                 QStringLiteral("Megjegyzés")});
    m_problemTable = readOnlyTable(QStringLiteral("hibasSorok"), QStringLiteral("Az át nem vehető sorok és az okuk"),
                                   {QStringLiteral("Fájl"), QStringLiteral("Sor"), QStringLiteral("Ok")});
    int problemRows = 0;
    for (const ImportSource &source : std::as_const(m_sources)) {
        QList<std::pair<QString, QString>> rows; // line, reason
        if (!source.problem.isEmpty())
            rows.append({QString(), source.problem});
        if (source.reading.guessedHeaderLine > 0)
            rows.append({QString::number(source.reading.guessedHeaderLine),
                         QStringLiteral("Fejlécnek vettem, nem szópárnak: „%1”")
                             .arg(source.reading.guessedHeader.join(QStringLiteral("”, „")))});
        for (const ImportProblem &problem : source.reading.problems)
            rows.append({QString::number(problem.line), problem.reason});
        if (source.reading.problemCount > source.reading.problems.size())
            rows.append(
                {QString(),
                 QStringLiteral("… és még %1 hiba").arg(source.reading.problemCount - source.reading.problems.size())});
        m_problemTable->setRowCount(problemRows + int(rows.size()));
        for (const auto &[line, reason] : rows) {
            m_problemTable->setItem(problemRows, 0, cell(fileName(source.path)));
            m_problemTable->setItem(problemRows, 1, cell(line));
            m_problemTable->setItem(problemRows, 2, cell(reason));
            ++problemRows;
        }
    }

    m_summary = new QLabel;
    m_summary->setObjectName(QStringLiteral("keszulo"));
    m_summary->setWordWrap(true);
    m_summary->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    m_target = new QComboBox;
    m_target->setObjectName(QStringLiteral("celMappa"));
    m_target->setAccessibleName(QStringLiteral("Hova kerüljenek a szójegyzékek"));
    for (const ImportTarget &target : targets)
        m_target->addItem(target.label, target.directory);
    m_target->addItem(QStringLiteral("Másik mappa…"));
    connect(m_target, &QComboBox::activated, this, &ImportDialog::chooseOtherFolder);

    auto *buttons = new QDialogButtonBox;
    m_write = buttons->addButton(QStringLiteral("Szójegyzé&kek írása"), QDialogButtonBox::AcceptRole);
    m_write->setObjectName(QStringLiteral("iras"));
    QPushButton *cancel = buttons->addButton(QStringLiteral("Mégse"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("megse"));
    connect(m_write, &QPushButton::clicked, this, &ImportDialog::write);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *form = new QFormLayout;
    form->addRow(QStringLiteral("&Hova:"), m_target);
    auto *layout = new QVBoxLayout(this);
    auto *sourcesLabel = new QLabel(QStringLiteral("&Fájlok (a szójegyzék neve átírható):"));
    sourcesLabel->setBuddy(m_sourceTable);
    auto *pairsLabel = new QLabel(QStringLiteral("S&zópárok:"));
    pairsLabel->setBuddy(m_pairTable);
    auto *problemsLabel = new QLabel(QStringLiteral("Át nem vehető &sorok:"));
    problemsLabel->setBuddy(m_problemTable);
    layout->addWidget(sourcesLabel);
    layout->addWidget(m_sourceTable, 1);
    layout->addWidget(pairsLabel);
    layout->addWidget(m_pairTable, 3);
    layout->addWidget(problemsLabel);
    layout->addWidget(m_problemTable, 1);
    layout->addWidget(m_summary);
    layout->addLayout(form);
    layout->addWidget(buttons);

    connect(m_sourceTable, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == 1)
            showPlan();
    });
    showPlan();
}

void ImportDialog::showPlan()
{
    QStringList names;
    for (int row = 0; row < m_sourceTable->rowCount(); ++row)
        names.append(m_sourceTable->item(row, 1)->text());
    m_plan = planImport(m_sources, names, kDefaultMaxLists);

    m_pairTable->setRowCount(0);
    for (qsizetype file = 0; file < m_plan.files.size(); ++file) {
        const WordListReading reading = readWordList(m_plan.files[file].bytes);
        const QList<WordPair> pairs = pairsOfReading(reading);
        int row = m_pairTable->rowCount();
        m_pairTable->setRowCount(row + int(pairs.size()));
        for (const WordPair &pair : pairs) {
            m_pairTable->setItem(row, 0, cell(m_plan.files[file].fileName));
            m_pairTable->setItem(row, 1, cell(pair.english));
            m_pairTable->setItem(row, 2, cell(pair.hungarian));
            m_pairTable->setItem(row, 3, cell(pair.note));
            ++row;
        }
    }
    m_pairTable->resizeColumnsToContents();
    m_problemTable->resizeColumnsToContents();

    if (m_plan.problems.isEmpty()) {
        QStringList made;
        for (const ListFile &file : std::as_const(m_plan.files))
            made.append(file.fileName);
        m_summary->setText(QStringLiteral("%1 szópár, %2 szójegyzék készül: %3")
                               .arg(m_pairTable->rowCount())
                               .arg(m_plan.files.size())
                               .arg(made.join(QStringLiteral(", "))));
    } else {
        m_summary->setText(QStringLiteral("Nem írható ki semmi:\n") + m_plan.problems.join(QLatin1Char('\n')));
    }
    m_write->setEnabled(m_plan.problems.isEmpty());
}

void ImportDialog::chooseOtherFolder(int index)
{
    if (index != m_target->count() - 1)
        return;
    const QString start = m_target->itemData(0).toString();
    if (const std::optional<QString> folder =
            m_dialogs.chooseFolder(this, QStringLiteral("Hova kerüljenek a szójegyzékek?"), start)) {
        m_target->insertItem(index, QDir::toNativeSeparators(*folder), *folder);
        m_target->setCurrentIndex(index);
    } else {
        m_target->setCurrentIndex(0);
    }
}

void ImportDialog::write()
{
    showPlan();
    const QString directory = m_target->currentData().toString();
    if (!m_plan.problems.isEmpty() || directory.isEmpty())
        return;
    if (platform::leadsThroughRefusedLink(directory)) {
        m_dialogs.message(this, QStringLiteral("Ide nem írok: a mappához egy másik fiók hivatkozása vezet, amely "
                                               "bárhová mutathat: %1")
                                    .arg(QDir::toNativeSeparators(directory)));
        return;
    }
    if (!platform::isDirectory(directory)) {
        m_dialogs.message(this, QStringLiteral("Nincs ilyen mappa: %1").arg(QDir::toNativeSeparators(directory)));
        return;
    }
    const QStringList problems = createListsAllOrNothing(directory, m_plan.files);
    if (!problems.isEmpty()) {
        m_dialogs.message(this, QStringLiteral("Egy szójegyzék sem készült:\n") + problems.join(QLatin1Char('\n')));
        return;
    }
    m_written.clear();
    for (const ListFile &file : std::as_const(m_plan.files))
        m_written.append(platform::joinPath(directory, file.fileName));
    accept();
}
