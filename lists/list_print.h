// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "lists/word_pair.h"

#include <QByteArray>
#include <QList>
#include <QPagedPaintDevice>
#include <QString>

#include <optional>

enum class PrintKind {
    List,          // the list as a table
    TestEnglish,   // the English side shown, a line for the Hungarian; then the answers
    TestHungarian, // the Hungarian side shown, a line for the English; then the answers
    Cards,         // fold-over cards: English in front, Hungarian behind
};

// "list", "test-en", "test-hu", "cards".
std::optional<PrintKind> printKindNamed(const QString &name);

enum class PageLayout { Table, Test, Cards };

// One sheet to print: what it shows of which list.
struct PrintedPage {
    PageLayout layout = PageLayout::Table;
    QString title;
    QString listName;
    QList<WordPair> pairs;
    int firstNumber = 1;      // the number of its first pair within the list
    bool englishShown = true; // on a test: which side is given
};

// Every list on pages of its own, in order: a test is followed by its answer page; cards come ten a page.
QList<PrintedPage> pagesOf(const QList<NamedList> &lists, PrintKind kind);

// The pages as an A4 PDF, drawn with a face that holds every Hungarian letter.
QByteArray pdfOfPages(const QList<PrintedPage> &pages);

// The same pages on any paged device (a printer, its preview), an A4 page a sheet without margins:
// the layout keeps its own, in millimetres from the sheet's edge.
void paintPages(QPagedPaintDevice &device, const QList<PrintedPage> &pages);
// What a print job or a PDF of the pages is called.
QString documentTitleOf(const QList<PrintedPage> &pages);
