#pragma once

namespace lumaro::sim {

// The serial line settings that gateway-sim times its answers with, and the answer timing of a
// gateway: bytes take their character time on the line (start bit, 8 data bits, parity, stop
// bits), a gateway needs a little time for its own registers and about one DALI exchange time
// for each frame it puts on its bus.
struct LineTiming {
    int baud = 9600;
    char parity = 'N';   // N, O or E
    int stopBits = 2;

    // Processing time of a request that touches only the gateway's own registers.
    static constexpr int kGatewayProcessingMs = 3;
    // A DALI forward frame with its settling time, or forward and backward frame: about 25 ms.
    static constexpr int kDaliFrameMs = 25;

    int bitsPerCharacter() const { return 1 + 8 + (parity == 'N' ? 0 : 1) + stopBits; }
    double characterMs() const { return 1000.0 * bitsPerCharacter() / baud; }
    // Whole milliseconds that count bytes take on the line, rounded up.
    int bytesMs(int count) const;
    // Silence after which a partly received request is given up, so that the receiver finds the
    // start of the next frame again after garbage: four character times, at least 10 ms (a
    // pseudo-terminal delivers a written frame at once, but a loaded machine may split it).
    int silenceGapMs() const;
    // Time from the arrival of a request (all its bytes at once, as a pseudo-terminal delivers
    // them) until its answer has been sent: the request's own line time, the processing, an extra
    // delay and the answer's line time.
    int answerDelayMs(int requestBytes, int answerBytes, int busFrames, int extraDelayMs) const;
};

}  // namespace lumaro::sim
