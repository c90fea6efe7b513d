// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line_messages.h"
#include "app/translations.h"
#include "platform/files.h"
#include "platform/path_state.h"
#include "report/class_report.h"
#include "report/report_pictures.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>

#include <cstdio>

namespace {

using commandline::FileUse;
using commandline::say;

// Qt's own notes (a missing runtime directory, font fallbacks) mean nothing to a teacher running the
// report; only its serious messages are shown.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

} // namespace

int main(int argc, char *argv[])
{
    // The pictures are drawn without a window: no display is needed, none is used.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(keepSeriousMessages);
    QApplication application(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("vokalindo-report"));
    QCoreApplication::setApplicationVersion(QStringLiteral(VOKALINDO_VERSION));
    installQtHungarianTranslations(application);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Osztályjelentés a Vokalindo szótanuló eredménynaplóiból: egyetlen, böngészőben "
                       "megnyitható HTML-fájl a tanulók futásairól, hibáiról, megmutatott válaszairól és a "
                       "„Csalás volt!” jelű futásokról. A mappában semmit nem változtat meg."));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Kiírja ezt a súgót, és kilép."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Kiírja a program változatát, és kilép."));
    const QCommandLineOption directoryOption(
        {QStringLiteral("d"), QStringLiteral("directory")},
        QStringLiteral("A tanulók mappája (az init.usr fájllal); alapértelmezés: az aktuális mappa."),
        QStringLiteral("MAPPA"));
    const QCommandLineOption outputOption(
        {QStringLiteral("o"), QStringLiteral("output")},
        QStringLiteral("A jelentés fájlja; alapértelmezés: eredmenyek.html az aktuális mappában, vagy a saját "
                       "mappában (~/eredmenyek.html), ha az aktuális mappa a tanulók mappája, annak része, vagy "
                       "mások is írhatnak bele."),
        QStringLiteral("FÁJL"));
    parser.addOptions({helpOption, versionOption, directoryOption, outputOption});
    if (!parser.parse(QCoreApplication::arguments()))
        return commandline::refuseUsage(parser.errorText());
    if (parser.isSet(helpOption)) {
        // The usage line names the program as it is typed, not the path it was started by.
        QString help = parser.helpText();
        help.replace(QCoreApplication::arguments().constFirst(), QStringLiteral("vokalindo-report"));
        std::fputs(qPrintable(help), stdout);
        return 0;
    }
    if (parser.isSet(versionOption)) {
        std::printf("vokalindo-report %s\n", VOKALINDO_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty())
        return commandline::refuseUsage(
            QStringLiteral("Ismeretlen argumentum: %1").arg(parser.positionalArguments().constFirst()));

    const QString startDirectory =
        QFileInfo(parser.isSet(directoryOption) ? parser.value(directoryOption) : QDir::currentPath())
            .absoluteFilePath();
    // Without --output the page stays out of the class folder and out of reach of other accounts.
    QString output = parser.isSet(outputOption) ? QFileInfo(parser.value(outputOption)).absoluteFilePath()
                                                : QDir::current().absoluteFilePath(QStringLiteral("eredmenyek.html"));
    if (!parser.isSet(outputOption) && unfitForThePage(QDir::currentPath(), startDirectory)) {
        output = QDir::home().absoluteFilePath(QStringLiteral("eredmenyek.html"));
        std::printf(
            "%s\n",
            qPrintable(QStringLiteral("A jelentés a saját mappába kerül: %1").arg(QDir::toNativeSeparators(output))));
    }

    const std::optional<ClassReport> report = readClassReport(startDirectory, QDateTime::currentDateTime());
    if (!report) {
        const QString reason = commandline::lastFileFailureReason(FileUse::Reading);
        const QString registry = startDirectory + "/init.usr";
        // In a class folder a refusal means that this account is not in the class's group.
        const QString advice = platform::pathState(registry) == platform::PathState::NotPermitted
                                   ? QStringLiteral(" A fiókod nincs benne az osztály csoportjában (vagy a felvétele "
                                                    "óta még nem jelentkeztél be újra): a rendszergazda vegye fel.")
                                   : QString();
        say(QStringLiteral("Nem olvasható a tanulók listája: %1 (%2)%3")
                .arg(QDir::toNativeSeparators(registry), reason, advice));
        return 1;
    }
    if (outputTouchesData(output, startDirectory, report->registryNames)) {
        say(QStringLiteral("A jelentés nem írható ide, mert a tanulók adatai közé kerülne, vagy mások által "
                           "írható mappában lévő hivatkozás: %1")
                .arg(QDir::toNativeSeparators(output)));
        return 1;
    }
    // The page tells about every learner: only its owner may read it.
    if (!platform::writeWholeFileAtomically(output, classReportHtml(*report, learnerPictureSvg, classPictureSvg),
                                            platform::NewFileAccess::OwnerOnly)) {
        const QString reason = commandline::lastFileFailureReason(FileUse::Writing);
        say(QStringLiteral("A jelentés nem írható ki: %1 (%2)").arg(QDir::toNativeSeparators(output), reason));
        return 1;
    }
    return 0;
}
