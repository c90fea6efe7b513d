// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line_messages.h"
#include "app/translations.h"
#include "lists/kvtml.h"
#include "lists/list_export.h"
#include "lists/list_files.h"
#include "lists/list_import.h"
#include "lists/list_print.h"
#include "platform/console_text.h"
#include "platform/files.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>

#include <cstdio>

namespace {

using commandline::FileUse;
using commandline::refuseUsage;
using commandline::say;

void keepSeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        platform::writeText(stderr, message + QLatin1Char('\n'));
}

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

struct Options {
    QCommandLineParser parser;
    QCommandLineOption help{{"h", "help"}, QStringLiteral("Kiírja ezt a súgót, és kilép.")};
    QCommandLineOption version{{"v", "version"}, QStringLiteral("Kiírja a program változatát, és kilép.")};
    QCommandLineOption output{{"o", "output"},
                              QStringLiteral("import: a szójegyzékek mappája (alapértelmezés: az aktuális mappa); "
                                             "export: a kimeneti fájl (alapértelmezés: a szabványos kimenet); "
                                             "print: a PDF-fájl (alapértelmezés: az első szójegyzék neve .pdf "
                                             "kiterjesztéssel az aktuális mappában)."),
                              QStringLiteral("HELY")};
    QCommandLineOption name{{"n", "name"},
                            QStringLiteral("import: a szójegyzékek neve (alapértelmezés: a bemeneti fájl neve "
                                           "kiterjesztés nélkül); 20-nál több szópárból vagy több KVTML-leckéből "
                                           "NÉV-01.szo, NÉV-02.szo, … készül."),
                            QStringLiteral("NÉV")};
    QCommandLineOption maxLists{"max-lists",
                                QStringLiteral("import: legfeljebb ennyi szójegyzék készülhet (alapértelmezés: %1, "
                                               "legfeljebb %2); ha a fájlból több készülne, semmit nem ír.")
                                    .arg(kDefaultMaxLists)
                                    .arg(kMostMaxLists),
                                QStringLiteral("SZÁM")};
    QCommandLineOption header{"header",
                              QStringLiteral("import: a táblázat első sora fejléc (az oszlopok neve), nem szópár.")};
    QCommandLineOption noHeader{
        "no-header", QStringLiteral("import: a táblázat első sora is szópár, akkor is, ha oszlopnévnek látszik.")};
    QCommandLineOption format{
        {"f", "format"}, QStringLiteral("export: a formátum, tsv, csv vagy kvtml."), QStringLiteral("FORMÁTUM")};
    QCommandLineOption kind{{"k", "kind"},
                            QStringLiteral("print: list (a szójegyzék táblázatban, ez az alapértelmezés), test-en "
                                           "(dolgozat: az angol szó adott, a magyart kell beírni), test-hu (a magyar "
                                           "adott), cards (hajtogatós szókártyák)."),
                            QStringLiteral("FAJTA")};
};

// An option given to a command that has no use for it is a mistake the teacher should hear of.
bool onlyOptions(const Options &options, const QString &command, const QList<const QCommandLineOption *> &allowed)
{
    for (const QCommandLineOption *option : {&options.output, &options.name, &options.maxLists, &options.header,
                                             &options.noHeader, &options.format, &options.kind}) {
        if (options.parser.isSet(*option) && !allowed.contains(option)) {
            refuseUsage(QStringLiteral("A --%1 kapcsoló nem tartozik a(z) %2 parancshoz.")
                            .arg(option->names().last(), command));
            return false;
        }
    }
    return true;
}

std::optional<QList<NamedList>> readLists(const QStringList &paths)
{
    QList<NamedList> lists;
    for (const QString &path : paths) {
        ListFileReading reading = readListFile(path);
        if (!reading.list) {
            say(reading.problem);
            return std::nullopt;
        }
        lists.append(std::move(*reading.list));
    }
    return lists;
}

int writeOutput(const QString &path, const QByteArray &bytes, const QStringList &inputs)
{
    if (isOneOfTheFiles(path, inputs)) {
        say(QStringLiteral("A kimenet nem lehet az egyik beolvasott szójegyzék: %1").arg(shown(path)));
        return 1;
    }
    if (!platform::writeWholeFileAtomically(path, bytes)) {
        const QString reason = commandline::lastFileFailureReason(FileUse::Writing);
        say(QStringLiteral("Nem írható ki: %1 (%2)").arg(shown(path), reason));
        return 1;
    }
    return 0;
}

