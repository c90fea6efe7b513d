// SPDX-License-Identifier: GPL-3.0-or-later
#include "teacher/folder_advice.h"

#include <QDir>

namespace {

constexpr unsigned kSetGroupId = 02000;
constexpr unsigned kSticky = 01000;
constexpr unsigned kGroupWrite = 0020;
constexpr unsigned kGroupRead = 0040;
constexpr unsigned kOthersAll = 0007;

QString shown(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

// A shell word: the paths of a class folder may hold spaces and accented letters.
QString quoted(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('\''), QLatin1String("'\\''"));
    return QLatin1Char('\'') + inner + QLatin1Char('\'');
}

void judgeLockDirectory(const FolderSnapshot &snapshot, const QString &group, QStringList &advice)
{
    const QString lock = snapshot.directory + QStringLiteral("/.vokalindo-lock");
    const QString make = QStringLiteral("sudo install -d -m 2770 -g %1 %2").arg(quoted(group), quoted(lock));
    if (!snapshot.lockDirectory) {
        advice.append(
            QStringLiteral("Hiányzik a közös zármappa (.vokalindo-lock): nélküle a tanulók nem vehetők fel, és "
                           "a futások nem kerülnek be a naplókba. Javítás: %1")
                .arg(make));
        return;
    }
    const platform::EntryAccess &entry = *snapshot.lockDirectory;
    const bool trusted = entry.ownedByRoot || (snapshot.folder && entry.ownerId == snapshot.folder->ownerId);
    if (entry.link || !entry.directory || !trusted)
        advice.append(QStringLiteral("A zármappa (.vokalindo-lock) a(z) %1 fiókjáé, nem a rendszergazdáé: ez a fiók "
                                     "elzárhatja az osztály elől. Javítás: sudo rm -r %2 && %3")
                          .arg(entry.owner, quoted(lock), make));
    else if ((entry.mode & kGroupWrite) == 0)
        advice.append(QStringLiteral("A zármappába (.vokalindo-lock) az osztály csoportja nem írhat. Javítás: "
                                     "sudo chmod 2770 %1")
                          .arg(quoted(lock)));
}

// Learners with the same fault are named in one piece of advice, with one command for all of them.
void judgeLearners(const FolderSnapshot &snapshot, QStringList &advice)
{
    const platform::EntryAccess &folder = *snapshot.folder;
    QStringList linked, linkPaths, closed, closedPaths;
    for (const FolderSnapshot::Learner &learner : snapshot.learners) {
        if (!learner.access)
            continue;
        const platform::EntryAccess &entry = *learner.access;
        if (entry.link) {
            linked.append(QStringLiteral("%1 (a(z) %2 fiókjáé)").arg(learner.name, entry.owner));
            linkPaths.append(quoted(learner.directory));
        } else if (entry.groupId != folder.groupId || (entry.mode & kGroupWrite) == 0) {
            closed.append(QStringLiteral("%1 (a(z) %2 fiók hozta létre)").arg(learner.name, entry.owner));
            closedPaths.append(quoted(learner.directory));
        }
    }
    if (!linked.isEmpty())
        advice.append(QStringLiteral("Ezeknek a tanulóknak a mappája hivatkozás, nem valódi mappa, és a program nem "
                                     "követi: %1. Javítás: rm %2 (a mappa a következő mentéskor újra elkészül).")
                          .arg(linked.join(QStringLiteral(", ")), linkPaths.join(QLatin1Char(' '))));
    if (!closed.isEmpty())
        advice.append(QStringLiteral("Ezeknek a tanulóknak a mappájába az osztály csoportja (%1) nem írhat, így más "
                                     "fiókból nem menthetnek, és a futásaik nem kerülnek a naplójukba: %2. Javítás: "
                                     "sudo chgrp -R %3 %4 && sudo chmod -R g+rwX %4")
                          .arg(folder.group, closed.join(QStringLiteral(", ")), quoted(folder.group),
                               closedPaths.join(QLatin1Char(' '))));
}

} // namespace

QStringList folderAdvice(const FolderSnapshot &snapshot)
{
    QStringList advice;
    const QString registry = snapshot.directory + QStringLiteral("/init.usr");
    switch (snapshot.registryState) {
    case platform::PathState::There:
        break;
    case platform::PathState::Missing:
        advice.append(QStringLiteral("A mappában nincs tanulónévsor (init.usr): ez nem egy osztály mappája, vagy még "
                                     "nincs beállítva. Javítás: hozz létre egy üres init.usr fájlt benne (%1).")
                          .arg(shown(registry)));
        return advice;
    case platform::PathState::NotPermitted:
        advice.append(QStringLiteral("A tanulónévsor (init.usr) nem olvasható ezzel a fiókkal: a fiókod nincs benne az "
                                     "osztály csoportjában (vagy a felvétele óta még nem jelentkeztél be újra). "
                                     "Javítás: a rendszergazda vegye fel (sudo usermod -a -G CSOPORT FIÓK)."));
        return advice;
    case platform::PathState::Unreachable:
        advice.append(QStringLiteral("A mappa most nem válaszol (hálózati megosztás?): %1. Próbáld újra később.")
                          .arg(shown(snapshot.directory)));
        return advice;
    case platform::PathState::Unknown:
        advice.append(QStringLiteral("A tanulónévsor (init.usr) nem olvasható: %1").arg(shown(registry)));
        return advice;
    }
    // Without mode bits (Windows), or in a folder of one account only, there is nothing more to judge.
    if (!snapshot.folder)
        return advice;
    const platform::EntryAccess &folder = *snapshot.folder;
    const bool shared = (folder.mode & (kSetGroupId | kGroupWrite)) != 0;
    if (!shared)
        return advice;
    const QString group = folder.group;
    const QString path = quoted(snapshot.directory);
    if ((folder.mode & kGroupWrite) == 0)
        advice.append(QStringLiteral("Az osztály csoportja (%1) nem írhat a mappába: új tanuló nem vehető fel. "
                                     "Javítás: sudo chmod g+rwx %2")
                          .arg(group, path));
    if ((folder.mode & kSetGroupId) == 0)
        advice.append(QStringLiteral("A mappa nem set-group-ID: amit benne egy tanuló létrehoz, nem az osztály "
                                     "csoportjáé lesz, így más fiókból nem írható. Javítás: sudo chmod g+s %1")
                          .arg(path));
    if ((folder.mode & kSticky) == 0)
        advice.append(QStringLiteral("A mappa nem ragadós (sticky): a tanulók átnevezhetik vagy törölhetik egymás "
                                     "mappáját és a névsort. Javítás: sudo chmod +t %1")
                          .arg(path));
    if ((folder.mode & kOthersAll) != 0)
        advice.append(QStringLiteral("Az osztályon kívül más fiókok is hozzáférnek a mappához. Javítás: sudo chmod "
                                     "o-rwx %1")
                          .arg(path));
    if (snapshot.registry
        && (snapshot.registry->groupId != folder.groupId
            || (snapshot.registry->mode & (kGroupRead | kGroupWrite)) != (kGroupRead | kGroupWrite)))
        advice.append(
            QStringLiteral("A tanulónévsort (init.usr) az osztály csoportja nem írhatja: más fiókból új tanuló "
                           "nem vehető fel. Javítás: sudo chgrp %1 %2 && sudo chmod 0660 %2")
                .arg(quoted(group), quoted(registry)));
    judgeLockDirectory(snapshot, group, advice);
    judgeLearners(snapshot, advice);
    return advice;
}
