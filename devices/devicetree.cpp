#include "devicetree.h"

#include "devicecontext.h"
#include "gatewayrecord.h"
#include "projectdata.h"
#include "projectstore.h"
#include "prompter.h"
#include "softwaresettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace lumaro {

using Kind = DeviceNode::Kind;

namespace {
QString translated(const char *source)
{
    return QCoreApplication::translate("CMyTreeCtrlDevice", source);
}
}  // namespace

DeviceTree::DeviceTree(DeviceContext &context, QObject *parent)
    : QObject(parent), m_context(context), m_commands(context)
{
}

void DeviceTree::resetTarget()
{
    m_target = CurrentTarget();
    m_previousFullKey.clear();
    emit currentTargetChanged(m_target);
}

void DeviceTree::select(const DeviceNode &node)
{
    emit selectionDelayStopRequested();
    const QString key = node.key();
    const QString fullKey = node.fullKey();
    m_target = node.target();
    switch (node.kind) {
    case Kind::Root:
    case Kind::ExpandFolder:
    case Kind::TimingFolder:
        emit viewRequested(View::GatewayList, key, true);
        emit selectionDelayStartRequested();
        break;
    case Kind::TimingTable:
        emit viewRequested(View::TableView, key, true);
        break;
    case Kind::ExtendGroup:
        emit viewRequested(View::ExtendGroupView, key, true);
        break;
    default:
        emit viewRequested(View::GearList, fullKey, fullKey != m_previousFullKey);
        emit selectionDelayStartRequested();
        break;
    }
    m_previousFullKey = fullKey;
    emit currentTargetChanged(m_target);
    emit statusTextsChanged(m_target.label, node.appId());
}

DeviceTree::Menu DeviceTree::menuFor(const DeviceNode &node)
{
    switch (node.kind) {
    case Kind::ExpandFolder: return Menu::ExtendGroupAdd;
    case Kind::TimingFolder:
    case Kind::TimingTable: return Menu::Seq;
    case Kind::ExtendGroup: return Menu::ExtendGroup;
    case Kind::Gateway: return Menu::Gateway;
    default: return Menu::ListMenu;
    }
}

bool DeviceTree::isEnabled(Action action, const DeviceNode &node) const
{
    switch (action) {
    case Action::Edit:
    case Action::Delete:
        return node.kind != Kind::Root && node.kind != Kind::GearFolder && node.kind != Kind::Member;
    case Action::ScanSlave:
    case Action::AddGroup: return node.kind == Kind::Gateway;
    case Action::AddGateway: return node.kind == Kind::Root;
    case Action::RestoreFactory: return m_context.settings.restoreFactory;
    case Action::TestAddressing: return node.kind != Kind::Root;
    case Action::ExtendGroupDelete: return node.kind != Kind::ExpandFolder;
    case Action::SeqEdit: return node.label.contains(u'#');
    case Action::SeqAddSequence: return !node.label.contains(u'#');
    case Action::SeqDelete: return node.label.contains(QLatin1String("#S"));
    }
    return false;
}

DeviceTree::DeleteOutcome DeviceTree::deleteNode(const DeviceNode &node, bool hasBlockingChildren)
{
    ProjectStore &store = m_context.store;
    ProjectData &data = m_context.data;

    if (node.kind == Kind::ExtendGroup || node.kind == Kind::TimingTable) {
        if (!m_context.prompter.confirm(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Are you sure to delete?"))))
            return DeleteOutcome::Nothing;
        const QString key = node.key();
        store.writeThrough(ProjectFile::Db, key);
        const bool extend = node.kind == Kind::ExtendGroup;
        const QString folder = extend ? store.expandFolder() : store.sequenceFolder();
        QFile::remove(QDir(folder).filePath(key + (extend ? QStringLiteral(".epc") : QStringLiteral(".tct"))));
        return DeleteOutcome::RemoveNode;
    }

    // The menus disable these; a stray call changes nothing.
    if (node.kind == Kind::Member || node.kind == Kind::GearFolder)
        return DeleteOutcome::Nothing;
    if (!node.isUnderGateway() && node.kind != Kind::Root)
        return DeleteOutcome::Nothing;

    if (!m_context.prompter.confirm(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Are you sure to delete?"))))
        return DeleteOutcome::Nothing;
    if (hasBlockingChildren) {
        m_context.prompter.warn(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Please,Delete child node first.")));
        return DeleteOutcome::Nothing;
    }
    if (node.kind == Kind::Root)
        return DeleteOutcome::Nothing;

    const CurrentTarget target = node.target();
    store.writeThrough(ProjectFile::Db, node.fullKey());
    switch (node.kind) {
    case Kind::Gear:
        if (m_context.prompter.confirm(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Delete device address at the same time?"))))
            m_commands.send(target, DirectCommands::Command::DeleteGear);
        data.gear(node.gateway, node.address).present = false;
        return DeleteOutcome::RemoveNodeAndRefreshGateway;
    case Kind::Group:
        if (m_context.prompter.confirm(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Delete group at the same time?"))))
            m_commands.send(target, DirectCommands::Command::RemoveFromGroup, node.group);
        data.group(node.gateway, node.group).present = false;
        return DeleteOutcome::RemoveNode;
    case Kind::Gateway: {
        GatewayRecord &gw = data.gateway(node.gateway);
        gw.present = false;
        gw.treeItem = nullptr;
        return DeleteOutcome::RemoveNode;
    }
    default: return DeleteOutcome::Nothing;
    }
}

std::optional<int> DeviceTree::addGroup(int gateway)
{
    ProjectStore &store = m_context.store;
    for (int g = 0; g < GatewayRecord::kGroups; ++g) {
        const QString section = ProjectData::groupSection(gateway, g);
        if (store.readSection(ProjectFile::Db, section))
            continue;
        store.writeThrough(ProjectFile::Db, section, QStringLiteral("NAME"), QStringLiteral("Group%1").arg(g));
        return g;
    }
    m_context.prompter.warn(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Failure,Allowed only 16 group.")));
    return std::nullopt;
}

}  // namespace lumaro
