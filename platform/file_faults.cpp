#include "platform/file_faults.h"

#include <array>
#include <optional>

namespace platform {

namespace {

struct PlannedFault {
    int skip = 0;
    qint64 bytesBeforeFailure = 0;
};

std::array<std::optional<PlannedFault>, 4> &plannedFaults()
{
    static std::array<std::optional<PlannedFault>, 4> faults;
    return faults;
}

} // namespace

void planFileFault(FileOperation operation, int skip, qint64 bytesBeforeFailure)
{
    plannedFaults()[std::size_t(operation)] = PlannedFault{skip, bytesBeforeFailure};
}

void clearFileFaults()
{
    plannedFaults().fill(std::nullopt);
}

bool fileFaultDue(FileOperation operation, qint64 *bytesBeforeFailure)
{
    std::optional<PlannedFault> &fault = plannedFaults()[std::size_t(operation)];
    if (!fault)
        return false;
    if (fault->skip > 0) {
        --fault->skip;
        return false;
    }
    if (bytesBeforeFailure)
        *bytesBeforeFailure = fault->bytesBeforeFailure;
    fault.reset();
    return true;
}

} // namespace platform
