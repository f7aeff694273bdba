#include "serialtransport.h"

namespace lumaro {

SerialTransport::SerialTransport(QObject *parent) : Transport(parent)
{
    connect(&m_port, &QSerialPort::readyRead, this, [this] {
        const QByteArray bytes = m_port.readAll();
        if (!bytes.isEmpty())
            emit bytesArrived(bytes);
    });
    connect(&m_port, &QSerialPort::errorOccurred, this, &SerialTransport::onError);
}

bool SerialTransport::open()
{
    if (m_port.isOpen())
        return true;
    if (!m_port.open(QIODevice::ReadWrite))
        return false;
    const bool configured = m_port.setBaudRate(m_settings.baudRate)
                            && m_port.setDataBits(QSerialPort::Data8)
                            && m_port.setParity(m_settings.parity)
                            && m_port.setStopBits(m_settings.stopBits)
                            && m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!configured) {
        m_port.close();
        return false;
    }
    m_port.clear();
    return true;
}

void SerialTransport::close()
{
    if (m_port.isOpen())
        m_port.close();
}

bool SerialTransport::write(const QByteArray &bytes)
{
    return m_port.isOpen() && m_port.write(bytes) == bytes.size();
}

void SerialTransport::discardInput()
{
    if (m_port.isOpen())
        m_port.clear(QSerialPort::Input);
}

void SerialTransport::onError(QSerialPort::SerialPortError error)
{
    if (error == QSerialPort::NoError || error == QSerialPort::TimeoutError)
        return;
    emit lineError(m_port.errorString());
    // An adapter that was pulled out leaves a port that can no longer be used.
    if (error == QSerialPort::ResourceError && m_port.isOpen())
        m_port.close();
}

}  // namespace lumaro
