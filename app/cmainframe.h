#pragma once

#include "currenttarget.h"
#include "devicecontext.h"
#include "devicetree.h"

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QLabel;
class QStackedWidget;

namespace lumaro {

class AppCore;
class CMyDeviceList;
class CMyGatewayView;
class CMyTreeCtrlDevice;
class COutputList;
class CPortSetting;
class FinderTool;

// The main window: menus, toolbar, the status bar of six panes, the "DeviceView" and "LogView"
// panes and the view area. It owns the timers that drive the link and the poll, runs the
// start-up steps that show windows, and the orderly shutdown.
class CMainFrame final : public QMainWindow
{
    Q_OBJECT
public:
    enum StatusPane { PaneMessage = 0, PaneTarget1 = 1, PaneTarget = 2, PaneSpare3 = 3, PaneSpare4 = 4, PanePort = 5 };

    explicit CMainFrame(AppCore &core, QWidget *parent = nullptr);
    ~CMainFrame() override;

    // The start-up steps after the window is shown: log, wait for the project, build the tree,
    // open the port setting dialog, start the timers.
    void startUp();
    // SIGTERM and SIGINT: save and end like a confirmed exit, without asking.
    void terminate();

    QString statusText(int pane) const;
    const CurrentTarget &currentTarget() const { return m_target; }
    // Seconds until the gear list of the selected gateway is refreshed (the dimming windows set it).
    void setSelectionDelay(int seconds) { m_selectionDelay = seconds; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createActions();
    void createMenus();
    void createToolBar();
    void createStatusBar();
    void createPanes();
    void onProjectLoaded();
    void rebuildProject();
    void openPortSetting();
    void updatePortActions();
    void showView(DeviceTree::View view, const QString &key, bool refill);
    void openGatewayDialog(int editGateway);
    void selectionDelayTick();
    void switchLanguage(bool chinese);
    void endProgram();

    AppCore &m_core;
    DeviceContext m_context;
    std::unique_ptr<FinderTool> m_finder;
    CMyTreeCtrlDevice *m_tree = nullptr;
    COutputList *m_logList = nullptr;
    QStackedWidget *m_views = nullptr;
    CMyGatewayView *m_gatewayView = nullptr;
    CMyDeviceList *m_gearList = nullptr;
    CurrentTarget m_target;
    QTimer m_selectionTimer;
    int m_selectionDelay = 0;
    QList<QLabel *> m_panes;
    QTimer m_linkTimer;
    QTimer m_pollTimer;
    QTimer m_secondTimer;
    bool m_exitConfirmed = false;
    CPortSetting *m_portDialog = nullptr;

    struct Actions {
        QAction *user, *import, *exportProject, *print, *exit;
        QAction *scanSetting, *addGateway, *openPort, *closePort, *portSetting, *upgrade;
        QAction *toolBar, *deviceView, *logView, *statusBar, *chinese, *english, *closeDimming;
        QAction *about;
    } m_act{};
};

}  // namespace lumaro
