#include "users/add_user.h"

#include "platform/files.h"
#include "results/results_log.h"
#include "users/user_registry.h"

AddUserOutcome addUser(const QString &startDirectory, const QString &name)
{
    if (!isAcceptableUserName(name))
        return AddUserOutcome::NameTaken;

    const QString userDirectory = platform::joinPath(startDirectory, name);
    switch (platform::makeDirectory(userDirectory)) {
    case platform::MakeDirectoryResult::Created:
        break;
    case platform::MakeDirectoryResult::AlreadyExists:
    case platform::MakeDirectoryResult::Failed:
        return AddUserOutcome::NameTaken;
    }

    // The registry line goes last: once it is there, the learner is complete.
    const QString logPath = platform::joinPath(userDirectory, resultsLogFileName(name));
    const QString registryFile = registryPath(startDirectory);
    const std::optional<QByteArray> registry = platform::readWholeFile(registryFile);
    if (registry && platform::writeWholeFileAtomically(logPath, resultsLogHeader(name))
        && platform::appendToExistingFile(registryFile, registryAppendix(*registry, name)))
        return AddUserOutcome::Added;

    platform::removeFile(logPath);
    platform::removeEmptyDirectory(userDirectory);
    return AddUserOutcome::WriteFailed;
}
