#include "cmytreectrldevice.h"

#include "ctestadressing.h"
#include "devicecontext.h"
#include "gatewayrecord.h"
#include "projectdata.h"
#include "projectstore.h"
#include "softwaresettings.h"

#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTimer>

namespace lumaro {

using Kind = DeviceNode::Kind;
using Command = DirectCommands::Command;

namespace {
constexpr int kGroupsPerGateway = GatewayRecord::kGroups;
constexpr int kChineseLanguage = 1;

QString translated(const char *source)
{
    return QCoreApplication::translate("CMyTreeCtrlDevice", source);
}

// Menu texts keep the "%d" of their source text, and so do their translations.
QString numbered(const char *source, int n)
{
    return translated(source).replace(QLatin1String("%d"), QString::number(n));
}
}  // namespace

CMyTreeCtrlDevice::CMyTreeCtrlDevice(DeviceContext &context, QWidget *parent)
    : QTreeWidget(parent), m_context(context), m_logic(context)
{
    setHeaderHidden(true);
    setColumnCount(1);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);

    m_restoreTimer = new QTimer(this);
    m_restoreTimer->setInterval(DirectCommands::kTickMs);
    connect(m_restoreTimer, &QTimer::timeout, &m_logic.commands(), &DirectCommands::tick);
    connect(&m_logic.commands(), &DirectCommands::tickingNeeded, this, [this](bool needed) {
        needed ? m_restoreTimer->start() : m_restoreTimer->stop();
    });

    connect(&m_logic, &DeviceTree::currentTargetChanged, this, &CMyTreeCtrlDevice::currentTargetChanged);
    connect(&m_logic, &DeviceTree::viewRequested, this, &CMyTreeCtrlDevice::viewRequested);
    connect(&m_logic, &DeviceTree::statusTextsChanged, this, &CMyTreeCtrlDevice::statusTextsChanged);
    connect(&m_logic, &DeviceTree::selectionDelayStopRequested, this,
            &CMyTreeCtrlDevice::selectionDelayStopRequested);
    connect(&m_logic, &DeviceTree::selectionDelayStartRequested, this,
            &CMyTreeCtrlDevice::selectionDelayStartRequested);
    connect(this, &QTreeWidget::currentItemChanged, this,
            [this](QTreeWidgetItem *current) { selectionChanged(current); });
}

CMyTreeCtrlDevice::~CMyTreeCtrlDevice()
{
    // The project data must not keep handles of items that die with the tree.
    for (int g = ProjectData::kFirstGateway; g <= ProjectData::kLastGateway; ++g)
        m_context.data.gateway(g).treeItem = nullptr;
}

// What a node stands for, packed into one item role: one data entry per node keeps the build
// of a large tree cheap. Group and address are stored plus one so that -1 packs as 0.
namespace {
constexpr int kKindBits = 4;
constexpr int kGatewayBits = 5;
constexpr int kGroupBits = 5;

int pack(Kind kind, int gateway, int group, int address)
{
    return int(kind) | gateway << kKindBits | (group + 1) << (kKindBits + kGatewayBits)
        | (address + 1) << (kKindBits + kGatewayBits + kGroupBits);
}
}  // namespace

QTreeWidgetItem *CMyTreeCtrlDevice::makeItem(Kind kind, const QString &label, int gateway,
                                             int group, int address) const
{
    auto *item = new QTreeWidgetItem(QStringList{label});
    item->setData(0, NodeRole, pack(kind, gateway, group, address));
    return item;
}

DeviceNode CMyTreeCtrlDevice::nodeOf(const QTreeWidgetItem *item) const
{
    DeviceNode node;
    if (!item)
        return node;
    const int packed = item->data(0, NodeRole).toInt();
    auto field = [packed](int shift, int bits) { return (packed >> shift) & ((1 << bits) - 1); };
    node.kind = Kind(field(0, kKindBits));
    node.gateway = field(kKindBits, kGatewayBits);
    node.group = field(kKindBits + kGatewayBits, kGroupBits) - 1;
    node.address = field(kKindBits + kGatewayBits + kGroupBits, 7) - 1;
    node.label = item->text(0);
    return node;
}

DeviceNode CMyTreeCtrlDevice::selectedNode() const
{
    return nodeOf(currentItem());
}

