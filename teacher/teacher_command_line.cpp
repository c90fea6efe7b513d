// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/teacher_command_line.h"

#include "app/command_line_messages.h"
#include "app/start_directory_setting.h"

#include <QDir>

namespace {

const QString kProgram = QStringLiteral("vokalindo-tanar");

QString helpText()
{
    return QStringLiteral(
        "Használat: vokalindo-tanar [kapcsolók]\n"
        "A Vokalindo szótanuló tanári ablaka: egy osztály mappájának tanulói, szójegyzékei és eredményei.\n"
        "Szójegyzékek importálása (CSV, tabulátoros szöveg, KVTML, szókártyák szövege) előnézettel, exportálása "
        "és nyomtatása (szójegyzék, dolgozatlap megoldókulccsal, szókártyák); az osztály eredménytáblázata, "
        "tanulónként grafikonnal, böngészőben megnyitható jelentés és CSV-fájl a táblázatkezelőnek. Megmondja "
        "azt is, mi hibás az osztály mappájának beállításában, és hogyan javítható.\n\n"
        "Kapcsolók:\n"
        "  -d, --directory <MAPPA>  Az osztály mappája (az init.usr fájllal); alapértelmezés: amelyet a gép\n"
        "                           beállítása (/etc/vokalindo.conf) megnevez, különben az aktuális mappa.\n"
        "  -h, --help               Kiírja ezt a súgót, és kilép.\n"
        "  -v, --version            Kiírja a program változatát, és kilép.\n");
}

} // namespace

TeacherRequest readTeacherArguments(const QStringList &arguments)
{
    TeacherRequest request;
    const auto refuse = [&](const QString &message) {
        request.start = false;
        request.standardError = commandline::usageMistakeText(kProgram, message);
        request.exitStatus = commandline::kUsageStatus;
        return request;
    };
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString &argument = arguments[index];
        if (argument == QLatin1String("-h") || argument == QLatin1String("--help")) {
            request.start = false;
            request.standardOutput = helpText();
            return request;
        }
        if (argument == QLatin1String("-v") || argument == QLatin1String("--version")) {
            request.start = false;
            request.standardOutput = QStringLiteral("vokalindo-tanar %1\n").arg(QStringLiteral(VOKALINDO_VERSION));
            return request;
        }
        if (argument == QLatin1String("-d") || argument == QLatin1String("--directory")) {
            if (index + 1 >= arguments.size())
                return refuse(QStringLiteral("A --directory kapcsoló után a mappa neve következik."));
            request.directory = arguments[++index];
        } else if (argument.startsWith(QLatin1String("--directory="))) {
            request.directory = argument.mid(12);
        } else if (argument.startsWith(QLatin1String("-")) && argument != QLatin1String("-")) {
            // Qt's own options (-platform, -style …) are Qt's to read.
            if (argument == QLatin1String("-platform") || argument == QLatin1String("-style")) {
                ++index;
                continue;
            }
            // Said as the other programs say it (Qt's own words): the name without its dashes.
            return refuse(QStringLiteral("Ismeretlen kapcsoló: „%1”.")
                              .arg(argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1)));
        } else {
            return refuse(QStringLiteral("Ismeretlen argumentum: %1").arg(argument));
        }
        if (request.directory.isEmpty())
            return refuse(QStringLiteral("A --directory kapcsoló után a mappa neve következik."));
    }
    return request;
}

QString folderToOpen(const TeacherRequest &request, const QByteArray &settings, const QString &currentDirectory)
{
    if (!request.directory.isEmpty())
        return QDir(currentDirectory).absoluteFilePath(request.directory);
    if (const std::optional<QString> configured = configuredStartDirectory(settings))
        return QDir(currentDirectory).absoluteFilePath(*configured);
    return currentDirectory;
}
