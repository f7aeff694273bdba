#pragma once

#include "rebuildobserver.h"

#include <QHash>

class QTreeWidget;
class QTreeWidgetItem;

namespace lumaro {

class ProjectStore;

// Fills the device pane's tree from the nodes that the project rebuild reports: the root
// "Devices" with gateways, groups with their members, the gear folder with the gear, then the
// extended-group and timing folders.
class DeviceTreeFiller final : public RebuildObserver
{
public:
    explicit DeviceTreeFiller(QTreeWidget &tree);

    // The temporary node shown while the project loads.
    void showLoading();
    // Clears the tree and opens the root; call before the rebuild.
    void begin();
    // Adds the two folders after the rebuild, removes the loading node, selects the root.
    void finish(const ProjectStore &store);

    void onGateway(int gateway, const QString &label) override;
    void onGroup(int gateway, int group, const QString &label) override;
    void onGroupMember(int gateway, int group, int shortAddress, const QString &label) override;
    void onGearFolder(int gateway, const QString &label) override;
    void onGear(int gateway, int shortAddress, const QString &label) override;

private:
    QTreeWidget &m_tree;
    QTreeWidgetItem *m_loading = nullptr;
    QTreeWidgetItem *m_root = nullptr;
    QHash<int, QTreeWidgetItem *> m_gateways;
    QHash<int, QTreeWidgetItem *> m_groups;   // gateway * 16 + group
    QHash<int, QTreeWidgetItem *> m_folders;  // gear folder per gateway
};

}  // namespace lumaro
