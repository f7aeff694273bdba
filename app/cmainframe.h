#pragma once

#include <QMainWindow>
#include <QTimer>
#include <memory>

class QAction;
class QLabel;
class QStackedWidget;
class QTreeWidget;

namespace lumaro {

class AppCore;
class COutputList;
class CPortSetting;
class DeviceTreeFiller;
class FinderTool;
class GatewayOverview;

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
    void switchLanguage(bool chinese);
    void endProgram();

    AppCore &m_core;
    std::unique_ptr<FinderTool> m_finder;
    std::unique_ptr<DeviceTreeFiller> m_treeFiller;
    QTreeWidget *m_tree = nullptr;
    COutputList *m_logList = nullptr;
    QStackedWidget *m_views = nullptr;
    GatewayOverview *m_overview = nullptr;
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
