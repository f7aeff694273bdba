#pragma once

#include <QSerialPort>
#include <QString>
#include <QStringList>

namespace lumaro {

// Line settings of the RS485 adapter. The project keeps them as indices into fixed lists
// (keys BAUDRATE, PARITY, STOPBIT of section B0); the gateways always use 8 data bits.
struct LineSettings {
    static constexpr int kDefaultBaudIndex = 3;     // 9600
    static constexpr int kDefaultParityIndex = 0;   // none
    static constexpr int kDefaultStopBitIndex = 1;  // 2 stop bits

    qint32 baudRate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::StopBits stopBits = QSerialPort::TwoStop;

    // From the stored indices; an index outside its list takes that list's default.
    static LineSettings fromIndices(int baudIndex, int parityIndex, int stopBitIndex);
    static const QList<qint32> &baudRates();

    // The settings text shown in the log and the status bar, for example 9600,N,8,2.
    QString text() const;

    friend bool operator==(const LineSettings &, const LineSettings &) = default;
};

}  // namespace lumaro
