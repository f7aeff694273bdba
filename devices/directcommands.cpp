#include "directcommands.h"

#include "dalicommand.h"
#include "devicecontext.h"
#include "frame.h"
#include "gatewaylink.h"
#include "prompter.h"
#include "protocol.h"
#include "requesterid.h"
#include "softwaresettings.h"

#include <QCoreApplication>

namespace lumaro {

namespace p = protocol;

namespace {
QString translated(const char *source)
{
    return QCoreApplication::translate("CMyTreeCtrlDevice", source);
}

// The texts keep the "%d" of their source text, and so do their translations.
const QLatin1String kNumber("%d");

// The short address 255 of IEC 62386-102 DTR0 means "no address": the gear forgets its own.
constexpr uint16_t kNoShortAddress = 255;
}  // namespace

DirectCommands::DirectCommands(DeviceContext &context, QObject *parent)
    : QObject(parent), m_context(context)
{
}

QByteArray DirectCommands::payload(const CurrentTarget &target, Command command, int scene)
{
    uint8_t item = p::item::DaliCommand;
    uint16_t value = 0;
    switch (command) {
    case Command::Off: value = dali::cmd::Off; break;
    case Command::RecallMin: value = dali::cmd::RecallMinLevel; break;
    case Command::RecallMax: value = dali::cmd::RecallMaxLevel; break;
    case Command::RecallScene: value = dali::cmd::goToScene(scene); break;
    case Command::StoreScene:
        item = p::item::StoreScene;
        value = uint16_t(scene);
        break;
    case Command::RemoveScene:
        item = p::item::sceneRemove(scene);
        value = p::item::SceneRemoveValue;
        break;
    case Command::Reset: value = dali::cmd::Reset; break;
    case Command::DeleteAddress:
    case Command::DeleteGear:
        item = p::item::ShortAddress;
        value = kNoShortAddress;
        break;
    case Command::RemoveFromGroup: value = dali::cmd::removeFromGroup(scene); break;
    }
    return Frame::writeRegister(uint8_t(target.gateway),
                                p::reg::make(uint8_t(target.targetCode), item), value);
}

QString DirectCommands::logText(Command command, int scene)
{
    switch (command) {
    case Command::Off: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " OFF ... "));
    case Command::RecallMin: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Recall Min level... "));
    case Command::RecallMax: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Recall max level ... "));
    case Command::RecallScene: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Recall scene%d ... ")).replace(kNumber, QString::number(scene));
    case Command::StoreScene: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Store actual level as scene%d ... ")).replace(kNumber, QString::number(scene));
    case Command::RemoveScene:
        // The gateway's own tool has always logged this one scene without the blank.
        return scene == 13 ? translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Remove scene13... ")) : translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Remove scene%d ... ")).replace(kNumber, QString::number(scene));
    case Command::Reset: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Restore default parameters ... "));
    case Command::DeleteAddress: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Delete short address ... "));
    case Command::DeleteGear: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " delete short address gear ... "));
    case Command::RemoveFromGroup: return translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", " Delete group %d ... ")).replace(kNumber, QString::number(scene));
    }
    return QString();
}

bool DirectCommands::queue(const CurrentTarget &target, int tag, const QByteArray &bytes,
                           const QString &text)
{
    QString description = target.label + text;
    int wait = m_context.settings.comTimeout / 2;
    // Every gateway hears a frame to address 0 and none answers it.
    if (target.gateway == p::kAllGateways) {
        wait = 0;
        description += QStringLiteral(" OK?\r\n");
    }
    return m_context.link.sendWithNotice(requester::Generic, tag, bytes, wait, description)
        == GatewayLink::SendResult::Queued;
}

bool DirectCommands::send(const CurrentTarget &target, Command command, int scene)
{
    return queue(target, kRequestTag, payload(target, command, scene), logText(command, scene));
}

bool DirectCommands::sendSequence(const CurrentTarget &target, int sequence, bool on)
{
    const uint16_t value = uint16_t(10 * sequence + (on ? 1 : 0));
    const QByteArray bytes = Frame::writeRegister(uint8_t(target.gateway), p::reg::TimingSwitch, value);
    const QString text = on ? translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Turn On Sequence %d...")).replace(kNumber, QString::number(sequence))
                            : translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Turn Off Sequence %d...")).replace(kNumber, QString::number(sequence));
    const int tag = kSequenceTagBase + 2 * (sequence - 1) + (on ? 1 : 0);
    return queue(target, tag, bytes, text);
}

bool DirectCommands::restoreFactory(const CurrentTarget &target)
{
    if (!m_context.prompter.confirm(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Are you sure to restore factory settings?"))))
        return false;
    send(target, Command::Reset);
    // The second step goes to the gear that was reset, even when the selection moved on in the
    // meantime: deleting the short address of whatever is selected a second later could strip
    // a whole gateway of its addresses.
    m_restoreTarget = target;
    m_restoreCountdown = kRestoreStepDelayMs / kTickMs;
    emit tickingNeeded(true);
    return true;
}

void DirectCommands::tick()
{
    if (!m_restoreTarget || --m_restoreCountdown > 0)
        return;
    const CurrentTarget target = *m_restoreTarget;
    m_restoreTarget.reset();
    emit tickingNeeded(false);
    send(target, Command::DeleteAddress);
}

}  // namespace lumaro
