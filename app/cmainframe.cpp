#include "cmainframe.h"

#include "appcore.h"
#include "cportsetting.h"
#include "coutputlist.h"
#include "caddgateway.h"
#include "cmydevicelist.h"
#include "cmygatewayview.h"
#include "cmytreectrldevice.h"
#include "findertool.h"
#include "prompter.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDockWidget>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QStackedWidget>
#include <QStatusBar>
#include <QStyle>
#include <QTabWidget>
#include <QToolBar>
#include <QTranslator>

namespace lumaro {

CMainFrame::CMainFrame(AppCore &core, QWidget *parent)
    : QMainWindow(parent),
      m_core(core),
      m_context{core.link(), core.store(), core.data(), core.log(), core.prompter(), core.settings(), core.poll(), core.clock()},
      m_finder(std::make_unique<FinderTool>(core.workingFolder()))
{
    setWindowTitle(tr("Lumaro Com control software"));
    setObjectName(QStringLiteral("CMainFrame"));
    createActions();
    createMenus();
    createToolBar();
    createStatusBar();
    createPanes();

    m_views = new QStackedWidget(this);
    m_gatewayView = new CMyGatewayView(m_context);
    m_gearList = new CMyDeviceList(m_context);
    m_views->addWidget(m_gatewayView);
    m_views->addWidget(m_gearList);
    setCentralWidget(m_views);
    // Without a window manager to maximise it, the window still opens at a useful size.
    if (QScreen *s = screen())
        resize(s->availableGeometry().size() * 9 / 10);

    m_linkTimer.setInterval(GatewayLink::kTickMs);
    m_linkTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_linkTimer, &QTimer::timeout, &m_core.link(), &GatewayLink::tick);
    // The link tick runs while the line is open and the link has something to do.
    connect(&m_core.link(), &GatewayLink::closed, &m_linkTimer, &QTimer::stop);
    connect(&m_core.link(), &GatewayLink::tickingNeeded, this, [this](bool needed) {
        if (needed && m_core.link().isOpen() && !m_exitConfirmed)
            m_linkTimer.start();
        else if (!needed)
            m_linkTimer.stop();
    });
    SerialLine &line = m_core.line();
    connect(&line, &SerialLine::statusTextChanged, m_panes[PanePort], &QLabel::setText);
    connect(&line, &SerialLine::connectedChanged, this, &CMainFrame::updatePortActions);
    connect(m_act.openPort, &QAction::triggered, &line, &SerialLine::openPort);
    connect(m_act.closePort, &QAction::triggered, &line, &SerialLine::closePort);
    connect(m_act.portSetting, &QAction::triggered, this, &CMainFrame::openPortSetting);
    updatePortActions();

    // The status poll's timers: the 100 ms poll step and the one-second countdowns.
    m_pollTimer.setInterval(100);
    connect(&m_pollTimer, &QTimer::timeout, &m_core.poll(), &StatusPoll::pollTick);
    m_secondTimer.setInterval(1000);
    connect(&m_secondTimer, &QTimer::timeout, this, [this] {
        m_core.poll().resumeTick();
        m_core.poll().pauseTick();
    });
    connect(&m_core.poll(), &StatusPoll::gatewayStateChanged, m_gatewayView, &CMyGatewayView::refreshRow);
    connect(&m_core.poll(), &StatusPoll::gearStateChanged, m_gearList, &CMyDeviceList::refreshRow);

    // The device tree decides the current target and the view in front.
    connect(m_tree, &CMyTreeCtrlDevice::currentTargetChanged, this, [this](const CurrentTarget &t) { m_target = t; });
    connect(m_tree, &CMyTreeCtrlDevice::statusTextsChanged, this, [this](const QString &label, const QString &appId) {
        m_panes[PaneTarget1]->setText(label);
        m_panes[PaneTarget]->setText(appId);
    });
    connect(m_tree, &CMyTreeCtrlDevice::viewRequested, this, &CMainFrame::showView);
    connect(m_tree, &CMyTreeCtrlDevice::gearListRefillRequested, m_gearList, &CMyDeviceList::fill);
    connect(m_tree, &CMyTreeCtrlDevice::requestAddGateway, this, [this] { openGatewayDialog(0); });
    connect(m_tree, &CMyTreeCtrlDevice::requestEditGateway, this, &CMainFrame::openGatewayDialog);
    connect(m_act.addGateway, &QAction::triggered, this, [this] { openGatewayDialog(0); });

