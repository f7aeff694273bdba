#pragma once

#include "faults.h"
#include "simgateway.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QRandomGenerator>
#include <array>
#include <optional>

namespace lumaro::sim {

class Installation;

// The simulated RS485 line: up to sixteen gateways (addresses 1..16) that share one line, with
// fault injection. One request frame in, at most one answer frame out. The in-process transport
// of the tests and the gateway-sim program drive it; time passes only through advance().
class SimLine
{
public:
    SimLine() = default;
    // A line with the gateways and gear of an installation.
    explicit SimLine(const Installation &installation);

    // Puts a gateway on the line at its address (replacing one that is there).
    SimGateway &addGateway(const SimGateway &gateway);
    void removeGateway(int address);
    // The gateway at an address 1..16, or nullptr when the line has none there.
    SimGateway *gateway(int address);
    const SimGateway *gateway(int address) const;
    QList<int> gatewayAddresses() const;

    // Sets the faults and restarts the random generator from their seed.
    void setFaults(const Faults &faults);
    const Faults &faults() const { return m_faults; }

    struct Exchange {
        QByteArray answer;   // empty when nothing answers
        int busFrames = 0;   // DALI frames the request put on the bus of the addressed gateway
    };
    // Takes one complete request frame, checksum included. Nothing answers a frame that is too
    // short or too long, has a wrong checksum, is addressed to a gateway that is absent or
    // silent, or whose answer is lost. A frame to address 0 is carried out by every gateway and
    // answered by none.
    Exchange exchange(QByteArrayView frame);
    QByteArray handleRequest(QByteArrayView frame) { return exchange(frame).answer; }

    // Lets simulated time pass on every bus (fades).
    void advance(int ms);

private:
    bool answers(int address) const;
    QByteArray damaged(QByteArray answer);

    std::array<std::optional<SimGateway>, 17> m_gateways;   // index = address; 0 is never used
    Faults m_faults;
    QRandomGenerator m_random{1};
};

}  // namespace lumaro::sim
