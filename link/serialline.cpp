#include "serialline.h"

#include "gatewaylink.h"
#include "logsink.h"
#include "portlist.h"
#include "projectdata.h"
#include "projectstore.h"
#include "prompter.h"
#include "serialtransport.h"

#include <QCoreApplication>

namespace lumaro {

namespace {

const QString kLineSection = QStringLiteral("B0");

int storedNumber(const ProjectStore &store, const QString &key, int fallback)
{
    bool ok = false;
    const int value = store.read(ProjectFile::Db, kLineSection, key).trimmed().toInt(&ok);
    return ok ? value : fallback;
}

}  // namespace

SerialLine::StoredChoice SerialLine::readStoredChoice(const ProjectStore &store)
{
    StoredChoice c;
    c.portIndex = storedNumber(store, QStringLiteral("COM"), PortList::kAuto);
    c.portName = store.read(ProjectFile::Db, kLineSection, QStringLiteral("PORTNAME")).trimmed();
    c.baudIndex = storedNumber(store, QStringLiteral("BAUDRATE"), LineSettings::kDefaultBaudIndex);
    c.parityIndex = storedNumber(store, QStringLiteral("PARITY"), LineSettings::kDefaultParityIndex);
    c.stopBitIndex = storedNumber(store, QStringLiteral("STOPBIT"), LineSettings::kDefaultStopBitIndex);
    return c;
}

SerialLine::TransportFactory SerialLine::serialPortFactory()
{
    return [](const QString &device, const LineSettings &settings) -> std::unique_ptr<Transport> {
        auto port = std::make_unique<SerialTransport>();
        port->setPortName(device);
        port->setLineSettings(settings);
        return port;
    };
}

SerialLine::SerialLine(GatewayLink &link, ProjectStore &store, ProjectData &data, LogSink &log,
                       Prompter &prompter, const PortList &ports, TransportFactory factory,
                       QObject *parent)
    : QObject(parent),
      m_link(link),
      m_store(store),
      m_data(data),
      m_log(log),
      m_prompter(prompter),
      m_ports(ports),
      m_factory(std::move(factory))
{
}

SerialLine::~SerialLine()
{
    if (m_transport) {
        shutDown();
        m_link.setTransport(nullptr);
    }
    m_data.bus.connected = false;
}

bool SerialLine::isConnected() const
{
    return m_data.bus.connected;
}

QString SerialLine::shownName(const QString &device) const
{
    return device.isEmpty() ? PortList::autoText() : device;
}

bool SerialLine::openLine(const QString &device, const LineSettings &settings)
{
    const bool wasConnected = isConnected();
    const QString previous = m_device;
    bool ok = false;
    // AUTO/USB names no device: nothing to open, and an open line stays as it is.
    if (!device.isEmpty()) {
        shutDown();
        m_link.setTransport(nullptr);
        m_transport = m_factory ? m_factory(device, settings) : nullptr;
        m_device = device;
        m_settings = settings;
        if (m_transport) {
            connect(m_transport.get(), &Transport::lineError, this, &SerialLine::onLineError);
            m_link.setTransport(m_transport.get());
            ok = m_link.open();
        }
    }

    if (!ok) {
        m_log.appendPending(
            QCoreApplication::translate("SerialLine", "%1 Open Failed.\r\n").arg(shownName(device)));
        m_log.writePending();
        m_prompter.ask(Prompter::Icon::Critical, Prompter::Buttons::Ok,
                       QCoreApplication::translate("SerialLine", " Open Failed.\r\n"));
        // A reopening closed the line that was open: the flag and the pane must say so.
        if (wasConnected && !device.isEmpty()) {
            setConnected(false);
            setStatusText(QCoreApplication::translate("SerialLine", "%1 Close").arg(previous));
            emit closed();
        }
        return false;
    }

    m_data.bus.comPort = quint8(qBound(0, m_ports.indexOf(device), 255));
    setConnected(true);
    const QString line = QStringLiteral("%1,%2").arg(device, settings.text());
    m_log.appendPending(QCoreApplication::translate("SerialLine", "%1 Open  success.\r\n").arg(line));
    m_log.writePending();
    setStatusText(QCoreApplication::translate("SerialLine", "%1 Open,").arg(line));
    emit opened();
    return true;
}

void SerialLine::closeLine()
{
    if (!isConnected()) {
        m_log.appendPending(QCoreApplication::translate("SerialLine", "COM close Failed.\r\n"));
        m_log.writePending();
        return;
    }
    shutDown();
    setConnected(false);
    m_log.appendPending(QCoreApplication::translate("SerialLine", "%1 close success.\r\n").arg(m_device));
    m_log.writePending();
    setStatusText(QCoreApplication::translate("SerialLine", "%1 Close").arg(m_device));
    emit closed();
}

bool SerialLine::openPort()
{
    const StoredChoice choice = readStoredChoice(m_store);
    // The device itself when it was stored: the index alone may name another device by now.
    const QString device = choice.portName.isEmpty() ? m_ports.deviceAt(choice.portIndex) : choice.portName;
    return openLine(device, choice.settings());
}

bool SerialLine::probe(const QString &device, const LineSettings &settings)
{
    if (device.isEmpty() || !m_factory)
        return false;
    std::unique_ptr<Transport> transport = m_factory(device, settings);
    if (!transport || !transport->open())
        return false;
    transport->close();
    return true;
}

void SerialLine::shutDown()
{
    // The link clears its ring and the request in flight, then closes the transport.
    if (m_transport && m_link.transport() == m_transport.get())
        m_link.close();
    else if (m_transport)
        m_transport->close();
}

void SerialLine::setConnected(bool connected)
{
    if (m_data.bus.connected == connected)
        return;
    m_data.bus.connected = connected;
    emit connectedChanged(connected);
}

void SerialLine::setStatusText(const QString &statusText)
{
    if (m_statusText == statusText)
        return;
    m_statusText = statusText;
    emit statusTextChanged(m_statusText);
}

void SerialLine::onLineError(const QString &error)
{
    m_log.appendPending(
        QCoreApplication::translate("SerialLine", "%1 line error: %2\r\n").arg(m_device, error));
    m_log.writePending();
    // An adapter that was pulled out leaves a closed port behind: the line is gone.
    if (isConnected() && m_transport && !m_transport->isOpen()) {
        shutDown();
        setConnected(false);
        setStatusText(QCoreApplication::translate("SerialLine", "%1 Close").arg(m_device));
        emit closed();
    }
}

}  // namespace lumaro
