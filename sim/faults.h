#pragma once

#include <QSet>
#include <cstdint>

namespace lumaro::sim {

// Faults that SimLine injects into the simulated line. The fractions are drawn from a random
// generator seeded with `seed` whenever the faults are set, so a test (or a gateway-sim run with
// --seed) sees the same faults every time.
struct Faults {
    // Gateways that are off line: they neither carry out requests nor answer.
    QSet<int> silentGateways;
    // Share 0..1 of the answers lost on the line (the request was carried out).
    double loseFraction = 0.0;
    // Share 0..1 of the answers with one damaged byte, always such that the checksum shows it.
    double damageFraction = 0.0;
    // Extra delay of every answer in ms; applied by whoever puts the answers on a real line.
    int extraDelayMs = 0;
    uint32_t seed = 1;
};

}  // namespace lumaro::sim
