// SPDX-License-Identifier: GPL-3.0-or-later
// Reads arbitrary bytes as init.usr, then adds a name to it as the program does, and checks that
// every earlier name stays and the new one comes back whole.

#include "fuzz_check.h"

#include "platform/code_page.h"
#include "users/user_registry.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const std::string nameBytes = input.ConsumeRandomLengthString(64);
    const std::string registryBytes = input.ConsumeRemainingBytesAsString();
    const QByteArray registry(registryBytes.data(), static_cast<qsizetype>(registryBytes.size()));

    const QStringList names = parseUserNames(registry);
    for (const QString &name : names) {
        FUZZ_CHECK(!name.isEmpty());
        FUZZ_CHECK(!name.contains(QLatin1Char('\n')));
    }
    // Lines ended by CR LF and by LF alone read alike, wherever no other CR stands in a line.
    if (registry.count('\r') == registry.count("\r\n")) {
        QByteArray withLfOnly = registry;
        FUZZ_CHECK(parseUserNames(withLfOnly.replace("\r\n", "\n")) == names);
    }

    const QString name = platform::fromCodePage(QByteArray(nameBytes.data(), static_cast<qsizetype>(nameBytes.size())));
    if (!isAcceptableUserName(name))
        return 0;
    const QByteArray appendix = registryAppendix(registry, name);
    FUZZ_CHECK(appendix.endsWith("\r\n"));
    FUZZ_CHECK(parseUserNames(registry + appendix) == names + QStringList{name});
    return 0;
}