    // Timer 1: the selection delay of the gear list.
    m_selectionTimer.setInterval(1000);
    connect(&m_selectionTimer, &QTimer::timeout, this, &CMainFrame::selectionDelayTick);
    connect(m_tree, &CMyTreeCtrlDevice::selectionDelayStopRequested, &m_selectionTimer, &QTimer::stop);
    connect(m_tree, &CMyTreeCtrlDevice::selectionDelayStartRequested, &m_selectionTimer, qOverload<>(&QTimer::start));
    connect(&m_core.link(), &GatewayLink::opened, &m_selectionTimer, qOverload<>(&QTimer::start));
    m_pollTimer.start();
    m_secondTimer.start();

    m_tree->showLoading();
}

CMainFrame::~CMainFrame() = default;

QString CMainFrame::statusText(int pane) const
{
    return pane >= 0 && pane < m_panes.size() ? m_panes[pane]->text() : QString();
}

void CMainFrame::createActions()
{
    QStyle *s = style();
    auto make = [this](const QString &text, const QIcon &icon = {}) {
        auto *a = new QAction(icon, text, this);
        return a;
    };
    m_act.user = make(tr("&User..."), s->standardIcon(QStyle::SP_DirHomeIcon));
    m_act.import = make(tr("&Import..."), s->standardIcon(QStyle::SP_DialogOpenButton));
    m_act.exportProject = make(tr("&Export..."), s->standardIcon(QStyle::SP_DialogSaveButton));
    m_act.print = make(tr("Print ..."), s->standardIcon(QStyle::SP_FileDialogDetailedView));
    m_act.exit = make(tr("E&xit"), s->standardIcon(QStyle::SP_DialogCloseButton));
    m_act.scanSetting = make(tr("&Scan Setting"), s->standardIcon(QStyle::SP_DriveNetIcon));
    m_act.addGateway = make(tr("&Add Gateway..."), s->standardIcon(QStyle::SP_FileDialogNewFolder));
    m_act.openPort = make(tr("Open Port"));
    m_act.closePort = make(tr("Close Port"));
    m_act.portSetting = make(tr("&Port Setting..."), s->standardIcon(QStyle::SP_ComputerIcon));
    m_act.upgrade = make(tr("Upgrade firmware"));
    m_act.toolBar = make(tr("ToolBar"));
    m_act.deviceView = make(tr("&DeviceView"), s->standardIcon(QStyle::SP_FileDialogListView));
    m_act.logView = make(tr("&LogView"), s->standardIcon(QStyle::SP_FileDialogContentsView));
    m_act.statusBar = make(tr("StatusBar"));
    m_act.chinese = make(tr("Chinese"));
    m_act.english = make(tr("English"));
    m_act.closeDimming = make(tr("Close Dimming Dialog"), s->standardIcon(QStyle::SP_TitleBarCloseButton));
    m_act.about = make(tr("&About..."));

    // Tooltips are the second halves of the command texts.
    m_act.addGateway->setToolTip(tr("Add Gateway"));
    m_act.portSetting->setToolTip(tr("Setting serial port"));
    m_act.import->setToolTip(tr("Import"));
    m_act.exportProject->setToolTip(tr("Outport"));
    m_act.closeDimming->setToolTip(tr("Close dimming dialog"));
    m_act.print->setToolTip(tr("Print"));

    // Commands whose windows are not part of this build stay visibly disabled.
    for (QAction *a : {m_act.user, m_act.import, m_act.exportProject, m_act.print, m_act.upgrade,
                       m_act.closeDimming})
        a->setEnabled(false);
    m_act.closePort->setEnabled(false);

    for (QAction *a : {m_act.toolBar, m_act.deviceView, m_act.logView, m_act.statusBar, m_act.chinese, m_act.english})
        a->setCheckable(true);
    auto *language = new QActionGroup(this);
    language->addAction(m_act.chinese);
    language->addAction(m_act.english);
    (m_core.chinese() ? m_act.chinese : m_act.english)->setChecked(true);

    connect(m_act.exit, &QAction::triggered, this, &QWidget::close);
    connect(m_act.scanSetting, &QAction::triggered, m_finder.get(), &FinderTool::showOrStart);
    connect(m_act.chinese, &QAction::triggered, this, [this] { switchLanguage(true); });
    connect(m_act.english, &QAction::triggered, this, [this] { switchLanguage(false); });
    connect(m_act.about, &QAction::triggered, this, [this] {
        m_core.prompter().inform(tr("Lumaro Com control software") + QStringLiteral(" ") + QCoreApplication::applicationVersion());
    });
}

