#pragma once

#include "protocol.h"

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>
#include <optional>

namespace lumaro {

// The 16-bit frame checksum of the gateway protocol: two nibble tables, start value 0x1368.
// Sent low byte first. Not a CRC of any standard polynomial (its second table follows none).
uint16_t frameChecksum(QByteArrayView bytes);

// Why a reception is not a usable answer frame.
enum class FrameError {
    None,
    TooShort,      // fewer than 5 bytes: not even address, function, one data byte and checksum
    TooLong,       // 128 bytes or more
    BadChecksum,
};

// One frame of the register protocol, checksum included. A small value type with named
// accessors; build requests with the static builders and check answers with parse().
class Frame
{
public:
    Frame() = default;

    // Validates a reception: length 5..127 and the checksum over all but the last two bytes.
    // Exception answers are valid frames (isException() tells them apart).
    static Frame parse(QByteArrayView bytes, FrameError *error = nullptr);
    static FrameError check(QByteArrayView bytes);

    // Appends the checksum to address, function and data. No limits are checked here:
    // the link refuses oversized requests and addresses above 16 before it queues them.
    static Frame withChecksum(QByteArrayView payload);

    static QByteArray readRegisters(uint8_t address, uint16_t reg, uint16_t count);
    static QByteArray writeRegister(uint8_t address, uint16_t reg, uint16_t value);
    static QByteArray writeRegisters(uint8_t address, uint16_t reg, QByteArrayView values);
    static QByteArray exceptionAnswer(uint8_t address, uint8_t function, uint8_t code);

    bool isValid() const { return m_bytes.size() >= 4; }
    const QByteArray &bytes() const { return m_bytes; }
    int size() const { return int(m_bytes.size()); }

    uint8_t address() const { return byteAt(0); }
    uint8_t function() const { return byteAt(1); }
    bool isException() const { return protocol::function::isException(function()); }
    uint8_t exceptionCode() const { return byteAt(2); }
    // Data bytes between the function byte and the checksum.
    QByteArrayView data() const;

    // Register number and value/count of a 0x43, 0x46 or 0x50 request (high byte first).
    uint16_t registerNumber() const { return word(2); }
    uint16_t registerArgument() const { return word(4); }

    // Register i of a 0x43 answer (after its byte count), or nullopt past the end.
    std::optional<uint16_t> answerRegister(int i) const;

    uint16_t checksum() const;

    friend bool operator==(const Frame &, const Frame &) = default;

private:
    explicit Frame(QByteArray bytes) : m_bytes(std::move(bytes)) {}
    uint8_t byteAt(int i) const { return i < m_bytes.size() ? uint8_t(m_bytes[i]) : 0; }
    uint16_t word(int i) const { return uint16_t(byteAt(i) << 8 | byteAt(i + 1)); }

    QByteArray m_bytes;
};

const char *frameErrorName(FrameError error);

}  // namespace lumaro
