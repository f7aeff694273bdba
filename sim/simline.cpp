#include "simline.h"

#include "frame.h"
#include "installation.h"
#include "protocol.h"

namespace lumaro::sim {

namespace {
constexpr int kMinRequest = 5;   // address, function, at least one data byte, checksum
}

SimLine::SimLine(const Installation &installation)
{
    for (const SimGateway &g : installation.gateways())
        addGateway(g);
}

SimGateway &SimLine::addGateway(const SimGateway &gateway)
{
    Q_ASSERT(gateway.address() >= 1 && gateway.address() <= protocol::kMaxGatewayAddress);
    return m_gateways[size_t(gateway.address())].emplace(gateway);
}

void SimLine::removeGateway(int address)
{
    if (address >= 1 && address <= protocol::kMaxGatewayAddress)
        m_gateways[size_t(address)].reset();
}

SimGateway *SimLine::gateway(int address)
{
    if (address < 1 || address > protocol::kMaxGatewayAddress || !m_gateways[size_t(address)])
        return nullptr;
    return &*m_gateways[size_t(address)];
}

const SimGateway *SimLine::gateway(int address) const
{
    return const_cast<SimLine *>(this)->gateway(address);
}

QList<int> SimLine::gatewayAddresses() const
{
    QList<int> addresses;
    for (int a = 1; a <= protocol::kMaxGatewayAddress; ++a)
        if (m_gateways[size_t(a)])
            addresses.append(a);
    return addresses;
}

void SimLine::setFaults(const Faults &faults)
{
    m_faults = faults;
    m_random.seed(faults.seed);
}

bool SimLine::answers(int address) const
{
    return gateway(address) && !gateway(address)->isRebooting()
           && !m_faults.silentGateways.contains(address);
}

SimLine::Exchange SimLine::exchange(QByteArrayView frame)
{
    if (frame.size() < kMinRequest || frame.size() > protocol::kMaxFrame)
        return {};
    const qsizetype n = frame.size();
    const auto sent = uint16_t(uint8_t(frame[n - 2]) | uint8_t(frame[n - 1]) << 8);
    if (frameChecksum(frame.first(n - 2)) != sent)
        return {};

    const int address = uint8_t(frame[0]);
    if (address == protocol::kAllGateways) {
        for (int a = 1; a <= protocol::kMaxGatewayAddress; ++a)
            if (answers(a))
                gateway(a)->handle(frame);
        return {};
    }
    if (!answers(address))
        return {};

    SimGateway::Reply reply = gateway(address)->handle(frame);
    if (m_faults.loseFraction > 0 && m_random.generateDouble() < m_faults.loseFraction)
        return {QByteArray(), reply.busFrames};
    if (m_faults.damageFraction > 0 && m_random.generateDouble() < m_faults.damageFraction)
        reply.answer = damaged(reply.answer);
    return {reply.answer, reply.busFrames};
}

QByteArray SimLine::damaged(QByteArray answer)
{
    if (answer.isEmpty())
        return answer;
    const auto at = qsizetype(m_random.bounded(int(answer.size())));
    const auto flip = char(m_random.bounded(1, 256));
    answer[at] = char(answer[at] ^ flip);
    if (Frame::check(answer) == FrameError::None) {
        // The checksum missed this change; damage its low byte instead, which it cannot miss,
        // so that the receiver always has a reason to drop the answer.
        answer[at] = char(answer[at] ^ flip);
        answer[answer.size() - 2] = char(answer[answer.size() - 2] ^ flip);
    }
    return answer;
}

void SimLine::advance(int ms)
{
    for (auto &g : m_gateways)
        if (g)
            g->advance(ms);
}

}  // namespace lumaro::sim