void CMyTreeCtrlDevice::showLoading()
{
    if (m_loading)
        return;
    m_loading = new QTreeWidgetItem(QStringList{translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Loading,Please wait..."))});
    m_loading->setData(0, NodeRole, pack(Kind::Root, 0, -1, -1));
    insertTopLevelItem(0, m_loading);
}

void CMyTreeCtrlDevice::build()
{
    m_building = true;
    // Items are built detached and inserted at the end: a tree of seventeen thousand nodes
    // would otherwise update its model once per node.
    clear();
    m_loading = nullptr;
    m_gateways.clear();
    m_groups.clear();
    m_folders.clear();
    m_refreshing = 0;
    m_root = makeItem(Kind::Root, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Devices")));
    m_context.data.rebuild(m_context.store, this);
    m_expandFolder = buildExpandFolder();
    m_timingFolder = buildTimingFolder();
    insertTopLevelItems(0, {m_root, m_expandFolder, m_timingFolder});
    m_root->setExpanded(true);
    setCurrentItem(m_root);
    m_groups.clear();
    m_folders.clear();
    m_building = false;
    m_logic.resetTarget();
    runSelectionChange();
}

void CMyTreeCtrlDevice::refreshGateway(int gateway)
{
    QTreeWidgetItem *item = m_gateways.value(gateway);
    if (!item)
        return;
    m_building = true;
    const bool selectedInside = [&] {
        for (QTreeWidgetItem *i = currentItem(); i; i = i->parent())
            if (i == item)
                return true;
        return false;
    }();
    if (selectedInside)
        setCurrentItem(item);
    const bool expanded = item->isExpanded();
    qDeleteAll(item->takeChildren());
    m_refreshing = gateway;
    m_context.data.rebuild(m_context.store, this);
    m_refreshing = 0;
    m_groups.clear();
    m_folders.clear();
    item->setExpanded(expanded);
    m_building = false;
}

void CMyTreeCtrlDevice::relabelSelected(const QString &name)
{
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    const QString key = nodeOf(item).key();
    item->setText(0, item->text(0).contains(u'#') ? name + u'#' + key : name);
}

QTreeWidgetItem *CMyTreeCtrlDevice::findItem(const QString &fullKey) const
{
    QList<QTreeWidgetItem *> pending;
    for (int i = 0; i < topLevelItemCount(); ++i)
        pending.append(topLevelItem(i));
    while (!pending.isEmpty()) {
        QTreeWidgetItem *item = pending.takeFirst();
        const DeviceNode node = nodeOf(item);
        if (node.fullKey() == fullKey && node.kind != Kind::Member)
            return item;
        for (int i = 0; i < item->childCount(); ++i)
            pending.append(item->child(i));
    }
    return nullptr;
}

int CMyTreeCtrlDevice::nodeCount() const
{
    int count = 0;
    QList<const QTreeWidgetItem *> pending;
    for (int i = 0; i < topLevelItemCount(); ++i)
        pending.append(topLevelItem(i));
    while (!pending.isEmpty()) {
        const QTreeWidgetItem *item = pending.takeLast();
        ++count;
        for (int i = 0; i < item->childCount(); ++i)
            pending.append(item->child(i));
    }
    return count;
}

void CMyTreeCtrlDevice::onGateway(int gateway, const QString &label)
{
    if (m_refreshing) {
        // A refresh keeps the other gateways' nodes; the rebuild forgot their handles.
        if (QTreeWidgetItem *item = m_gateways.value(gateway))
            m_context.data.gateway(gateway).treeItem = item;
        return;
    }
    QTreeWidgetItem *item = makeItem(Kind::Gateway, label, gateway);
    m_root->addChild(item);
    m_gateways.insert(gateway, item);
    m_context.data.gateway(gateway).treeItem = item;
}

void CMyTreeCtrlDevice::onGroup(int gateway, int group, const QString &label)
{
    QTreeWidgetItem *parent = m_gateways.value(gateway);
    if (!accepts(gateway) || !parent)
        return;
    QTreeWidgetItem *item = makeItem(Kind::Group, label, gateway, group);
    parent->addChild(item);
    m_groups.insert(gateway * kGroupsPerGateway + group, item);
}

void CMyTreeCtrlDevice::onGroupMember(int gateway, int group, int shortAddress, const QString &label)
{
    QTreeWidgetItem *parent = m_groups.value(gateway * kGroupsPerGateway + group);
    if (!accepts(gateway) || !parent)
        return;
    parent->addChild(makeItem(Kind::Member, label, gateway, group, shortAddress));
}

void CMyTreeCtrlDevice::onGearFolder(int gateway, const QString &label)
{
    QTreeWidgetItem *parent = m_gateways.value(gateway);
    if (!accepts(gateway) || !parent)
        return;
    QTreeWidgetItem *item = makeItem(Kind::GearFolder, label, gateway);
    parent->addChild(item);
    m_folders.insert(gateway, item);
}

void CMyTreeCtrlDevice::onGear(int gateway, int shortAddress, const QString &label)
{
    QTreeWidgetItem *parent = m_folders.value(gateway);
    if (!accepts(gateway) || !parent)
        return;
    parent->addChild(makeItem(Kind::Gear, label, gateway, -1, shortAddress));
}

QTreeWidgetItem *CMyTreeCtrlDevice::buildExpandFolder()
{
    const ProjectStore &store = m_context.store;
    QTreeWidgetItem *folder = makeItem(Kind::ExpandFolder, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "ExpandControl")));
    QList<QTreeWidgetItem *> children;
    for (int i = 0; i < ProjectStore::kExpandGroupLimit; ++i) {
        const QString section = QStringLiteral("E%1").arg(i);
        if (!store.readSection(ProjectFile::Db, section))
            continue;
        const QString name = store.read(ProjectFile::Db, section, QStringLiteral("NAME"));
        children.append(makeItem(Kind::ExtendGroup, name + u'#' + section));
    }
    folder->addChildren(children);
    return folder;
}

QTreeWidgetItem *CMyTreeCtrlDevice::buildTimingFolder()
{
    const ProjectStore &store = m_context.store;
    QTreeWidgetItem *folder = makeItem(Kind::TimingFolder, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "TimingControl")));
    QString timer = store.read(ProjectFile::Db, QStringLiteral("SEQ"), QStringLiteral("T0NAME"));
    if (timer.isEmpty())
        timer = QStringLiteral("Timer");
    QList<QTreeWidgetItem *> children{makeItem(Kind::TimingTable, timer + QStringLiteral("#T0"))};
    for (int i = 0; i < ProjectStore::kSequenceLimit; ++i) {
        const QString section = QStringLiteral("S%1").arg(i);
        if (!store.readSection(ProjectFile::Db, section))
            continue;
        const QString name = store.read(ProjectFile::Db, section, QStringLiteral("NAME"));
        children.append(makeItem(Kind::TimingTable, name + u'#' + section));
    }
    folder->addChildren(children);
    return folder;
}

