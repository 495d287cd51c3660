#pragma once
// The seed of a stress test's random plan: VQ_STRESS_SEED when it is set, so that a failed run
// can be repeated, else a random one. The tests put it in every failure message.

#include <cstdint>

std::uint32_t StressSeed();
