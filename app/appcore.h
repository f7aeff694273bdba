#pragma once

#include "clock.h"
#include "gatewaylink.h"
#include "logbook.h"
#include "portlist.h"
#include "portsetting.h"
#include "projectdata.h"
#include "projectstore.h"
#include "serialline.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QObject>
#include <memory>

class QThread;

namespace lumaro {

class Prompter;

// Everything the main window owns that is not a widget: the project store and data, the
// settings, the log book and the gateway link. It carries out the start-up and shutdown steps
// that are logic; CMainFrame shows them and adds the widgets in between.
class AppCore : public QObject
{
    Q_OBJECT
public:
    // `transports` makes the transport of a port; the serial port unless a test says otherwise.
    AppCore(QString workingFolder, Prompter &prompter, const Clock &clock,
            SerialLine::TransportFactory transports = SerialLine::serialPortFactory(), QObject *parent = nullptr);
    ~AppCore() override;

    // The file checks of start-up. On a missing DeviceType.ini or an unreadable db.ctt the user
    // is told and false comes back: the program must end.
    bool prepareProject();
    // Section "SOFTWARE" of softset.ini; creates the status poll, which runs by them.
    void readSettings();
    // Loads the in-memory copies of db.ctt and DeviceType.ini on a worker; loaded() follows.
    void startLoading();
    bool isLoaded() const { return m_loaded; }
    // NOCHECKFLAG keeps the status poll paused from the start.
    void applyPollSetting();

    // Live state of the gear and gateways back to db.ctt. Runs before the exit question.
    bool saveLiveState();
    // The end of a confirmed exit: its log texts, then the log book to the daily file.
    void finishShutdown();

    QString workingFolder() const { return m_store.workingFolder(); }
    ProjectStore &store() { return m_store; }
    ProjectData &data() { return m_data; }
    const SoftwareSettings &settings() const { return m_settings; }
    LogBook &log() { return m_log; }
    GatewayLink &link() { return m_link; }
    SerialLine &line() { return m_line; }
    // The ports of the port setting dialog: "AUTO/USB", the system's, then the extra devices.
    const PortList &ports() const { return m_ports; }
    void setExtraPorts(const QStringList &devices);
    void refreshPorts();
    PortSetting::Context portSettingContext();
    // Exists once the settings have been read.
    StatusPoll &poll() { return *m_poll; }
    Prompter &prompter() { return m_prompter; }
    const Clock &clock() const { return m_clock; }
    bool chinese() const { return m_settings.language == 1; }

signals:
    void loaded();

private:
    Prompter &m_prompter;
    const Clock &m_clock;
    LogBook m_log;
    ProjectStore m_store;
    ProjectData m_data;
    SoftwareSettings m_settings;
    GatewayLink m_link;
    std::unique_ptr<StatusPoll> m_poll;
    QStringList m_extraPorts;
    PortList m_ports;
    SerialLine m_line;
    PortSetting::Session m_portSession;
    QThread *m_loader = nullptr;
    bool m_loaded = false;
};

}  // namespace lumaro
