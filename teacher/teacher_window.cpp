// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/teacher_window.h"

#include "teacher/lists_tab.h"
#include "teacher/results_tab.h"
#include "teacher/teacher_dialogs.h"

#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

TeacherWindow::TeacherWindow(TeacherDialogs &dialogs, QWidget *parent) : QMainWindow(parent), m_dialogs(dialogs)
{
    setObjectName(QStringLiteral("tanariAblak"));
    setWindowTitle(QStringLiteral("Vokalindo – tanári ablak"));
    setAcceptDrops(true);
    resize(1000, 680);

    m_path = new QLineEdit;
    m_path->setObjectName(QStringLiteral("osztalyMappa"));
    m_path->setReadOnly(true);
    m_path->setAccessibleName(QStringLiteral("Az osztály mappája"));
    auto *pathLabel = new QLabel(QStringLiteral("Az osztály &mappája:"));
    pathLabel->setBuddy(m_path);
    auto *other = new QPushButton(QStringLiteral("Másik m&appa…"));
    other->setObjectName(QStringLiteral("masikMappaGomb"));
    auto *refresh = new QPushButton(QStringLiteral("&Frissítés"));
    refresh->setObjectName(QStringLiteral("frissitesGomb"));
    refresh->setShortcut(QKeySequence::Refresh);
    connect(other, &QPushButton::clicked, this, &TeacherWindow::chooseFolder);
    connect(refresh, &QPushButton::clicked, this, &TeacherWindow::reopen);

    // A few lines high, scrolled when there is more: the commands in it can be selected and copied.
    m_advice = new QPlainTextEdit;
    m_advice->setObjectName(QStringLiteral("beallitasiHibak"));
    m_advice->setAccessibleName(QStringLiteral("A mappa beállítása"));
    m_advice->setReadOnly(true);
    m_advice->setTabChangesFocus(true);

    m_lists = new ListsTab(dialogs);
    m_lists->setOnWritten([this] { reopen(); });
    m_results = new ResultsTab(dialogs);
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("lapok"));
    m_tabs->setAccessibleName(QStringLiteral("Szójegyzékek és eredmények"));
    m_tabs->addTab(m_lists, QStringLiteral("&Szójegyzékek"));
    m_tabs->addTab(m_results, QStringLiteral("&Eredmények"));

    auto *bar = new QHBoxLayout;
    bar->addWidget(pathLabel);
    bar->addWidget(m_path, 1);
    bar->addWidget(other);
    bar->addWidget(refresh);
    auto *central = new QWidget;
    auto *layout = new QVBoxLayout(central);
    layout->addLayout(bar);
    layout->addWidget(m_advice);
    layout->addWidget(m_tabs, 1);
    setCentralWidget(central);
}

void TeacherWindow::openFolder(const QString &directory)
{
    m_folder = readClassFolder(directory);
    m_path->setText(QDir::toNativeSeparators(directory));
    m_advice->setMaximumHeight(m_advice->fontMetrics().lineSpacing() * (m_folder.advice.isEmpty() ? 2 : 7));
    if (m_folder.advice.isEmpty()) {
        m_advice->setPlainText(QStringLiteral("A mappa beállítása rendben van."));
    } else {
        QString text = QStringLiteral("A mappa beállításával gond van:");
        for (const QString &advice : std::as_const(m_folder.advice))
            text += QStringLiteral("\n• ") + advice;
        m_advice->setPlainText(text);
    }
    m_lists->showFolder(m_folder);
    m_results->showFolder(m_folder);
}

void TeacherWindow::chooseFolder()
{
    if (const std::optional<QString> directory =
            m_dialogs.chooseFolder(this, QStringLiteral("Az osztály mappája"), m_folder.directory))
        openFolder(*directory);
}

void TeacherWindow::dragEnterEvent(QDragEnterEvent *event)
{
    if (!droppedFiles(event->mimeData()->urls()).isEmpty())
        event->acceptProposedAction();
}

void TeacherWindow::dropEvent(QDropEvent *event)
{
    const QStringList files = droppedFiles(event->mimeData()->urls());
    if (files.isEmpty())
        return;
    event->acceptProposedAction();
    m_tabs->setCurrentWidget(m_lists);
    m_lists->importFiles(files);
}

QStringList droppedFiles(const QList<QUrl> &urls)
{
    QStringList files;
    for (const QUrl &url : urls) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}
