#include "addressingtest.h"

#include "dalicommand.h"
#include "devicecontext.h"
#include "frame.h"
#include "gatewaylink.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QCoreApplication>

namespace lumaro {

namespace p = protocol;

namespace {
QString translated(const char *source)
{
    return QCoreApplication::translate("CTestAdressing", source);
}
}  // namespace

AddressingTest::AddressingTest(DeviceContext &context, const CurrentTarget &target, QObject *parent)
    : QObject(parent), m_context(context), m_target(target)
{
}

AddressingTest::~AddressingTest()
{
    close();
}

void AddressingTest::open()
{
    if (m_open)
        return;
    m_open = true;
    m_context.link.registerRequester(requester::TestAddressing, this);
    m_context.poll.setEnabled(false);
}

void AddressingTest::close()
{
    if (!m_open)
        return;
    m_open = false;
    if (isRunning()) {
        m_mode = Mode::Idle;
        emit runningChanged(false);
    }
    m_context.link.unregisterRequester(requester::TestAddressing);
    m_context.poll.setEnabled(true);
}

QStringList AddressingTest::intervalTexts()
{
    return {QStringLiteral("0.5"), QStringLiteral("1"), QStringLiteral("1.5"),
            QStringLiteral("2"), QStringLiteral("2.5"), QStringLiteral("3")};
}

void AddressingTest::setIntervalIndex(int index)
{
    if (index >= 0 && index < kIntervalCount && !isRunning())
        m_intervalIndex = index;
}

void AddressingTest::setMode(Mode mode, bool checked)
{
    if (mode == Mode::Idle)
        return;
    if (!checked) {
        if (m_mode != mode)
            return;
        m_mode = Mode::Idle;
        emit runningChanged(false);
        return;
    }
    const bool wasRunning = isRunning();
    sendOff();
    m_mode = mode;
    m_phase = Phase::MaximumNext;
    // The other mode's timer is replaced: the sequence starts over from the off request.
    if (wasRunning)
        emit runningChanged(false);
    emit runningChanged(true);
}

void AddressingTest::intervalTick()
{
    if (!isRunning())
        return;
    if (m_phase == Phase::MaximumNext) {
        sendMaximum();
        m_phase = Phase::LowStepNext;
        return;
    }
    if (m_mode == Mode::OffMax)
        sendOff();
    else
        sendMinimum();
    m_phase = Phase::MaximumNext;
}

void AddressingTest::sendMaximum()
{
    const QByteArray bytes = Frame::writeRegister(
        uint8_t(m_target.gateway), p::reg::make(uint8_t(m_target.targetCode), p::item::DaliCommand),
        dali::cmd::RecallMaxLevel);
    m_context.link.send(requester::TestAddressing, MaxTag, bytes, m_context.settings.comTimeout,
                        translated(QT_TRANSLATE_NOOP("CTestAdressing", "%s Recall Max level... ")).replace(QLatin1String("%s"), m_target.label));
    m_status = translated(QT_TRANSLATE_NOOP("CTestAdressing", "Recall Max level"));
    emit statusTextChanged(m_status);
}

void AddressingTest::sendLowStep(uint8_t command, int tag, const QString &logText, const QString &status)
{
    const QByteArray bytes = Frame::writeRegister(
        uint8_t(m_target.gateway), p::reg::make(p::target::Broadcast, p::item::DaliCommand), command);
    m_context.link.send(requester::TestAddressing, tag, bytes, m_context.settings.comTimeout, logText);
    m_status = status;
    emit statusTextChanged(m_status);
}

void AddressingTest::sendOff()
{
    sendLowStep(dali::cmd::Off, OffTag, translated(QT_TRANSLATE_NOOP("CTestAdressing", "M%d OFF ... ")).replace(QLatin1String("%d"), QString::number(m_target.gateway)), translated(QT_TRANSLATE_NOOP("CTestAdressing", "OFF")));
}

void AddressingTest::sendMinimum()
{
    sendLowStep(dali::cmd::RecallMinLevel, MinTag,
                translated(QT_TRANSLATE_NOOP("CTestAdressing", "M%d Recall Min level... ")).replace(QLatin1String("%d"), QString::number(m_target.gateway)), translated(QT_TRANSLATE_NOOP("CTestAdressing", "Recall Min level")));
}

QString AddressingTest::title(const QString &nodeName) const
{
    return translated(QT_TRANSLATE_NOOP("CTestAdressing", "Test addressing - ")) + nodeName + QStringLiteral(" - ") + m_target.label;
}

QString AddressingTest::explanation() const
{
    return translated(QT_TRANSLATE_NOOP("CTestAdressing", "Select the following action mode, then belong to the ID ")) + m_target.label
        + translated(QT_TRANSLATE_NOOP("CTestAdressing", " slave will show obvious brightness changes to indicate its installation position."));
}

void AddressingTest::onAnswer(int tag, const Frame &answer)
{
    // The link logs answers of requesters it does not know itself; nothing more is needed.
    Q_UNUSED(tag);
    Q_UNUSED(answer);
}

}  // namespace lumaro
