#include "portsetting.h"

#include "frame.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "projectstore.h"
#include "prompter.h"
#include "protocol.h"
#include "requesterid.h"
#include "serialline.h"

#include <QCoreApplication>

namespace lumaro {

namespace {

const QString kLineSection = QStringLiteral("B0");
const QString kGatewayOneSection = QStringLiteral("M1");
constexpr int kParityCount = 3;
constexpr int kStopBitCount = 2;

int inList(int index, int count, int fallback)
{
    return index >= 0 && index < count ? index : fallback;
}

QString connectingText(const QString &device)
{
    return QCoreApplication::translate("CPortSetting", "Connecting %1, please wait......").arg(device);
}

}  // namespace

PortSetting::PortSetting(const Context &context, QObject *parent)
    : QObject(parent), m_context(context), m_ports(context.line.ports())
{
    const SerialLine::StoredChoice stored = SerialLine::readStoredChoice(m_context.store);
    // The device's name survives a change in the order of the list; the index is the fallback
    // for projects that have no name stored.
    const int named = m_ports.indexOf(stored.portName);
    m_portIndex = named >= 0 ? named : inList(stored.portIndex, m_ports.count(), PortList::kAuto);
    m_baudIndex = inList(stored.baudIndex, int(LineSettings::baudRates().size()),
                         LineSettings::kDefaultBaudIndex);
    m_parityIndex = inList(stored.parityIndex, kParityCount, LineSettings::kDefaultParityIndex);
    // Stored index 0 is one stop bit; every other index stands for two.
    m_stopBitIndex = stored.stopBitIndex == 0 ? 0 : 1;

    m_context.link.registerRequester(requester::PortSetting, this);
    connect(&m_context.line, &SerialLine::connectedChanged, this, &PortSetting::changed);
    connect(&m_context.line, &SerialLine::closed, this, &PortSetting::onLineClosed);

    if (!m_context.session.dialogShown) {
        m_context.session.dialogShown = true;
        m_secondsLeft = kCountdownSeconds;
    }
}

PortSetting::~PortSetting()
{
    m_context.link.unregisterRequester(requester::PortSetting);
}

QStringList PortSetting::baudTexts()
{
    QStringList texts;
    for (qint32 rate : LineSettings::baudRates())
        texts.append(QString::number(rate));
    return texts;
}

QStringList PortSetting::parityTexts()
{
    return {QCoreApplication::translate("CPortSetting", "None"),
            QCoreApplication::translate("CPortSetting", "Odd"),
            QCoreApplication::translate("CPortSetting", "Even")};
}

QStringList PortSetting::stopBitTexts()
{
    return {QStringLiteral("1"), QStringLiteral("2")};
}

QString PortSetting::promptText() const
{
    if (isCountdownRunning())
        return QCoreApplication::translate("CPortSetting", "Please select the COM port number  ... %1 Second")
            .arg(m_secondsLeft);
    return QCoreApplication::translate("CPortSetting", "Please select the COM port number");
}

bool PortSetting::isOpenEnabled() const
{
    return !m_context.line.isConnected() && m_search == Search::Idle;
}

bool PortSetting::isCloseEnabled() const
{
    return m_context.line.isConnected();
}

void PortSetting::choosePort(int index)
{
    if (index < 0 || index >= m_ports.count() || !isPortListEnabled())
        return;
    m_portIndex = index;
    stopCountdown();
    emit changed();
}

void PortSetting::chooseBaud(int index)
{
    if (index < 0 || index >= LineSettings::baudRates().size())
        return;
    m_baudIndex = index;
    stopCountdown();
    emit changed();
}

void PortSetting::chooseParity(int index)
{
    if (index < 0 || index >= kParityCount)
        return;
    m_parityIndex = index;
    stopCountdown();
    emit changed();
}

void PortSetting::chooseStopBit(int index)
{
    if (index < 0 || index >= kStopBitCount)
        return;
    m_stopBitIndex = index;
    stopCountdown();
    emit changed();
}

void PortSetting::stopCountdown()
{
    m_secondsLeft = 0;
}

void PortSetting::setStatusText(const QString &text)
{
    m_statusText = text;
    emit changed();
}

LineSettings PortSetting::chosenSettings() const
{
    return LineSettings::fromIndices(m_baudIndex, m_parityIndex, m_stopBitIndex);
}

// Written at once, before the line opens. The line settings are kept for a search as well: the
// search uses them, and the next start (whose countdown searches again) must find the line
// with the same settings.
void PortSetting::storeChoice()
{
    ProjectStore &store = m_context.store;
    ProjectStore::Batch batch(store);
    auto writeChanged = [&](const QString &key, const QString &value) {
        if (store.read(ProjectFile::Db, kLineSection, key) != value)
            store.writeThrough(ProjectFile::Db, kLineSection, key, value);
    };
    writeChanged(QStringLiteral("COM"), QString::number(m_portIndex));
    writeChanged(QStringLiteral("PORTNAME"), m_ports.deviceAt(m_portIndex));
    writeChanged(QStringLiteral("BAUDRATE"), QString::number(m_baudIndex));
    writeChanged(QStringLiteral("PARITY"), QString::number(m_parityIndex));
    writeChanged(QStringLiteral("STOPBIT"), QString::number(m_stopBitIndex));
}

void PortSetting::confirm()
{
    // A running search decides its own steps.
    if (m_search != Search::Idle)
        return;
    stopCountdown();
    storeChoice();
    const LineSettings settings = chosenSettings();

    if (m_portIndex != PortList::kAuto || m_context.line.isConnected()) {
        // With the line open the port list is locked; AUTO/USB then means the port in use.
        QString device = m_ports.deviceAt(m_portIndex);
        if (device.isEmpty())
            device = m_context.line.device();
        setStatusText(connectingText(device));
        m_context.line.openLine(device, settings);
        emit finished();
        return;
    }

    // Only the ports that open at all are searched.
    m_searchList.clear();
    for (const QString &device : m_ports.devices())
        if (m_context.line.probe(device, settings))
            m_searchList.append(device);
    if (m_searchList.isEmpty()) {
        emit changed();
        m_context.prompter.warn(QCoreApplication::translate(
            "CPortSetting", "Connect M1 GatewayUnit Timeout! please check the connection and try again."));
        return;
    }
    startSearch(settings);
}

void PortSetting::closePort()
{
    if (m_search != Search::Idle) {
        m_search = Search::Idle;
        m_statusText.clear();
    }
    m_context.line.closePort();
    emit changed();
}

void PortSetting::secondTick()
{
    if (!isCountdownRunning())
        return;
    if (--m_secondsLeft == 0) {
        emit changed();
        confirm();
        return;
    }
    emit changed();
}

void PortSetting::startSearch(const LineSettings &settings)
{
    m_searchSettings = settings;
    m_nextPort = 0;
    m_search = Search::StepDue;
    emit changed();
    emit searchStepScheduled();
}

void PortSetting::searchTick()
{
    if (m_search == Search::StepDue)
        runSearchStep();
}

void PortSetting::runSearchStep()
{
    if (m_nextPort >= m_searchList.size()) {
        endSearch();
        m_context.log.appendPending(QCoreApplication::translate("CPortSetting", "Time-out.\r\n"));
        m_context.log.writePending();
        m_context.line.closeLine();
        m_context.prompter.warn(QCoreApplication::translate(
            "CPortSetting", "Connect M1 GatewayUnit time-out! please check the connection and try again."));
        setStatusText(QString());
        return;
    }

    const QString device = m_searchList[m_nextPort++];
    setStatusText(connectingText(device));
    // A port that would not open after all, or a request the link turns away, is a port
    // without gateway 1: the search goes on rather than stopping half way.
    if (!m_context.line.openLine(device, m_searchSettings)) {
        tryNextPort();
        return;
    }
    const GatewayLink::SendResult sent = m_context.link.send(
        requester::PortSetting, kModelVersionTag,
        Frame::readRegisters(kSearchedGateway, protocol::reg::ModelVersion, 2), m_context.answerWaitMs,
        QCoreApplication::translate("CPortSetting", "Read M1 gatewayunit data ...  "));
    if (sent != GatewayLink::SendResult::Queued) {
        tryNextPort();
        return;
    }
    m_search = Search::Asking;
    emit changed();
}

void PortSetting::tryNextPort()
{
    // Set before the line closes, so that its closed() is not taken for a lost line.
    m_search = Search::StepDue;
    if (m_context.line.isConnected())
        m_context.line.closeLine();
    emit changed();
    emit searchStepScheduled();
}

void PortSetting::endSearch()
{
    m_search = Search::Idle;
    m_searchList.clear();
    m_nextPort = 0;
}

void PortSetting::onLineClosed()
{
    // The line went away under a request in flight (an adapter pulled out): its answer and its
    // time-out will never come, so this port is done.
    if (m_search == Search::Asking)
        tryNextPort();
}

void PortSetting::failOutsideSearch(const QString &logText, const QString &message)
{
    m_context.log.appendPending(logText);
    m_context.log.writePending();
    m_context.line.closeLine();
    emit changed();
    m_context.prompter.warn(message);
}

void PortSetting::onAnswer(int tag, const Frame &answer)
{
    const bool searching = m_search == Search::Asking;
    if (answer.address() != kSearchedGateway) {
        // Not gateway 1: ignored, but a search would wait for it for ever, so it goes on.
        if (searching)
            tryNextPort();
        return;
    }
    const std::optional<uint16_t> model = answer.answerRegister(0);
    const std::optional<uint16_t> version = answer.answerRegister(1);
    // An answer too short to hold both registers is no better than an exception answer.
    if (tag != kModelVersionTag || answer.function() != protocol::function::ReadRegisters || !model
        || !version) {
        if (searching) {
            tryNextPort();
            return;
        }
        failOutsideSearch(QCoreApplication::translate("CPortSetting", "Failure.\r\n"),
                          QCoreApplication::translate("CPortSetting", "Connect M1 GatewayUnit failure! please "
                                                                      "check the connection and try again."));
        return;
    }

    endSearch();
    storeGatewayOne(uint8_t(*model & 0xFF), uint8_t(*version & 0xFF));
    emit gatewayOneFound();
    m_context.log.appendPending(QCoreApplication::translate("CPortSetting", "Success.\r\n"));
    m_context.log.writePending();
    m_statusText.clear();
    emit changed();
    emit finished();
}

void PortSetting::onTimeout(int tag)
{
    Q_UNUSED(tag);
    if (m_search == Search::Asking) {
        tryNextPort();
        return;
    }
    failOutsideSearch(QCoreApplication::translate("CPortSetting", "Time-out.\r\n"),
                      QCoreApplication::translate("CPortSetting", "Connect M1 GatewayUnit time-out! please "
                                                                  "check the connection and try again."));
}

void PortSetting::storeGatewayOne(uint8_t model, uint8_t version)
{
    ProjectStore &store = m_context.store;
    ProjectStore::Batch batch(store);
    if (!store.readSection(ProjectFile::Db, kGatewayOneSection))
        store.writeThrough(ProjectFile::Db, kGatewayOneSection, QStringLiteral("NAME"),
                           QCoreApplication::translate("CPortSetting", "GatewayUnit1"));
    // Written only when they differ from what the project holds (defaults "FF" and "0").
    auto update = [&](const QString &key, const QString &stored, const QString &value) {
        if (store.read(ProjectFile::Db, kGatewayOneSection, key, stored) != value)
            store.writeThrough(ProjectFile::Db, kGatewayOneSection, key, value);
    };
    update(QStringLiteral("MODEL"), QStringLiteral("FF"),
           QStringLiteral("%1").arg(model, 2, 16, QLatin1Char('0')).toUpper());
    update(QStringLiteral("VER"), QStringLiteral("0"), QString::number(version));
}

}  // namespace lumaro
