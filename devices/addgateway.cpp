#include "addgateway.h"

#include "devicecontext.h"
#include "frame.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "projectdata.h"
#include "projectstore.h"
#include "prompter.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QCoreApplication>
#include <algorithm>
#include <iterator>

namespace lumaro {

namespace {
// Bytes of the search answer: address, function, byte count, model register, version register.
constexpr int kModelByte = 4;
constexpr int kVersionByte = 6;
constexpr int kSearchRegisters = 2;

// The models an RS485 extension gateway may have.
constexpr uint8_t kExtensionModels[] = {0x79, 0x80, 0x83};

QString translated(const char *text)
{
    return QCoreApplication::translate("CAddGateway", text);
}

QString gatewayId(int g)
{
    return ProjectData::gatewaySection(g);
}
}  // namespace

AddGateway::AddGateway(DeviceContext &context, QObject *parent) : QObject(parent), m_ctx(context)
{
    m_ctx.link.registerRequester(requester::AddGateway, this);
    m_ctx.poll.setEnabled(false);
    for (int g = ProjectData::kFirstGateway; g <= ProjectData::kLastGateway; ++g) {
        if (m_ctx.store.readSection(ProjectFile::Db, ProjectData::gatewaySection(g)))
            m_connect.append(gatewayId(g));
        else
            m_ids.append(gatewayId(g));
    }
    if (m_ids.isEmpty())
        m_buttonEnabled = false;
    else
        selectId(m_ids.first());
}

AddGateway::~AddGateway()
{
    release();
}

void AddGateway::openForEdit(int gateway)
{
    m_mode = Mode::Edit;
    m_buttonEnabled = true;
    const QString section = ProjectData::gatewaySection(gateway);
    m_selectedId = gatewayId(gateway);
    m_ids = {m_selectedId};
    m_name = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("NAME"));
    m_location = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("LOCATION"));
    const QString ip = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("GATEIP"), QStringLiteral("0"));
    const QString port = m_ctx.store.read(ProjectFile::Db, section, QStringLiteral("GATEPORT"));
    // Without an IP address, GATEPORT names the gateway through which this one is reached.
    m_connect.clear();
    if (ip != QLatin1String("0"))
        m_port = port.toInt();
    else
        m_connect = {QStringLiteral("M") + port};
}

QString AddGateway::title() const
{
    return m_mode == Mode::Add ? translated(QT_TRANSLATE_NOOP("CAddGateway", "Add Gateway")) : translated(QT_TRANSLATE_NOOP("CAddGateway", "Edit Gateway"));
}

QString AddGateway::buttonText() const
{
    return m_mode == Mode::Add ? translated(QT_TRANSLATE_NOOP("CAddGateway", "Add")) : translated(QT_TRANSLATE_NOOP("CAddGateway", "Edit"));
}

int AddGateway::gatewayOfId(const QString &id)
{
    if (!id.startsWith(u'M'))
        return 0;
    bool ok = false;
    const int g = id.mid(1).toInt(&ok);
    return ok && g >= ProjectData::kFirstGateway && g <= ProjectData::kLastGateway ? g : 0;
}

void AddGateway::selectId(const QString &id)
{
    if (!m_ids.contains(id))
        return;
    m_selectedId = id;
    if (m_mode == Mode::Add)
        m_name = QStringLiteral("GatewayUnit") + QString::number(gatewayOfId(id));
}

bool AddGateway::nameMissing()
{
    if (!m_name.isEmpty())
        return false;
    m_ctx.prompter.warn(translated(QT_TRANSLATE_NOOP("CAddGateway", "Please input the Name.")));
    return true;
}

