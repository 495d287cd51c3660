#include "tests/support/StressSeed.h"

#include <QString>

#include <random>

std::uint32_t StressSeed() {
    bool ok = false;
    const std::uint32_t given = qEnvironmentVariable("VQ_STRESS_SEED").toUInt(&ok);
    return ok ? given : std::random_device{}();
}
