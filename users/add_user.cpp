// SPDX-License-Identifier: GPL-3.0-or-later
#include "users/add_user.h"

#include "platform/dot_lock.h"
#include "platform/file_trail.h"
#include "platform/files.h"
#include "results/results_log.h"
#include "users/staging_leftovers.h"
#include "users/user_registry.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

struct Learner {
    QString name;
    QString registry;
    QString directory;
};

QString logIn(const QString &directory, const QString &name)
{
    return platform::joinPath(directory, resultsLogFileName(name));
}

bool isListed(const Learner &learner, const QString &startDirectory)
{
    const std::optional<QStringList> names = readRegistryNames(startDirectory);
    return names && names->contains(learner.name);
}

// The registry's last byte, which tells whether its last line was left without a line end.
std::optional<QByteArray> registryEnd(const QString &registry)
{
    const std::optional<qint64> size = platform::regularFileSize(registry);
    if (!size)
        return std::nullopt;
    return platform::readFilePart(registry, std::max<qint64>(*size - 1, 0), 1);
}

bool isOurs(const QString &path)
{
    const std::optional<platform::EntryFacts> facts = platform::entryFacts(path);
    return facts && facts->ownedByThisAccount;
}

// What an addition of this account's killed before its registry line leaves: the directory holding
// nothing but a log of the header line alone, both made by this account, and no line in the
// registry. Taking it over loses nothing. What another account left is never taken over: it could
// be a trap laid in the shape of one.
bool isUnfinishedAddition(const Learner &learner, const QString &startDirectory)
{
    if (!isOurs(learner.directory) || !isOurs(logIn(learner.directory, learner.name)))
        return false;
    std::optional<QStringList> entries = platform::directoryEntries(learner.directory);
    if (!entries)
        return false;
    entries->removeIf([](const QString &entry) { return platform::isStagingFileName(entry); });
    return *entries == QStringList{resultsLogFileName(learner.name)}
           && platform::readFileStart(logIn(learner.directory, learner.name), 4096) == resultsLogHeader(learner.name)
           && !isListed(learner, startDirectory);
}

// Why a step of the addition failed, asked at once, before anything else touches the file layer.
AddUserOutcome writeFailure()
{
    qCInfo(lcFiles) << "a step of an addition failed:" << std::strerror(errno);
    return platform::lastFailureWasRefusedLink() ? AddUserOutcome::LinkRefused : AddUserOutcome::WriteFailed;
}

void removeLearnerDirectory(const QString &directory, const QString &name)
{
    platform::removeFile(logIn(directory, name));
    platform::removeEmptyDirectory(directory);
}

// The directory with its log is made under a hidden name and then given the learner's name in one
// step, so that it never stands there without its log, and of two processes adding one name at the
// same moment only one succeeds.
AddUserOutcome makeLearnerDirectory(const Learner &learner, const QString &startDirectory)
{
    const std::optional<QString> staging = platform::makeStagingDirectory(startDirectory);
    if (!staging)
        return writeFailure();
    const platform::CreateResult log =
        platform::createFileExclusively(logIn(*staging, learner.name), resultsLogHeader(learner.name));
    // Why it failed is asked before the staging directory is removed.
    AddUserOutcome outcome = AddUserOutcome::NameTaken;
    if (log == platform::CreateResult::Created) {
        const platform::MakeDirectoryResult moved = platform::moveDirectoryIntoPlace(*staging, learner.directory);
        if (moved == platform::MakeDirectoryResult::Created)
            return AddUserOutcome::Added;
        if (moved == platform::MakeDirectoryResult::Failed)
            outcome = writeFailure();
    } else if (log != platform::CreateResult::NameRefused) {
        outcome = writeFailure();
    }
    removeLearnerDirectory(*staging, learner.name);
    return outcome;
}

} // namespace

AddUserOutcome addUser(const QString &startDirectory, const QString &name)
{
    if (!isAcceptableUserName(name))
        return AddUserOutcome::NameTaken;

    const Learner learner{name, registryPath(startDirectory), platform::joinPath(startDirectory, name)};
    // Additions take turns on every computer that shares the folder, so an unfinished one found
    // here is no one's. A turn that does not come fails this one rather than freezing the window.
    const platform::DotLock additions(startDirectory);
    if (!additions.held())
        return additions.failure() == platform::LockFailure::NotTheTeachers ? AddUserOutcome::LockNotTheTeachers
                                                                            : AddUserOutcome::WriteFailed;
    removeStaleStagingDirectories(startDirectory);

    const std::optional<QStringList> names = readRegistryNames(startDirectory);
    if (!names)
        return writeFailure();
    if (names->contains(name))
        return AddUserOutcome::NameTaken;

    if (platform::pathExists(learner.directory)) {
        if (!isUnfinishedAddition(learner, startDirectory))
            return AddUserOutcome::NameTaken;
    } else if (const AddUserOutcome made = makeLearnerDirectory(learner, startDirectory);
               made != AddUserOutcome::Added) {
        return made;
    }

    // The registry line goes last: once it is there, the learner is complete.
    const std::optional<QByteArray> end = registryEnd(learner.registry);
    if (end && platform::appendToExistingFile(learner.registry, registryAppendix(*end, name)))
        return AddUserOutcome::Added;
    const AddUserOutcome failure = writeFailure();
    removeLearnerDirectory(learner.directory, name);
    return failure;
}