void CMyTreeCtrlDevice::selectionChanged(QTreeWidgetItem *current)
{
    if (m_building || !current || current == m_loading)
        return;
    runSelectionChange();
}

void CMyTreeCtrlDevice::runSelectionChange()
{
    if (currentItem())
        m_logic.select(selectedNode());
}

void CMyTreeCtrlDevice::contextMenuEvent(QContextMenuEvent *event)
{
    QTreeWidgetItem *item = itemAt(viewport()->mapFrom(this, event->pos()));
    if (!item || item == m_loading)
        return;
    if (item != currentItem())
        setCurrentItem(item);
    QMenu *menu = createContextMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
}

QMenu *CMyTreeCtrlDevice::createContextMenu(QWidget *parent)
{
    const DeviceNode node = selectedNode();
    auto *menu = new QMenu(parent);
    auto disabled = [menu](const QString &text) { menu->addAction(text)->setEnabled(false); };
    switch (DeviceTree::menuFor(node)) {
    case DeviceTree::Menu::ExtendGroupAdd:
        menu->setObjectName(QStringLiteral("ExtendGroupAdd"));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add Expand Control")));
        break;
    case DeviceTree::Menu::Seq: {
        menu->setObjectName(QStringLiteral("SEQ"));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Edit...")));
        QAction *del = menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Delete")), this, &CMyTreeCtrlDevice::deleteSelected);
        del->setEnabled(m_logic.isEnabled(DeviceTree::Action::SeqDelete, node));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add &Sequence")));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Send To...")));
        break;
    }
    case DeviceTree::Menu::ExtendGroup: {
        menu->setObjectName(QStringLiteral("ExtendGroup"));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Edit...")));
        QAction *del = menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Delete")), this, &CMyTreeCtrlDevice::deleteSelected);
        del->setEnabled(m_logic.isEnabled(DeviceTree::Action::ExtendGroupDelete, node));
        disabled(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add Device...")));
        menu->addMenu(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Store Actual Level As Scene")))->setEnabled(false);
        menu->addMenu(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Remove From Scene")))->setEnabled(false);
        break;
    }
    case DeviceTree::Menu::Gateway: addGatewayMenu(menu, node); break;
    case DeviceTree::Menu::ListMenu: addListMenu(menu, node); break;
    }
    return menu;
}

void CMyTreeCtrlDevice::addSceneMenu(QMenu *menu, const QString &title, const char *itemText,
                                     Command command)
{
    QMenu *scenes = menu->addMenu(title);
    for (int n = 0; n < protocol::target::SceneCount; ++n) {
        scenes->addAction(numbered(itemText, n), this, [this, command, n] {
            m_logic.commands().send(m_logic.currentTarget(), command, n);
        });
    }
}

void CMyTreeCtrlDevice::addListMenu(QMenu *menu, const DeviceNode &node)
{
    using A = DeviceTree::Action;
    menu->setObjectName(QStringLiteral("ListMenu"));
    // The gear and group dialogs come with their own issue; until then Edit stays off.
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Edit ...")))->setEnabled(false);
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Delete")), this, &CMyTreeCtrlDevice::deleteSelected)
        ->setEnabled(m_logic.isEnabled(A::Delete, node));
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add Gatewa&y ...")), this, &CMyTreeCtrlDevice::requestAddGateway)
        ->setEnabled(m_logic.isEnabled(A::AddGateway, node));
    if (m_context.settings.language == kChineseLanguage) {
        // The Chinese menu carries the gateway commands here as well; they act on gateway
        // nodes only, which have their own menu.
        menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Scan Slave Gear ...")))->setEnabled(false);
        menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add &Group")), this, &CMyTreeCtrlDevice::addGroupToSelected)
            ->setEnabled(m_logic.isEnabled(A::AddGroup, node));
    }
    menu->addSeparator();
    addSceneMenu(menu, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Store Actual Level As Scene")), QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Scene %d Store"), Command::StoreScene);
    addSceneMenu(menu, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Remove Level From Scene")), QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Scene %d Remove"), Command::RemoveScene);
    menu->addSeparator();
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Di&mming ...")))->setEnabled(false);
    auto direct = [this](Command c) { return [this, c] { m_logic.commands().send(m_logic.currentTarget(), c); }; };
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Off")), this, direct(Command::Off));
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Recall M&in Level")), this, direct(Command::RecallMin));
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Recall M&ax Level")), this, direct(Command::RecallMax));
    addSceneMenu(menu, translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Recall Scene")), QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Scene %d"), Command::RecallScene);
    menu->addSeparator();
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Restore factory settings")), this, [this] {
        m_logic.commands().restoreFactory(m_logic.currentTarget());
    })->setEnabled(m_logic.isEnabled(A::RestoreFactory, node));
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Test Addressing")), this, &CMyTreeCtrlDevice::openTestAddressing)
        ->setEnabled(m_logic.isEnabled(A::TestAddressing, node));
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Properties ...")))->setEnabled(false);
}

