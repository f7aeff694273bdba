#pragma once

#include "currenttarget.h"
#include "devicecontext.h"
#include "gearlist.h"

#include <QWidget>

class QTableWidget;
class QTimer;

namespace lumaro {

// The gear list view: one row per gear of the gateway that the device tree selected, with the
// level bar and the coloured status cell. Its GearList does the polling and the commands; this
// window shows the rows and forwards the context menu, double-click and Ctrl+A. Lives as long
// as the main window.
class CMyDeviceList : public QWidget
{
    Q_OBJECT
public:
    enum Column { IdColumn, NameColumn, ModelColumn, LevelColumn, StatusColumn, VersionColumn,
                  LocationColumn, RemarkColumn, PhysicalMinColumn, ColumnCount };

    explicit CMyDeviceList(DeviceContext context, QWidget *parent = nullptr);
    ~CMyDeviceList() override;

    GearList &logic() { return m_logic; }
    QTableWidget *table() const { return m_table; }
    GearList::PrintTable printTable() const { return m_logic.printTable(); }

public slots:
    // The tree's selection changed, or a scan or deletion changed the gateway's gear.
    void fill(int gateway);
    // The background poll changed one gear (StatusPoll::gearStateChanged).
    void refreshRow(int gateway, int address);
    // The main window's selection delay ran out.
    void refreshAllRows();
    void updateTexts(int address);
    void checkSelected();
    void readVersionOfSelected();

signals:
    // A double-click made this gear the target of the dimming window.
    void dimmingTargetChosen(const lumaro::CurrentTarget &target, const QString &name);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void showRows();
    void showRow(int row);
    QList<int> selectedRows() const;
    void contextMenu(const QPoint &at);
    void doubleClicked(int row);

    GearList m_logic;
    QTableWidget *m_table;
    QTimer *m_timer;
};

}  // namespace lumaro