void CMainFrame::createMenus()
{
    QMenu *project = menuBar()->addMenu(tr("&Project"));
    project->addActions({m_act.user, m_act.import, m_act.exportProject, m_act.print});
    project->addSeparator();
    project->addAction(m_act.exit);

    QMenu *tools = menuBar()->addMenu(tr("&Tools"));
    tools->addActions({m_act.scanSetting, m_act.addGateway});
    tools->addSeparator();
    tools->addActions({m_act.openPort, m_act.closePort, m_act.portSetting});
    tools->addSeparator();
    tools->addAction(m_act.upgrade);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    view->addActions({m_act.toolBar, m_act.deviceView, m_act.logView, m_act.statusBar});
    QMenu *language = view->addMenu(tr("Language"));
    language->addActions({m_act.chinese, m_act.english});
    view->addSeparator();
    view->addAction(m_act.closeDimming);

    QMenu *help = menuBar()->addMenu(tr("&Help"));
    help->addAction(m_act.about);
}

void CMainFrame::createToolBar()
{
    QToolBar *bar = addToolBar(tr("ToolBar"));
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setMovable(false);
    bar->addAction(m_act.user);
    bar->addSeparator();
    bar->addActions({m_act.import, m_act.exportProject});
    bar->addSeparator();
    bar->addActions({m_act.scanSetting, m_act.portSetting, m_act.addGateway});
    bar->addSeparator();
    bar->addActions({m_act.deviceView, m_act.logView});
    bar->addSeparator();
    bar->addActions({m_act.closeDimming, m_act.print});
    bar->addSeparator();
    bar->addAction(m_act.exit);
    m_act.toolBar->setChecked(true);
    connect(m_act.toolBar, &QAction::toggled, bar, &QWidget::setVisible);
    connect(bar, &QToolBar::visibilityChanged, m_act.toolBar, &QAction::setChecked);
}

void CMainFrame::createStatusBar()
{
    // Pane widths in eighths of the window: 2, 2, 2, 1, 1, 2.
    static constexpr int kStretch[] = {2, 2, 2, 1, 1, 2};
    for (int stretch : kStretch) {
        auto *pane = new QLabel(this);
        pane->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        pane->setMinimumWidth(20);
        statusBar()->addWidget(pane, stretch);
        m_panes.append(pane);
    }
    m_act.statusBar->setChecked(true);
    connect(m_act.statusBar, &QAction::toggled, statusBar(), &QWidget::setVisible);
}

void CMainFrame::createPanes()
{
    m_tree = new CMyTreeCtrlDevice(m_context);
    auto *deviceTabs = new QTabWidget;
    deviceTabs->addTab(m_tree, tr("Control"));
    auto *deviceDock = new QDockWidget(tr("DeviceView"), this);
    deviceDock->setObjectName(QStringLiteral("DeviceView"));
    deviceDock->setWidget(deviceTabs);
    deviceDock->setMinimumSize(100, 150);
    addDockWidget(Qt::LeftDockWidgetArea, deviceDock);

    m_logList = new COutputList(m_core.log());
    auto *logTabs = new QTabWidget;
    logTabs->addTab(m_logList, tr("Log"));
    auto *logDock = new QDockWidget(tr("LogView"), this);
    logDock->setObjectName(QStringLiteral("LogView"));
    logDock->setWidget(logTabs);
    logDock->setMinimumSize(100, 150);
    addDockWidget(Qt::BottomDockWidgetArea, logDock);
    resizeDocks({deviceDock}, {280}, Qt::Horizontal);
    resizeDocks({logDock}, {220}, Qt::Vertical);

    for (auto [action, dock] : {std::pair{m_act.deviceView, deviceDock}, std::pair{m_act.logView, logDock}}) {
        action->setChecked(true);
        connect(action, &QAction::toggled, dock, &QWidget::setVisible);
        connect(dock, &QDockWidget::visibilityChanged, action, &QAction::setChecked);
    }
}

void CMainFrame::startUp()
{
    LogBook &log = m_core.log();
    log.log(tr("Lumaro software open success.\r\n"));
    log.log(tr("Loading data,Please wait ... "));
    if (m_core.isLoaded())
        onProjectLoaded();
    else
        connect(&m_core, &AppCore::loaded, this, &CMainFrame::onProjectLoaded, Qt::SingleShotConnection);
}

void CMainFrame::onProjectLoaded()
{
    rebuildProject();
    m_core.applyPollSetting();
    m_core.log().log(tr("Finish.\r\n"));
    openPortSetting();
}

