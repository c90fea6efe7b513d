// SPDX-License-Identifier: GPL-3.0-or-later
// The teacher's window doing one thing, offscreen, as a whole process, so that it can be timed beside
// the command-line tool that does the same:
//   teacher_bench open CLASS_DIR          the window opened on the class until every log is read
//   teacher_bench import FILE CLASS_DIR   FILE imported into the class's shared lists folder
//   teacher_bench print LIST.szo PDF      a test sheet of the list printed into a PDF
// Prints the milliseconds the work took inside the process.
#include "teacher/import_dialog.h"
#include "teacher/lists_tab.h"
#include "teacher/results_tab.h"
#include "teacher/teacher_dialogs.h"
#include "teacher/teacher_window.h"

#include "lists/list_files.h"
#include "lists/list_print.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>
#include <QPushButton>
#include <QTest>

#include <cstdio>

namespace {

struct Unattended final : TeacherDialogs {
    void message(QWidget *, const QString &text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    std::optional<QString> chooseFolder(QWidget *, const QString &, const QString &) override { return {}; }
    QStringList chooseFilesToImport(QWidget *, const QString &) override { return {}; }
    std::optional<QString> chooseFileToSave(QWidget *, const QString &, const QString &, const QStringList &) override
    {
        return {};
    }
    void printWithPreview(QWidget *, const QString &, const std::function<void(QPrinter &)> &) override {}
    bool openInBrowser(const QString &) override { return false; }
};

} // namespace

int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() < 2)
        return 2;
    Unattended dialogs;
    QElapsedTimer timer;
    timer.start();
    if (arguments[0] == QLatin1String("open")) {
        TeacherWindow window(dialogs);
        window.openFolder(arguments[1]);
        while (window.resultsTab()->reading())
            QTest::qWait(5);
        if (!window.resultsTab()->report())
            return 1;
    } else if (arguments[0] == QLatin1String("import") && arguments.size() == 3) {
        TeacherWindow window(dialogs);
        window.openFolder(arguments[2]);
        window.listsTab()->importFiles({arguments[1]});
        auto *dialog = window.findChild<ImportDialog *>(QStringLiteral("importalas"));
        dialog->findChild<QPushButton *>(QStringLiteral("iras"))->click();
        if (dialog->written().isEmpty())
            return 1;
        while (window.resultsTab()->reading())
            QTest::qWait(5);
    } else if (arguments[0] == QLatin1String("print") && arguments.size() == 3) {
        // What the print button does once the preview's printer is chosen.
        const ListFileReading list = readListFile(arguments[1]);
        if (!list.list)
            return 1;
        const QList<PrintedPage> pages = pagesOf({*list.list}, PrintKind::TestEnglish);
        QPrinter printer(QPrinter::HighResolution);
        prepareForPages(printer, documentTitleOf(pages));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(arguments[2]);
        paintPages(printer, pages);
    } else {
        return 2;
    }
    std::printf("%lld\n", static_cast<long long>(timer.elapsed()));
    return 0;
}
