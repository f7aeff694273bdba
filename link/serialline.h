#pragma once

#include "linesettings.h"

#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace lumaro {

class GatewayLink;
class LogSink;
class PortList;
class ProjectData;
class ProjectStore;
class Prompter;
class Transport;

// The serial line of the main window: opens and closes the RS485 line under the gateway link,
// with the log texts, the error box, the text of the status bar's line pane and the connected
// flag of the bus record. The commands "Open Port" and "Close Port" and the port dialog come
// here. A transport is made for each opening by a factory, so the program opens serial ports and
// tests open simulated lines or transports that fail.
//
// Lives on the user-interface thread with the link; the link must outlive it. The main window
// starts its link tick on opened() and stops it on closed().
class SerialLine : public QObject
{
    Q_OBJECT
public:
    using TransportFactory =
        std::function<std::unique_ptr<Transport>(const QString &device, const LineSettings &settings)>;

    // What section B0 of db.ctt holds about the line: the port choice and the indices of the
    // line settings. A missing or unreadable number takes its default.
    struct StoredChoice {
        int portIndex = 0;   // COM: index in the port list, 0 = AUTO/USB
        QString portName;    // PORTNAME: the device chosen; empty for AUTO/USB
        int baudIndex = LineSettings::kDefaultBaudIndex;
        int parityIndex = LineSettings::kDefaultParityIndex;
        int stopBitIndex = LineSettings::kDefaultStopBitIndex;

        LineSettings settings() const
        {
            return LineSettings::fromIndices(baudIndex, parityIndex, stopBitIndex);
        }
    };
    static StoredChoice readStoredChoice(const ProjectStore &store);

    // Serial ports through QSerialPort, for the program.
    static TransportFactory serialPortFactory();

    // `ports` is the main window's port list; it is read at each use, so the main window may
    // assign it a fresh list at any time.
    SerialLine(GatewayLink &link, ProjectStore &store, ProjectData &data, LogSink &log,
               Prompter &prompter, const PortList &ports, TransportFactory factory,
               QObject *parent = nullptr);
    ~SerialLine() override;

    // Opens the line on a device with the given settings; an open line is closed first. Failure
    // is logged ("<device> Open Failed.") and shown in an error box; the line is then closed.
    // An empty device (AUTO/USB) cannot be opened and fails the same way, leaving an open line
    // as it is.
    bool openLine(const QString &device, const LineSettings &settings);
    // Logs "COM close Failed." when the line is not connected.
    void closeLine();
    // "Open Port": the device stored in PORTNAME, else the one at index COM of the port list,
    // with the stored line settings.
    bool openPort();
    // "Close Port".
    void closePort() { closeLine(); }

    // Whether a device opens at all; it is closed again at once and the line is not touched.
    bool probe(const QString &device, const LineSettings &settings);

    bool isConnected() const;
    // The device of the open line (or of the line last open).
    QString device() const { return m_device; }
    LineSettings settings() const { return m_settings; }
    // The status bar's line pane: "<device>,<settings> Open," or "<device> Close".
    QString statusText() const { return m_statusText; }
    const PortList &ports() const { return m_ports; }

    // Menu state: "Open Port" only while the line is closed, "Close Port" only while it is open.
    bool canOpenPort() const { return !isConnected(); }
    bool canClosePort() const { return isConnected(); }

signals:
    // Every successful opening, a reopening included.
    void opened();
    // Every closing: by closeLine(), by a failed reopening, or because the line was lost.
    void closed();
    void connectedChanged(bool connected);
    void statusTextChanged(const QString &text);

private:
    void shutDown();
    void setConnected(bool connected);
    void setStatusText(const QString &text);
    void onLineError(const QString &text);
    QString shownName(const QString &device) const;

    GatewayLink &m_link;
    ProjectStore &m_store;
    ProjectData &m_data;
    LogSink &m_log;
    Prompter &m_prompter;
    const PortList &m_ports;
    TransportFactory m_factory;
    std::unique_ptr<Transport> m_transport;
    QString m_device;
    LineSettings m_settings;
    QString m_statusText;
};

}  // namespace lumaro
