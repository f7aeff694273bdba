#include "linesettings.h"

namespace lumaro {

const QList<qint32> &LineSettings::baudRates()
{
    static const QList<qint32> rates = {1200, 2400, 4800, 9600, 14400, 19200, 38400};
    return rates;
}

LineSettings LineSettings::fromIndices(int baudIndex, int parityIndex, int stopBitIndex)
{
    static constexpr QSerialPort::Parity parities[] = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                        QSerialPort::EvenParity};
    LineSettings s;
    const QList<qint32> &rates = baudRates();
    s.baudRate = rates[baudIndex >= 0 && baudIndex < rates.size() ? baudIndex : kDefaultBaudIndex];
    s.parity = parities[parityIndex >= 0 && parityIndex < 3 ? parityIndex : kDefaultParityIndex];
    // Index 0 is one stop bit; every other index, and a missing key, two.
    s.stopBits = stopBitIndex == 0 ? QSerialPort::OneStop : QSerialPort::TwoStop;
    return s;
}

QString LineSettings::text() const
{
    QChar parityLetter = QLatin1Char('N');
    if (parity == QSerialPort::OddParity)
        parityLetter = QLatin1Char('O');
    else if (parity == QSerialPort::EvenParity)
        parityLetter = QLatin1Char('E');
    return QStringLiteral("%1,%2,8,%3").arg(baudRate).arg(parityLetter).arg(stopBits == QSerialPort::OneStop ? 1 : 2);
}

}  // namespace lumaro
