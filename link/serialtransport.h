#pragma once

#include "linesettings.h"
#include "transport.h"

#include <QSerialPort>

namespace lumaro {

// The transport over a real serial port (a COM port, a USB adapter, a pseudo-terminal). Bytes are
// read in the event loop as they arrive.
class SerialTransport final : public Transport
{
    Q_OBJECT
public:
    explicit SerialTransport(QObject *parent = nullptr);

    void setPortName(const QString &name) { m_port.setPortName(name); }
    QString portName() const { return m_port.portName(); }
    void setLineSettings(const LineSettings &s) { m_settings = s; }
    LineSettings lineSettings() const { return m_settings; }

    bool open() override;
    void close() override;
    bool isOpen() const override { return m_port.isOpen(); }
    bool write(const QByteArray &bytes) override;
    void discardInput() override;
    QString errorString() const override { return m_port.errorString(); }

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    LineSettings m_settings;
};

}  // namespace lumaro
