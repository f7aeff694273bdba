#pragma once

#include "currenttarget.h"
#include "devicenode.h"
#include "directcommands.h"

#include <QObject>
#include <QString>
#include <optional>

namespace lumaro {

struct DeviceContext;

// The behaviour of the device tree without its widget: the current target and what a selection
// change shows, which context menu a node gets and which of its commands are enabled, and the
// commands that change the project (delete, add group). The widget CMyTreeCtrlDevice owns it,
// hands it the node descriptions and carries out the node changes it reports.
class DeviceTree final : public QObject
{
    Q_OBJECT
public:
    // The view the main window shows in front after a selection.
    enum class View { GatewayList, GearList, TableView, ExtendGroupView };
    Q_ENUM(View)

    enum class Menu { ListMenu, Gateway, ExtendGroup, ExtendGroupAdd, Seq };

    // Context menu commands whose enabling depends on the node.
    enum class Action {
        Edit,
        Delete,
        ScanSlave,
        AddGroup,
        AddGateway,
        RestoreFactory,
        TestAddressing,
        ExtendGroupDelete,
        SeqEdit,
        SeqAddSequence,
        SeqDelete,
    };

    // What the widget must do with the tree after a delete.
    enum class DeleteOutcome {
        Nothing,
        RemoveNode,                    // and run the selection change
        RemoveNodeAndRefreshGateway,   // and refill the gear list, then the selection change
    };

    explicit DeviceTree(DeviceContext &context, QObject *parent = nullptr);

    const CurrentTarget &currentTarget() const { return m_target; }
    DirectCommands &commands() { return m_commands; }

    // A rebuild selects the root: the target is all gateways again.
    void resetTarget();
    // The selection moved to this node: sets the target and tells the main window what to show.
    void select(const DeviceNode &node);

    static Menu menuFor(const DeviceNode &node);
    bool isEnabled(Action action, const DeviceNode &node) const;

    // Asks, checks the rules and removes the node's section (and for gear and groups, if the
    // user wants it, their DALI address or group). `hasBlockingChildren`: the node has a child
    // other than an empty gear folder.
    DeleteOutcome deleteNode(const DeviceNode &node, bool hasBlockingChildren);
    // Writes the lowest free group of the gateway and returns it; none when all sixteen exist.
    std::optional<int> addGroup(int gateway);

signals:
    void currentTargetChanged(const lumaro::CurrentTarget &target);
    // `refill`: the list must be filled again (a gear list only when the full key changed).
    void viewRequested(lumaro::DeviceTree::View view, const QString &key, bool refill);
    // The first pane shows the target label, the second the application id.
    void statusTextsChanged(const QString &targetLabel, const QString &appId);
    // The one-second selection delay of the main window: stopped when a selection change begins,
    // started again (1000 ms) once a list has been shown.
    void selectionDelayStopRequested();
    void selectionDelayStartRequested();

private:
    DeviceContext &m_context;
    DirectCommands m_commands;
    CurrentTarget m_target;
    QString m_previousFullKey;
};

}  // namespace lumaro
