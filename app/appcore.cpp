#include "appcore.h"

#include "prompter.h"

#include <QCoreApplication>
#include <QThread>

namespace lumaro {

AppCore::AppCore(QString workingFolder, Prompter &prompter, const Clock &clock,
                 SerialLine::TransportFactory transports, QObject *parent)
    : QObject(parent),
      m_prompter(prompter),
      m_clock(clock),
      m_log(workingFolder, clock),
      m_store(workingFolder, &m_log),
      m_link(m_log, prompter),
      m_ports(PortList::fromSystem()),
      m_line(m_link, m_store, m_data, m_log, prompter, m_ports, std::move(transports))
{
}

void AppCore::setExtraPorts(const QStringList &devices)
{
    m_extraPorts = devices;
    refreshPorts();
}

void AppCore::refreshPorts()
{
    m_ports = PortList::fromSystem(m_extraPorts);
}

PortSetting::Context AppCore::portSettingContext()
{
    return {m_line, m_link, m_store, m_log, m_prompter, m_portSession, m_settings.comTimeout};
}

AppCore::~AppCore()
{
    m_poll.reset();
    if (m_line.isConnected())
        m_line.closeLine();
    if (m_loader) {
        m_loader->wait();
        delete m_loader;
    }
}

bool AppCore::prepareProject()
{
    const ProjectStore::StartupCheck check = m_store.prepareFiles();
    if (check.result == ProjectStore::StartupResult::Ready)
        return true;
    m_prompter.ask(Prompter::Icon::Critical, Prompter::Buttons::Ok, check.message);
    return false;
}

void AppCore::readSettings()
{
    m_settings = SoftwareSettings::read(m_store);
    m_log.setKeepDays(m_settings.logDayClear);
    m_poll.reset();
    m_poll = std::make_unique<StatusPoll>(m_link, m_data, m_log, m_settings);
}

void AppCore::startLoading()
{
    if (m_loader)
        return;
    // The store makes every call wait while it loads, so the window stays responsive and nothing
    // written meanwhile is lost.
    m_loader = QThread::create([this] {
        QStringList failures;
        m_store.load(&failures);
        QMetaObject::invokeMethod(this, [this, failures] {
            for (const QString &f : failures)
                m_log.log(f);
            m_loaded = true;
            emit loaded();
        }, Qt::QueuedConnection);
    });
    m_loader->start(QThread::HighestPriority);
}

void AppCore::applyPollSetting()
{
    m_data.bus.statusPollPaused = m_settings.statusPollPaused();
}

bool AppCore::saveLiveState()
{
    return m_data.saveLiveState(m_store);
}

void AppCore::finishShutdown()
{
    // A request still in flight gets no result any more; the shutdown starts a line of its own.
    m_log.endOpenLine();
    m_log.log(QCoreApplication::translate("CMainFrame", "Saving project data , please wait..."));
    m_log.log(QCoreApplication::translate("CMainFrame", "finish.\r\n"));
    m_log.log(QCoreApplication::translate("CMainFrame", "Lumaro software close success.\r\n"));
    m_log.clear();
}

}  // namespace lumaro
