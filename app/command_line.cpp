// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/command_line.h"

#include "app/command_line_messages.h"
#include "app/translations.h"
#include "platform/path_state.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <iterator>

#ifndef VOKALINDO_VERSION
#define VOKALINDO_VERSION "1.0"
#endif

namespace {

const QString kProgramName = QStringLiteral("vokalindo");

QString versionText()
{
    return kProgramName
           + QStringLiteral(" " VOKALINDO_VERSION "\n"
                            "Copyright (C) 2026 A Vokalindo fejlesztői\n"
                            "Licenc: GNU GPL 3. vagy későbbi változat "
                            "<https://www.gnu.org/licenses/gpl-3.0.html>\n"
                            "Ez szabad szoftver: szabadon módosítható és továbbadható.\n"
                            "A törvény által megengedett mértékben NINCS RÁ GARANCIA.\n");
}

// The options that QGuiApplication and QApplication take for themselves (a desktop session restores
// the program with -session), with whether a value follows. They are left in argv for QApplication.
struct QtOption {
    const char *name;
    bool takesValue;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"geometry", true},
    {"qwindowicon", true},     {"icon", true},
    {"qwindowtitle", true},    {"title", true},
    {"display", true},         {"session", true},
    {"style", true},           {"stylesheet", true},
    {"qmljsdebugger", true},   {"reverse", false},
    {"widgetcount", false},    {"nograb", false},
    {"dograb", false},         {"sync", false},
};

// The arguments without Qt's own options, each written -name, --name, -name=value or --name=value.
QStringList withoutQtOptions(const QStringList &arguments)
{
    QStringList ours;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        const QString word = argument.startsWith(QLatin1String("--")) ? argument.mid(2)
                             : argument.startsWith(QLatin1Char('-'))  ? argument.mid(1)
                                                                      : QString();
        const QString name = word.section(QLatin1Char('='), 0, 0);
        const auto known = std::find_if(std::begin(kQtOptions), std::end(kQtOptions),
                                        [&](const QtOption &option) { return name == QLatin1String(option.name); });
        if (i == 0 || word.isEmpty() || known == std::end(kQtOptions)) {
            ours.append(argument);
            continue;
        }
        if (known->takesValue && !word.contains(QLatin1Char('=')))
            ++i;
    }
    return ours;
}

CommandLineRequest refusal(const QString &reason)
{
    CommandLineRequest request;
    request.start = false;
    request.exitStatus = commandline::kUsageStatus;
    request.standardError = commandline::usageMistakeText(kProgramName, reason);
    return request;
}

} // namespace

CommandLineRequest readCommandLine(const QStringList &arguments)
{
    QCommandLineParser parser;
    // The empty line after the usage line keeps the two apart in the manual page made from this text.
    parser.setApplicationDescription(QStringLiteral(
        "\nAngol–magyar szótanuló. A tanulók névsorát (init.usr), a tanulók mappáit és eredménynaplóit abban\n"
        "a mappában tartja, amelyben elindul: ez a kezdőmappa. A kezdőmappában lennie kell egy (akár üres)\n"
        "init.usr fájlnak; a program maga nem hozza létre."));
    const QCommandLineOption directoryOption(
        {QStringLiteral("d"), QStringLiteral("directory")},
        QStringLiteral("A kezdőmappa: ebben a mappában indul a program. Ha nincs megadva, abban, amelyben "
                       "elindították."),
        QStringLiteral("mappa"));
    const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                        QStringLiteral("Kiírja ezt a súgót, és kilép."));
    const QCommandLineOption versionOption({QStringLiteral("v"), QStringLiteral("version")},
                                           QStringLiteral("Kiírja a program változatát, és kilép."));
    // "-platfrom" is one unknown option, not eight unknown letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(directoryOption);
    parser.addOption(helpOption);
    parser.addOption(versionOption);

    if (!parser.parse(withoutQtOptions(arguments)))
        return refusal(parser.errorText());
    CommandLineRequest request;
    if (parser.isSet(helpOption)) {
        request.start = false;
        // The usage line names the command as it is typed, not the path the launcher runs.
        QString help = parser.helpText();
        const QString started = QCoreApplication::arguments().value(0);
        const qsizetype at = started.isEmpty() ? -1 : help.indexOf(started);
        if (at >= 0 && at < help.indexOf(QLatin1Char('\n')))
            help.replace(at, started.size(), kProgramName);
        request.standardOutput = help;
        return request;
    }
    if (parser.isSet(versionOption)) {
        request.start = false;
        request.standardOutput = versionText();
        return request;
    }
    if (!parser.positionalArguments().isEmpty())
        return refusal(QStringLiteral("Fölösleges argumentum: „%1”.").arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(directoryOption)) {
        request.directory = parser.value(directoryOption);
        if (request.directory.isEmpty())
            return refusal(QStringLiteral("A --directory kapcsoló után üres a mappa neve."));
    }
    return request;
}

CommandLineRequest readProgramArguments(int argc, char *argv[])
{
    int count = argc;
    QCoreApplication reading(count, argv);
    installQtHungarianTranslations(reading);
    return readCommandLine(QCoreApplication::arguments());
}

bool choosesQtPlatform(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "-platform" || argument == "--platform" || argument.startsWith("-platform=")
            || argument.startsWith("--platform="))
            return true;
    }
    return false;
}

QString noGraphicalDesktopText()
{
    return QStringLiteral("vokalindo: a program ablakához grafikus asztali környezet kell, de itt nincs képernyő. "
                          "Az asztalról indítsd el!\n"
                          "vokalindo: this program needs a graphical desktop, and there is none here\n");
}

std::optional<QString> enterStartDirectory(const QString &directory)
{
    const QFileInfo info(directory);
    const QString shown = QDir::cleanPath(info.absoluteFilePath());
    if (platform::pathState(directory) == platform::PathState::Unreachable)
        return QStringLiteral("A megadott mappa most nem érhető el: %1\r\nPróbáld újra egy kis idő múlva!\r\n"
                              "A program kilép.")
            .arg(shown);
    if (!info.exists())
        return QStringLiteral("A megadott mappa nem található: %1\r\nA program kilép.").arg(shown);
    if (!info.isDir() || !QDir::setCurrent(directory))
        return QStringLiteral("A megadott mappa nem nyitható meg: %1\r\nA program kilép.").arg(shown);
    return std::nullopt;
}
