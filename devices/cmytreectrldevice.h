#pragma once

#include "devicenode.h"
#include "devicetree.h"
#include "rebuildobserver.h"

#include <QHash>
#include <QTreeWidget>

class QMenu;
class QTimer;

namespace lumaro {

struct DeviceContext;

// The device tree of the main window's device pane: the installation as the project holds it,
// the extended groups and the timing tables. Its selection sets the current target and picks the
// view in front; its context menus carry the direct DALI commands. The behaviour lives in
// DeviceTree; this widget builds the nodes (as the tree side of the project rebuild) and forwards
// the user's actions.
class CMyTreeCtrlDevice final : public QTreeWidget, private RebuildObserver
{
    Q_OBJECT
public:
    explicit CMyTreeCtrlDevice(DeviceContext &context, QWidget *parent = nullptr);
    ~CMyTreeCtrlDevice() override;

    DeviceTree &logic() { return m_logic; }
    const CurrentTarget &currentTarget() const { return m_logic.currentTarget(); }

    // The temporary node shown while the project loads; build() removes it.
    void showLoading();
    // Rebuilds the project data and the whole tree from the store, then selects the root.
    void build();
    // Rebuilds the children of gateway n's node (and the project data) from the store.
    void refreshGateway(int gateway);
    // Replaces the display name of the selected node and keeps its key.
    void relabelSelected(const QString &name);

    DeviceNode nodeOf(const QTreeWidgetItem *item) const;
    DeviceNode selectedNode() const;
    QString selectedKey() const { return selectedNode().key(); }
    QString selectedFullKey() const { return selectedNode().fullKey(); }
    // The item of a node by its full key (M3A17 finds the gear under the gear folder), or null.
    QTreeWidgetItem *findItem(const QString &fullKey) const;
    int nodeCount() const;

    // The context menu of the selected node, as the right click shows it.
    QMenu *createContextMenu(QWidget *parent);

signals:
    void currentTargetChanged(const lumaro::CurrentTarget &target);
    void viewRequested(lumaro::DeviceTree::View view, const QString &key, bool refill);
    void statusTextsChanged(const QString &targetLabel, const QString &appId);
    void selectionDelayStopRequested();
    void selectionDelayStartRequested();
    // A gear left the gateway: the gear list of that gateway must be filled again.
    void gearListRefillRequested(int gateway);
    // "Add Gatewa&y ..." on the root and "&Edit..." on a gateway node.
    void requestAddGateway();
    void requestEditGateway(int gateway);

protected:
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    static constexpr int NodeRole = Qt::UserRole;

    void onGateway(int gateway, const QString &label) override;
    void onGroup(int gateway, int group, const QString &label) override;
    void onGroupMember(int gateway, int group, int shortAddress, const QString &label) override;
    void onGearFolder(int gateway, const QString &label) override;
    void onGear(int gateway, int shortAddress, const QString &label) override;

    QTreeWidgetItem *makeItem(DeviceNode::Kind kind, const QString &label, int gateway = 0,
                              int group = -1, int address = -1) const;
    bool accepts(int gateway) const { return m_refreshing == 0 || m_refreshing == gateway; }
    QTreeWidgetItem *buildExpandFolder();
    QTreeWidgetItem *buildTimingFolder();
    void selectionChanged(QTreeWidgetItem *current);
    void runSelectionChange();

    void addListMenu(QMenu *menu, const DeviceNode &node);
    void addGatewayMenu(QMenu *menu, const DeviceNode &node);
    void addSceneMenu(QMenu *menu, const QString &title, const char *itemText,
                      DirectCommands::Command command);
    void deleteSelected();
    void addGroupToSelected();
    void openTestAddressing();

    DeviceContext &m_context;
    DeviceTree m_logic;
    QTimer *m_restoreTimer = nullptr;
    QTreeWidgetItem *m_loading = nullptr;
    QTreeWidgetItem *m_root = nullptr;
    QTreeWidgetItem *m_expandFolder = nullptr;
    QTreeWidgetItem *m_timingFolder = nullptr;
    QHash<int, QTreeWidgetItem *> m_gateways;
    QHash<int, QTreeWidgetItem *> m_groups;    // gateway * 16 + group, during a build
    QHash<int, QTreeWidgetItem *> m_folders;   // during a build
    int m_refreshing = 0;                      // the gateway a refresh rebuilds; 0 = all
    bool m_building = false;
};

}  // namespace lumaro
