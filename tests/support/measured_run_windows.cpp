// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/measured_run.h"

#include "support/file_helpers.h"

#include <QDir>

#include <algorithm>

#include <windows.h>
// After windows.h, whose types it uses.
#include <psapi.h>

namespace {

std::wstring quoted(const QString &word)
{
    return L"\"" + QDir::toNativeSeparators(word).toStdWString() + L"\"";
}

} // namespace

// The peak is the tool's largest working set, read from its process until it ends.
MeasuredRun runMeasured(const QString &program, const QStringList &arguments, const QString &errorsFile)
{
    MeasuredRun run;
    SECURITY_ATTRIBUTES inherited{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const HANDLE errors = ::CreateFileW(QDir::toNativeSeparators(errorsFile).toStdWString().c_str(), GENERIC_WRITE,
                                        FILE_SHARE_READ, &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    const HANDLE nothing =
        ::CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_WRITE, &inherited, OPEN_EXISTING, 0, nullptr);
    std::wstring commandLine = quoted(program);
    for (const QString &argument : arguments)
        commandLine += L" " + quoted(argument);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = nothing;
    startup.hStdError = errors;
    PROCESS_INFORMATION process{};
    if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                         &process)) {
        // Read while it runs as well: wine may no longer know an ended process's peak.
        do {
            PROCESS_MEMORY_COUNTERS memory{};
            if (::GetProcessMemoryInfo(process.hProcess, &memory, sizeof memory))
                run.peakKilobytes = std::max(run.peakKilobytes, long(memory.PeakWorkingSetSize / 1024));
        } while (::WaitForSingleObject(process.hProcess, 10) == WAIT_TIMEOUT);
        DWORD status = 0;
        if (::GetExitCodeProcess(process.hProcess, &status))
            run.status = int(status);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
    }
    ::CloseHandle(errors);
    ::CloseHandle(nothing);
    run.errors = fileContents(errorsFile);
    return run;
}
