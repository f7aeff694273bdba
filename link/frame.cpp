#include "frame.h"

#include <array>

namespace lumaro {

namespace {
// Nibble table of the reflected polynomial 0xA001.
constexpr std::array<uint16_t, 16> kTableA = {
    0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
    0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400,
};
// The high-nibble table of the gateways' firmware. It follows no polynomial; the gateways
// compute it this way, so we must too.
constexpr std::array<uint16_t, 16> kTableB = {
    0x1010, 0xDC21, 0xE831, 0x2440, 0x0051, 0x4C60, 0x3870, 0xF481,
    0xB091, 0x7CA0, 0x88B0, 0xC4C1, 0x60D0, 0xACE1, 0x98F1, 0x5400,
};
constexpr uint16_t kChecksumStart = 0x1368;
}  // namespace

uint16_t frameChecksum(QByteArrayView bytes)
{
    uint16_t crc = kChecksumStart;
    for (char c : bytes) {
        const auto b = uint8_t(c);
        const uint16_t t = uint16_t((crc >> 4) ^ kTableA[(crc ^ b) & 0x0F]);
        crc = uint16_t((t >> 4) ^ kTableB[(t ^ (b >> 4)) & 0x0F]);
    }
    return crc;
}

FrameError Frame::check(QByteArrayView bytes)
{
    if (bytes.size() < protocol::kMinAnswer)
        return FrameError::TooShort;
    if (bytes.size() > protocol::kMaxAnswer)
        return FrameError::TooLong;
    const qsizetype n = bytes.size();
    const uint16_t sent = uint16_t(uint8_t(bytes[n - 2]) | uint8_t(bytes[n - 1]) << 8);
    if (frameChecksum(bytes.first(n - 2)) != sent)
        return FrameError::BadChecksum;
    return FrameError::None;
}

Frame Frame::parse(QByteArrayView bytes, FrameError *error)
{
    const FrameError e = check(bytes);
    if (error)
        *error = e;
    return e == FrameError::None ? Frame(bytes.toByteArray()) : Frame();
}

Frame Frame::withChecksum(QByteArrayView payload)
{
    QByteArray bytes = payload.toByteArray();
    const uint16_t crc = frameChecksum(payload);
    bytes.append(char(crc & 0xFF));
    bytes.append(char(crc >> 8));
    return Frame(std::move(bytes));
}

static void appendWord(QByteArray &b, uint16_t w)
{
    b.append(char(w >> 8));
    b.append(char(w & 0xFF));
}

QByteArray Frame::readRegisters(uint8_t address, uint16_t reg, uint16_t count)
{
    QByteArray b;
    b.append(char(address));
    b.append(char(protocol::function::ReadRegisters));
    appendWord(b, reg);
    appendWord(b, count);
    return b;
}

QByteArray Frame::writeRegister(uint8_t address, uint16_t reg, uint16_t value)
{
    QByteArray b;
    b.append(char(address));
    b.append(char(protocol::function::WriteRegister));
    appendWord(b, reg);
    appendWord(b, value);
    return b;
}

QByteArray Frame::writeRegisters(uint8_t address, uint16_t reg, QByteArrayView values)
{
    QByteArray b;
    b.append(char(address));
    b.append(char(protocol::function::WriteRegisters));
    appendWord(b, reg);
    appendWord(b, uint16_t(values.size() / 2));
    b.append(char(values.size()));
    b.append(values.data(), values.size());
    return b;
}

QByteArray Frame::exceptionAnswer(uint8_t address, uint8_t function, uint8_t code)
{
    QByteArray b;
    b.append(char(address));
    b.append(char(function | protocol::function::ExceptionFlag));
    b.append(char(code));
    return withChecksum(b).bytes();
}

QByteArrayView Frame::data() const
{
    if (m_bytes.size() < 4)
        return {};
    return QByteArrayView(m_bytes).sliced(2, m_bytes.size() - 4);
}

std::optional<uint16_t> Frame::answerRegister(int i) const
{
    // address, function, byte count, then two bytes per register, then the checksum
    const int at = 3 + 2 * i;
    if (i < 0 || at + 1 >= m_bytes.size() - 2)
        return std::nullopt;
    return word(at);
}

uint16_t Frame::checksum() const
{
    const qsizetype n = m_bytes.size();
    if (n < 2)
        return 0;
    return uint16_t(uint8_t(m_bytes[n - 2]) | uint8_t(m_bytes[n - 1]) << 8);
}

const char *frameErrorName(FrameError error)
{
    switch (error) {
    case FrameError::None: return "valid";
    case FrameError::TooShort: return "too short";
    case FrameError::TooLong: return "too long";
    case FrameError::BadChecksum: return "bad checksum";
    }
    return "?";
}

}  // namespace lumaro