void AddGateway::press()
{
    if (m_state != State::Idle || !m_buttonEnabled || nameMissing())
        return;
    const int g = gatewayOfId(m_selectedId);
    if (g == 0)
        return;
    const QString section = ProjectData::gatewaySection(g);

    if (m_mode == Mode::Edit) {
        m_ctx.store.writeThrough(ProjectFile::Db, section, QStringLiteral("NAME"), m_name);
        m_ctx.store.writeThrough(ProjectFile::Db, section, QStringLiteral("LOCATION"), m_location);
        emit gatewayEdited(g, m_name);
        close();
        return;
    }

    const QByteArray request = Frame::readRegisters(uint8_t(g), protocol::reg::ModelVersion, kSearchRegisters);
    const QString description = translated(QT_TRANSLATE_NOOP("CAddGateway", "Searching for device ")) + gatewayId(g) + QStringLiteral(" ...  ");
    if (m_ctx.link.sendWithNotice(requester::AddGateway, kSearchTag, request, m_ctx.settings.comTimeout,
                                  description)
        != GatewayLink::SendResult::Queued)
        return;
    m_searched = g;
    m_state = State::Searching;
    m_buttonEnabled = false;
}

void AddGateway::logResult(const QString &text)
{
    m_ctx.log.appendPending(text);
    m_ctx.log.writePending();
}

void AddGateway::onAnswer(int tag, const Frame &answer)
{
    if (tag != kSearchTag || m_state != State::Searching)
        return;
    m_state = State::Idle;
    m_buttonEnabled = true;
    emit changed();
    if (answer.address() != m_searched || answer.isException() || answer.size() < kVersionByte + 1) {
        logResult(translated(QT_TRANSLATE_NOOP("CAddGateway", "Failure.\r\n")));
        m_ctx.prompter.warn(translated(QT_TRANSLATE_NOOP("CAddGateway", "Add failure.")));
        return;
    }
    const auto model = uint8_t(answer.bytes()[kModelByte]);
    const auto version = uint8_t(answer.bytes()[kVersionByte]);
    if (std::find(std::begin(kExtensionModels), std::end(kExtensionModels), model) == std::end(kExtensionModels)) {
        logResult(translated(QT_TRANSLATE_NOOP("CAddGateway", "Failure.\r\n")));
        m_messageCountdownMs = kDeviceTypeMessageMs;
        return;
    }

    const QString section = ProjectData::gatewaySection(m_searched);
    {
        // One rewrite of db.ctt for the whole record, its keys in this order.
        ProjectStore::Batch batch(m_ctx.store);
        const auto write = [&](const char *key, const QString &value) {
            m_ctx.store.writeThrough(ProjectFile::Db, section, QString::fromLatin1(key), value);
        };
        write("NAME", m_name);
        write("LOCATION", m_location);
        write("GATEIP", QStringLiteral("0"));
        write("GATEPORT", QStringLiteral("0"));
        write("MODEL", QStringLiteral("%1").arg(model, 2, 16, QLatin1Char('0')).toUpper());
        write("VER", QString::number(version));
    }
    emit gatewayAdded(m_searched);
    logResult(translated(QT_TRANSLATE_NOOP("CAddGateway", "Success.\r\n")));
    close();
}

void AddGateway::onTimeout(int tag)
{
    if (tag != kSearchTag || m_state != State::Searching)
        return;
    m_state = State::Idle;
    m_buttonEnabled = true;
    emit changed();
    logResult(translated(QT_TRANSLATE_NOOP("CAddGateway", "Time-out.\r\n")));
    m_ctx.prompter.warn(translated(QT_TRANSLATE_NOOP("CAddGateway", "Search Timeout, add failure.")));
}

void AddGateway::tick()
{
    if (m_messageCountdownMs <= 0)
        return;
    m_messageCountdownMs -= kTickMs;
    if (m_messageCountdownMs <= 0)
        m_ctx.prompter.warn(translated(QT_TRANSLATE_NOOP("CAddGateway", "Device type error,add failure.")));
}

void AddGateway::release()
{
    if (m_released)
        return;
    m_released = true;
    m_ctx.link.unregisterRequester(requester::AddGateway);
    m_ctx.poll.setEnabled(true);
}

void AddGateway::close()
{
    if (m_state == State::Closed)
        return;
    m_state = State::Closed;
    release();
    emit finished();
}

}  // namespace lumaro