void CMyTreeCtrlDevice::addGatewayMenu(QMenu *menu, const DeviceNode &node)
{
    menu->setObjectName(QStringLiteral("Gateway"));
    const int gateway = node.gateway;
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Edit...")), this, [this, gateway] { emit requestEditGateway(gateway); });
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Delete")), this, &CMyTreeCtrlDevice::deleteSelected);
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Scan Slave Gear ...")))->setEnabled(false);
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Add &Group")), this, &CMyTreeCtrlDevice::addGroupToSelected);
    QMenu *off = menu->addMenu(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Turn Off Sequence")));
    QMenu *on = menu->addMenu(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Turn On Sequence")));
    for (int n = 1; n <= DirectCommands::kSequences; ++n) {
        off->addAction(numbered(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Sequence %d Off"), n), this, [this, n] {
            m_logic.commands().sendSequence(m_logic.currentTarget(), n, false);
        });
        on->addAction(numbered(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "Sequence %d On"), n), this, [this, n] {
            m_logic.commands().sendSequence(m_logic.currentTarget(), n, true);
        });
    }
    menu->addAction(translated(QT_TRANSLATE_NOOP("CMyTreeCtrlDevice", "&Properties ...")))->setEnabled(false);
}

void CMyTreeCtrlDevice::deleteSelected()
{
    QTreeWidgetItem *item = currentItem();
    if (!item)
        return;
    const DeviceNode node = nodeOf(item);
    bool blocking = false;
    for (int i = 0; i < item->childCount(); ++i) {
        const QTreeWidgetItem *child = item->child(i);
        if (nodeOf(child).kind != Kind::GearFolder || child->childCount() > 0)
            blocking = true;
    }
    const DeviceTree::DeleteOutcome outcome = m_logic.deleteNode(node, blocking);
    if (outcome == DeviceTree::DeleteOutcome::Nothing)
        return;
    m_building = true;
    delete item;
    if (node.kind == Kind::Gateway)
        m_gateways.remove(node.gateway);
    m_building = false;
    if (outcome == DeviceTree::DeleteOutcome::RemoveNodeAndRefreshGateway) {
        refreshGateway(node.gateway);
        emit gearListRefillRequested(node.gateway);
    }
    runSelectionChange();
}

void CMyTreeCtrlDevice::addGroupToSelected()
{
    const DeviceNode node = selectedNode();
    if (node.kind != Kind::Gateway)
        return;
    if (m_logic.addGroup(node.gateway))
        refreshGateway(node.gateway);
}

void CMyTreeCtrlDevice::openTestAddressing()
{
    const DeviceNode node = selectedNode();
    CTestAdressing dialog(m_context, m_logic.currentTarget(), node.displayName(), this);
    dialog.exec();
}

}  // namespace lumaro