int runImport(const Options &options, const QStringList &files)
{
    if (!onlyOptions(options, QStringLiteral("import"),
                     {&options.output, &options.name, &options.maxLists, &options.header, &options.noHeader}))
        return commandline::kUsageStatus;
    if (options.parser.isSet(options.header) && options.parser.isSet(options.noHeader))
        return refuseUsage(QStringLiteral("A --header és a --no-header kapcsoló közül csak az egyik adható meg."));
    const HeaderRow headerRow = options.parser.isSet(options.header)     ? HeaderRow::Present
                                : options.parser.isSet(options.noHeader) ? HeaderRow::Absent
                                                                         : HeaderRow::Guess;
    qsizetype maxLists = kDefaultMaxLists;
    if (options.parser.isSet(options.maxLists)) {
        bool number = false;
        maxLists = options.parser.value(options.maxLists).toLongLong(&number);
        if (!number || maxLists < 1 || maxLists > kMostMaxLists)
            return refuseUsage(QStringLiteral("A --max-lists értéke 1 és %1 közötti egész szám lehet: %2")
                                   .arg(kMostMaxLists)
                                   .arg(options.parser.value(options.maxLists)));
    }
    if (files.size() != 1)
        return refuseUsage(QStringLiteral("Az import parancs egyetlen fájlt vár."));
    const QString &input = files.first();
    const QString name =
        options.parser.isSet(options.name) ? options.parser.value(options.name) : QFileInfo(input).completeBaseName();
    if (!isUsableListName(name))
        return refuseUsage(QStringLiteral("Nem használható szójegyzéknév: %1").arg(name));
    const QString directory =
        options.parser.isSet(options.output) ? options.parser.value(options.output) : QDir::currentPath();
    if (!platform::isDirectory(directory)) {
        say(QStringLiteral("Nincs ilyen mappa: %1").arg(shown(directory)));
        return 1;
    }
    // Pairs past the lists allowed are only counted: they would be refused anyway.
    const ImportSource source = readImportSource(input, maxLists, headerRow);
    if (!source.problem.isEmpty()) {
        say(source.problem);
        return 1;
    }
    const ImportReading &reading = source.reading;
    if (reading.guessedHeaderLine > 0)
        platform::writeText(stderr,
                            QStringLiteral("%1:%2: az első sort fejlécnek vettem, nem szópárnak: %3; ha mégis "
                                           "szópár, a --no-header kapcsolóval beolvasható.\n")
                                .arg(input)
                                .arg(reading.guessedHeaderLine)
                                .arg(QStringLiteral("„%1”").arg(reading.guessedHeader.join(QStringLiteral("”, „")))));
    for (const ImportProblem &problem : reading.problems)
        platform::writeText(stderr, QStringLiteral("%1:%2: %3\n").arg(input).arg(problem.line).arg(problem.reason));
    if (reading.problemCount > reading.problems.size())
        say(QStringLiteral("… és még %1 hiba; csak az első %2 látszik.")
                .arg(reading.problemCount - reading.problems.size())
                .arg(reading.problems.size()));
    if (reading.problemCount > 0) {
        say(QStringLiteral("Nem készült szójegyzék: %1 hiba.").arg(reading.problemCount));
        return 1;
    }
    if (reading.pairCount == 0) {
        platform::writeText(stderr, QStringLiteral("%1:1: nincs benne egy szópár sem\n").arg(input));
        return 1;
    }
    if (const qsizetype count = listCountOf(reading); count > maxLists) {
        say(QStringLiteral("Nem készült szójegyzék: a(z) %1 szópárból %2 szójegyzék lenne, legfeljebb %3 készülhet. "
                           "Ha valóban ennyi kell, a --max-lists kapcsoló enged többet (legfeljebb %4-et).")
                .arg(reading.pairCount)
                .arg(reading.pairs.size() < reading.pairCount ? QStringLiteral("több mint %1").arg(maxLists)
                                                              : QString::number(count))
                .arg(maxLists)
                .arg(kMostMaxLists));
        return 1;
    }

    const QList<ListFile> lists = listFilesOf(reading.pairs, name, reading.listSizes);
    const QStringList problems = createListsAllOrNothing(directory, lists);
    for (const QString &problem : problems)
        say(problem);
    if (!problems.isEmpty())
        return 1;
    QStringList paths;
    for (const ListFile &list : lists)
        paths.append(platform::joinPath(directory, list.fileName));
    const QString made = shown(paths.first()) + (paths.size() > 1 ? " … " + shown(paths.last()) : QString());
    platform::writeText(
        stdout, QStringLiteral("%1 szópár, %2 szójegyzék: %3\n").arg(reading.pairCount).arg(lists.size()).arg(made));
    return 0;
}

