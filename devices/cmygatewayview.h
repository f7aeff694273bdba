#pragma once

#include <QWidget>

class QTableWidget;
class QTimer;

namespace lumaro {

class GatewayList;
struct DeviceContext;

// The gateway list view: one row per gateway of the project with its status kept current by
// the list's own poll, and the gateway commands in its context menu. It shows what its logic
// (GatewayList) holds and forwards the user's actions to it. The main window keeps it for its
// whole life and shows it while the device tree's root is selected.
class CMyGatewayView final : public QWidget
{
    Q_OBJECT
public:
    explicit CMyGatewayView(DeviceContext &context, QWidget *parent = nullptr);
    ~CMyGatewayView() override;

    GatewayList &logic() { return *m_logic; }
    QTableWidget *table() const { return m_table; }

public slots:
    // Rebuilds the list from the project (after a gateway was added, on project changes).
    void fill();
    // Shows the status of gateway n anew (the background poll changed it).
    void refreshRow(int gateway);
    // The device tree's root ("Devices") or "ExpandControl" is selected: the list may poll.
    void setPollAllowed(bool allowed);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showAll();
    void showRow(int row);
    void contextMenu(const QPoint &at);
    QList<int> selectedRows() const;

    GatewayList *m_logic;
    QTableWidget *m_table;
    QTimer *m_timer;
};

}  // namespace lumaro