void CMainFrame::rebuildProject()
{
    // The tree rebuilds the project data as it builds its nodes.
    m_tree->build();
    m_gatewayView->fill();
}

void CMainFrame::showView(DeviceTree::View view, const QString &key, bool refill)
{
    switch (view) {
    case DeviceTree::View::GatewayList: {
        // The gateway list polls while the whole installation or the extended groups are selected.
        const bool timing = key == QLatin1String("TimingControl")
                            || key == QCoreApplication::translate("CMyTreeCtrlDevice", "TimingControl");
        m_gatewayView->setPollAllowed(!timing);
        m_views->setCurrentWidget(m_gatewayView);
        m_gatewayView->fill();
        break;
    }
    case DeviceTree::View::GearList:
        m_gatewayView->setPollAllowed(false);
        m_views->setCurrentWidget(m_gearList);
        if (refill)
            m_gearList->fill(m_target.gateway);
        break;
    case DeviceTree::View::TableView:
    case DeviceTree::View::ExtendGroupView:
        // Their views are not part of this build; the view in front stays.
        m_gatewayView->setPollAllowed(false);
        break;
    }
}

void CMainFrame::openGatewayDialog(int editGateway)
{
    CAddGateway dialog(m_context, this);
    if (editGateway > 0)
        dialog.openForEdit(editGateway);
    connect(&dialog, &CAddGateway::gatewayAdded, this, &CMainFrame::rebuildProject);
    connect(&dialog, &CAddGateway::gatewayEdited, m_tree, [this](int, const QString &name) { m_tree->relabelSelected(name); });
    dialog.exec();
}

void CMainFrame::selectionDelayTick()
{
    if (m_selectionDelay <= 0)
        return;
    if (--m_selectionDelay == 1 && m_target.gateway > 0)
        m_gearList->refreshAllRows();
}

void CMainFrame::updatePortActions()
{
    m_act.openPort->setEnabled(m_core.line().canOpenPort());
    m_act.closePort->setEnabled(m_core.line().canClosePort());
}

void CMainFrame::openPortSetting()
{
    if (m_portDialog)
        return;
    m_core.refreshPorts();
    // Modal dialogs that talk to the gateways keep the background poll out of their way.
    m_core.poll().setEnabled(false);
    CPortSetting dialog(m_core.portSettingContext(), this);
    connect(&dialog.logic(), &PortSetting::gatewayOneFound, this, &CMainFrame::rebuildProject);
    m_portDialog = &dialog;
    dialog.exec();
    m_portDialog = nullptr;
    m_core.poll().setEnabled(true);
}

void CMainFrame::switchLanguage(bool chinese)
{
    m_core.store().writeSetting(QStringLiteral("LANGUAGE"), chinese ? QStringLiteral("1") : QStringLiteral("0"));
    // The box speaks the language just chosen, whichever language this run uses.
    const char *source = QT_TR_NOOP("Settings have been changed , please take effect after restarting the software.");
    QString text = QString::fromLatin1(source);
    QTranslator chineseTexts;
    if (chinese && chineseTexts.load(QStringLiteral(":/i18n/lumaro_zh_CN.qm"))) {
        const QString translated = chineseTexts.translate("lumaro::CMainFrame", source);
        if (!translated.isEmpty())
            text = translated;
    }
    m_core.prompter().inform(text);
}

void CMainFrame::closeEvent(QCloseEvent *event)
{
    if (m_exitConfirmed) {
        event->accept();
        return;
    }
    // The live state is saved before the question, so that No keeps it saved too.
    m_core.data().bus.statusPollPaused = true;
    m_core.saveLiveState();
    if (m_core.prompter().ask(Prompter::Icon::Question, Prompter::Buttons::YesNo, tr("Are you sure to exit?"))
        != Prompter::Answer::Yes) {
        m_core.poll().pause(8);
        event->ignore();
        return;
    }
    endProgram();
    event->accept();
}

void CMainFrame::terminate()
{
    if (m_exitConfirmed)
        return;
    if (m_portDialog)
        m_portDialog->reject();
    m_core.data().bus.statusPollPaused = true;
    m_core.saveLiveState();
    endProgram();
    m_exitConfirmed = true;
    close();
}

void CMainFrame::endProgram()
{
    m_exitConfirmed = true;
    m_linkTimer.stop();
    m_pollTimer.stop();
    m_secondTimer.stop();
    m_core.finishShutdown();
    m_finder->closeRunning();
}

}  // namespace lumaro