int runExport(const Options &options, const QStringList &files)
{
    if (!onlyOptions(options, QStringLiteral("export"), {&options.output, &options.format}))
        return commandline::kUsageStatus;
    const QString format = options.parser.value(options.format);
    if (files.isEmpty() || (format != "tsv" && format != "csv" && format != "kvtml"))
        return refuseUsage(
            QStringLiteral("Az export parancs szójegyzékfájlokat és a --format tsv|csv|kvtml kapcsolót várja."));
    const std::optional<QList<NamedList>> lists = readLists(files);
    if (!lists)
        return 1;
    const QString output = options.parser.value(options.output);
    const QByteArray bytes =
        format == "tsv" ? tsvOfLists(*lists)
        : format == "csv"
            ? csvOfLists(*lists)
            : kvtmlOfLists(*lists, output.isEmpty() ? lists->first().name : QFileInfo(output).completeBaseName());
    if (output.isEmpty()) {
        std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return writeOutput(output, bytes, files);
}

int runPrint(const Options &options, const QStringList &files)
{
    if (!onlyOptions(options, QStringLiteral("print"), {&options.output, &options.kind}))
        return commandline::kUsageStatus;
    const std::optional<PrintKind> kind = printKindNamed(
        options.parser.isSet(options.kind) ? options.parser.value(options.kind) : QStringLiteral("list"));
    if (files.isEmpty() || !kind)
        return refuseUsage(QStringLiteral(
            "A print parancs szójegyzékfájlokat vár, és a --kind list|test-en|test-hu|cards kapcsolót."));
    const std::optional<QList<NamedList>> lists = readLists(files);
    if (!lists)
        return 1;
    const QString output = options.parser.isSet(options.output) ? options.parser.value(options.output)
                                                                : lists->first().name + QStringLiteral(".pdf");
    return writeOutput(output, pdfOfPages(pagesOf(*lists, *kind)), files);
}

} // namespace

int main(int argc, char *argv[])
{
    // The pages are drawn without a window: no display is needed, none is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepSeriousMessages);
    QGuiApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vokalindo-lists"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VOKALINDO_VERSION));
    installQtHungarianTranslations(application);

    Options options;
    options.parser.setApplicationDescription(QStringLiteral(
        "Szójegyzékek a Vokalindo szótanulóhoz más programokból, és vissza azokba, vagy papírra.\n\n"
        "  import FÁJL        táblázat (CSV, pontosvesszős vagy tabulátoros szöveg; UTF-8, UTF-16 vagy\n"
        "                     Windows-1250), KVTML 2.0 vagy szókártyaprogram szöveges exportja .szo\n"
        "                     szójegyzékekké, 20 szópáronként; a KVTML leckéi külön szójegyzékek lesznek.\n"
        "                     Ha egy sor hibás, semmit nem ír, és a hibákat FÁJL:SOR: ok alakban\n"
        "                     felsorolja (az első 200-at, a többit megszámolja). Meglévő fájlt nem ír\n"
        "                     felül, és 500-nál több szójegyzéket csak a --max-lists kapcsolóval készít.\n"
        "                     A táblázat első sorát fejlécnek veszi, és ezt jelzi is, ha oszlopnevek\n"
        "                     állnak benne (Angol, Magyar, Megjegyzés, „angol szó”, „magyar jelentés”,\n"
        "                     Word, Meaning…); ha téved, a --header vagy a --no-header kapcsoló dönt.\n"
        "  export LISTA.szo…  a szójegyzékek egy TSV, CSV vagy KVTML fájlban, az Angol, Magyar,\n"
        "                     Megjegyzés oszlopokkal. Csak a KVTML tartja külön az együtt kiírt\n"
        "                     szójegyzékeket (mindegyik egy lecke); a TSV és a CSV behozatala\n"
        "                     20 szópáronként osztja fel újra a szópárokat.\n"
        "  print LISTA.szo…   A4-es PDF: a szójegyzék táblázatban, dolgozatlap megoldókulccsal, vagy\n"
        "                     hajtogatós szókártyák."));
    options.parser.addOptions({options.help, options.version, options.output, options.name, options.maxLists,
                               options.header, options.noHeader, options.format, options.kind});
    options.parser.addPositionalArgument(QStringLiteral("parancs"), QStringLiteral("import, export vagy print."),
                                         QStringLiteral("PARANCS FÁJL…"));
    if (!options.parser.parse(QCoreApplication::arguments()))
        return refuseUsage(options.parser.errorText());
    if (options.parser.isSet(options.help)) {
        QString help = options.parser.helpText();
        help.replace(QCoreApplication::arguments().constFirst(), QStringLiteral("vokalindo-lists"));
        platform::writeText(stdout, help);
        return 0;
    }
    if (options.parser.isSet(options.version)) {
        std::printf("vokalindo-lists %s\n", VOKALINDO_VERSION);
        return 0;
    }
    QStringList arguments = options.parser.positionalArguments();
    const QString command = arguments.isEmpty() ? QString() : arguments.takeFirst();
    if (command == QLatin1String("import"))
        return runImport(options, arguments);
    if (command == QLatin1String("export"))
        return runExport(options, arguments);
    if (command == QLatin1String("print"))
        return runPrint(options, arguments);
    return refuseUsage(command.isEmpty() ? QStringLiteral("Hiányzik a parancs: import, export vagy print.")
                                         : QStringLiteral("Ismeretlen parancs: %1").arg(command));
}
