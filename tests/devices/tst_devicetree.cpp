// The device tree against the in-process simulated line: its nodes, the targets and texts of a
// selection, the context menus, and the frames and log lines of its direct commands.
#include "cmytreectrldevice.h"
#include "devicefixture.h"

#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace lumaro;

namespace {

const char *const kProject =
    "[B0]\nCOM=0\n"
    "[M1]\nNAME=Hall\n"
    "[M1G1]\nNAME=Centre\n"
    "[M1G3]\n"
    "[M1A5]\nNAME=Lamp\nGROUP1=TRUE\nGROUP3=TRUE\n"
    "[M1A6]\nNAME=Desk\nGROUP1=FALSE\nGROUP3=true\n"
    "[M2]\nNAME=Office\n"
    "[M2G5]\nNAME=Desks\n"
    "[M2A0]\nNAME=Desk1\nGROUP5=TRUE\n"
    "[M4]\nNAME=Spare\n"
    "[E0]\nNAME=Floor\n"
    "[SEQ]\nT0NAME=\n"
    "[S2]\nNAME=Night\n";

const char *const kLine = "[M1A5]\n[M1A6]\n[M2A0]\n[M4]\n";

// The tree as indented labels, one node a line.
QStringList dump(const QTreeWidgetItem *item, int depth = 0)
{
    QStringList lines{QString(depth, u' ') + item->text(0)};
    for (int i = 0; i < item->childCount(); ++i)
        lines += dump(item->child(i), depth + 1);
    return lines;
}

QStringList dump(const QTreeWidget &tree)
{
    QStringList lines;
    for (int i = 0; i < tree.topLevelItemCount(); ++i)
        lines += dump(tree.topLevelItem(i));
    return lines;
}

QAction *findAction(QMenu *menu, const QStringList &path)
{
    for (QAction *a : menu->actions()) {
        if (a->text() != path.first())
            continue;
        if (path.size() == 1)
            return a;
        return a->menu() ? findAction(a->menu(), path.mid(1)) : nullptr;
    }
    return nullptr;
}

}  // namespace

class TestDeviceTree : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void buildShowsTheProject();
    void loadingNodeGoesWithTheBuild();
    void selection_data();
    void selection();
    void memberAndGearShareTheGearList();
    void commands_data();
    void commands();
    void menuEnabling_data();
    void menuEnabling();
    void chineseListMenuCarriesGatewayCommands();
    void restoreFactoryTwoStepsToTheSameGear();
    void restoreFactoryNeedsYesAndTheSetting();
    void deleteRules();
    void deleteGearRefreshesItsGateway();
    void deleteExtendGroupRemovesItsFile();
    void addGroupTakesTheLowestFree();
    void addGroupRefusesASeventeenth();
    void gatewayCommandsReachTheMainWindow();
    void demoProject();

private:
    void makeTree(const char *db = kProject, SoftwareSettings settings = DeviceFixture::quickSettings());
    QTreeWidgetItem *item(const QStringList &path) const;
    void select(const QStringList &path);
    // Runs the command of the selected node's context menu found by its texts.
    void trigger(const QStringList &menuPath);
    bool isEnabled(const QStringList &menuPath);

    std::unique_ptr<DeviceFixture> m_fx;
    std::unique_ptr<CMyTreeCtrlDevice> m_tree;
};

void TestDeviceTree::init() {}

void TestDeviceTree::cleanup()
{
    m_tree.reset();
    m_fx.reset();
}

void TestDeviceTree::makeTree(const char *db, SoftwareSettings settings)
{
    m_tree.reset();
    m_fx = std::make_unique<DeviceFixture>(db, kLine, settings);
    m_tree = std::make_unique<CMyTreeCtrlDevice>(*m_fx->context);
    m_tree->build();
}

QTreeWidgetItem *TestDeviceTree::item(const QStringList &path) const
{
    QTreeWidgetItem *found = nullptr;
    for (int i = 0; i < m_tree->topLevelItemCount() && !found; ++i)
        if (m_tree->topLevelItem(i)->text(0) == path.first())
            found = m_tree->topLevelItem(i);
    for (const QString &label : path.mid(1)) {
        QTreeWidgetItem *next = nullptr;
        for (int i = 0; found && i < found->childCount() && !next; ++i)
            if (found->child(i)->text(0) == label)
                next = found->child(i);
        found = next;
    }
    return found;
}

void TestDeviceTree::select(const QStringList &path)
{
    QTreeWidgetItem *i = item(path);
    QVERIFY2(i, qPrintable(path.join(u'/')));
    m_tree->setCurrentItem(i);
}

void TestDeviceTree::trigger(const QStringList &menuPath)
{
    std::unique_ptr<QMenu> menu(m_tree->createContextMenu(nullptr));
    QAction *a = findAction(menu.get(), menuPath);
    QVERIFY2(a, qPrintable(menuPath.join(u'/')));
    QVERIFY2(a->isEnabled(), qPrintable(menuPath.join(u'/')));
    a->trigger();
}

bool TestDeviceTree::isEnabled(const QStringList &menuPath)
{
    std::unique_ptr<QMenu> menu(m_tree->createContextMenu(nullptr));
    QAction *a = findAction(menu.get(), menuPath);
    if (!a)
        qWarning() << "no menu item" << menuPath;
    return a && a->isEnabled();
}

void TestDeviceTree::buildShowsTheProject()
{
    makeTree();
    // A5 is in groups 1 and 3 and shown three times; A6's "true" is not a membership.
    QCOMPARE(dump(*m_tree), (QStringList{
        "Devices",
        " Hall#M1",
        "  Centre#G1",
        "   Lamp#A5",
        "  Group3#G3",
        "   Lamp#A5",
        "  ControlGear#CG",
        "   Lamp#A5",
        "   Desk#A6",
        " Office#M2",
        "  Desks#G5",
        "   Desk1#A0",
        "  ControlGear#CG",
        "   Desk1#A0",
        " Spare#M4",
        "  ControlGear#CG",
        "ExpandControl",
        " Floor#E0",
        "TimingControl",
        " Timer#T0",
        " Night#S2",
    }));
    const ProjectData &d = m_fx->data;
    QVERIFY(d.group(1, 1).hasMember(5));
    QVERIFY(d.group(1, 3).hasMember(5));
    QVERIFY(!d.group(1, 3).hasMember(6));
    QCOMPARE(d.gateway(1).groupCount, quint8(2));
    QCOMPARE(d.gateway(1).gearCount, quint8(2));
    QCOMPARE(d.gateway(1).treeItem, static_cast<void *>(item({"Devices", "Hall#M1"})));
    QCOMPARE(d.gateway(4).treeItem, static_cast<void *>(item({"Devices", "Spare#M4"})));
    QVERIFY(!d.gateway(3).present);
    QCOMPARE(m_tree->currentItem(), item({"Devices"}));
    QVERIFY(m_tree->currentItem()->isExpanded());
    QCOMPARE(m_tree->currentTarget(), CurrentTarget());
    QCOMPARE(m_tree->nodeCount(), 21);
}

void TestDeviceTree::loadingNodeGoesWithTheBuild()
{
    m_fx = std::make_unique<DeviceFixture>(kProject, kLine);
    m_tree = std::make_unique<CMyTreeCtrlDevice>(*m_fx->context);
    m_tree->showLoading();
    QCOMPARE(dump(*m_tree), QStringList{"Loading,Please wait..."});
    QSignalSpy views(m_tree.get(), &CMyTreeCtrlDevice::viewRequested);
    QSignalSpy texts(m_tree.get(), &CMyTreeCtrlDevice::statusTextsChanged);
    m_tree->build();
    QCOMPARE(m_tree->topLevelItem(0)->text(0), QStringLiteral("Devices"));
    QCOMPARE(m_tree->topLevelItemCount(), 3);
    // The build's own selection of the root is reported once, after the build.
    QCOMPARE(views.size(), 1);
    QCOMPARE(views.first().at(0).value<DeviceTree::View>(), DeviceTree::View::GatewayList);
    QCOMPARE(texts.size(), 1);
    QCOMPARE(texts.first(), (QList<QVariant>{"AllDevice", "App ID = B0M0R20"}));
}

void TestDeviceTree::selection_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<int>("gateway");
    QTest::addColumn<int>("targetCode");
    QTest::addColumn<QString>("label");
    QTest::addColumn<QString>("appId");
    QTest::addColumn<DeviceTree::View>("view");
    QTest::addColumn<QString>("viewKey");
    using V = DeviceTree::View;

    QTest::newRow("gateway M1") << QStringList{"Devices", "Hall#M1"} << 1 << 80 << "M1"
                                << "App ID = B0M1R20" << V::GearList << "M1";
    QTest::newRow("group G3 of M1") << QStringList{"Devices", "Hall#M1", "Group3#G3"} << 1 << 67
                                    << "M1G3" << "App ID = B0M1R6" << V::GearList << "M1G3";
    QTest::newRow("member A5 of G3 targets the gear")
        << QStringList{"Devices", "Hall#M1", "Group3#G3", "Lamp#A5"} << 1 << 5 << "M1A5"
        << "App ID = B0M1A5R0" << V::GearList << "M1A5";
    QTest::newRow("gear folder of M2") << QStringList{"Devices", "Office#M2", "ControlGear#CG"} << 2
                                       << 80 << "M2CG" << "App ID = B0M2R19" << V::GearList << "M2CG";
    QTest::newRow("gear A0 of M2") << QStringList{"Devices", "Office#M2", "ControlGear#CG", "Desk1#A0"}
                                   << 2 << 0 << "M2A0" << "App ID = B0M2A0R0" << V::GearList << "M2A0";
    QTest::newRow("group G5 of M2") << QStringList{"Devices", "Office#M2", "Desks#G5"} << 2 << 69
                                    << "M2G5" << "App ID = B0M2R8" << V::GearList << "M2G5";
    QTest::newRow("ExpandControl") << QStringList{"ExpandControl"} << 0 << 80 << "AllDevice"
                                   << "App ID = B0M0R20" << V::GatewayList << "ExpandControl";
    QTest::newRow("extended group E0") << QStringList{"ExpandControl", "Floor#E0"} << 0 << 80 << "E0"
                                       << "App ID = B0M0R20" << V::ExtendGroupView << "E0";
    QTest::newRow("TimingControl") << QStringList{"TimingControl"} << 0 << 80 << "AllDevice"
                                   << "App ID = B0M0R20" << V::GatewayList << "TimingControl";
    QTest::newRow("timing table T0") << QStringList{"TimingControl", "Timer#T0"} << 0 << 80 << "T0"
                                     << "App ID = B0M0R20" << V::TableView << "T0";
    QTest::newRow("sequence S2") << QStringList{"TimingControl", "Night#S2"} << 0 << 80 << "S2"
                                 << "App ID = B0M0R20" << V::TableView << "S2";
}

void TestDeviceTree::selection()
{
    QFETCH(QStringList, path);
    QFETCH(int, gateway);
    QFETCH(int, targetCode);
    QFETCH(QString, label);
    QFETCH(QString, appId);
    QFETCH(DeviceTree::View, view);
    QFETCH(QString, viewKey);
    makeTree();
    QSignalSpy targets(m_tree.get(), &CMyTreeCtrlDevice::currentTargetChanged);
    QSignalSpy views(m_tree.get(), &CMyTreeCtrlDevice::viewRequested);
    QSignalSpy texts(m_tree.get(), &CMyTreeCtrlDevice::statusTextsChanged);
    QSignalSpy delayStop(m_tree.get(), &CMyTreeCtrlDevice::selectionDelayStopRequested);
    QSignalSpy delayStart(m_tree.get(), &CMyTreeCtrlDevice::selectionDelayStartRequested);
    select(path);

    const CurrentTarget t = m_tree->currentTarget();
    QCOMPARE(t.bus, 0);
    QCOMPARE(t.gateway, gateway);
    QCOMPARE(t.targetCode, targetCode);
    QCOMPARE(t.label, label);
    QCOMPARE(targets.size(), 1);
    QCOMPARE(targets.first().first().value<CurrentTarget>(), t);
    QCOMPARE(views.size(), 1);
    QCOMPARE(views.first().at(0).value<DeviceTree::View>(), view);
    QCOMPARE(views.first().at(1).toString(), viewKey);
    QCOMPARE(texts.first(), (QList<QVariant>{label, appId}));
    QCOMPARE(delayStop.size(), 1);
    // The selection delay runs again only after one of the two lists has been shown.
    const bool list = view == DeviceTree::View::GatewayList || view == DeviceTree::View::GearList;
    QCOMPARE(delayStart.size(), list ? 1 : 0);
}

void TestDeviceTree::memberAndGearShareTheGearList()
{
    makeTree();
    QSignalSpy views(m_tree.get(), &CMyTreeCtrlDevice::viewRequested);
    select({"Devices", "Hall#M1", "Centre#G1", "Lamp#A5"});
    select({"Devices", "Hall#M1", "ControlGear#CG", "Lamp#A5"});
    select({"Devices", "Hall#M1", "ControlGear#CG", "Desk#A6"});
    QCOMPARE(views.size(), 3);
    // The same full key does not fill the gear list again.
    QCOMPARE(views.at(0).at(2).toBool(), true);
    QCOMPARE(views.at(1).at(2).toBool(), false);
    QCOMPARE(views.at(2).at(2).toBool(), true);
}

void TestDeviceTree::commands_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QStringList>("menu");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("logLine");

    QTest::newRow("02 46 45 00 00 17: scene 7 on group 5 of M2")
        << QStringList{"Devices", "Office#M2", "Desks#G5"} << QStringList{"Recall Scene", "Scene 7"}
        << DeviceFixture::frame("024645000017") << "M2G5 Recall scene7 ... OK.\r\n";
    QTest::newRow("01 46 50 12 01 00: remove scene 3 on the gear folder of M1")
        << QStringList{"Devices", "Hall#M1", "ControlGear#CG"}
        << QStringList{"Remove Level From Scene", "Scene 3 Remove"}
        << DeviceFixture::frame("014650120100") << "M1CG Remove scene3 ... OK.\r\n";
    QTest::newRow("01 46 05 26 01 00: remove scene 13 logs without the blank")
        << QStringList{"Devices", "Hall#M1", "ControlGear#CG", "Lamp#A5"}
        << QStringList{"Remove Level From Scene", "Scene 13 Remove"}
        << DeviceFixture::frame("014605260100") << "M1A5 Remove scene13... OK.\r\n";
    QTest::newRow("00 46 50 00 00 00: off on the root, no answer")
        << QStringList{"Devices"} << QStringList{"&Off"}
        << DeviceFixture::frame("004650000000") << "AllDevice OFF ...  OK?\r\n";
    QTest::newRow("01 46 05 00 00 05: recall max on a gear")
        << QStringList{"Devices", "Hall#M1", "ControlGear#CG", "Lamp#A5"} << QStringList{"Recall M&ax Level"}
        << DeviceFixture::frame("014605000005") << "M1A5 Recall max level ... OK.\r\n";
    QTest::newRow("01 46 05 00 00 06: recall min on a member")
        << QStringList{"Devices", "Hall#M1", "Group3#G3", "Lamp#A5"} << QStringList{"Recall M&in Level"}
        << DeviceFixture::frame("014605000006") << "M1A5 Recall Min level... OK.\r\n";
    QTest::newRow("01 46 41 04 00 02: store scene 2 on group 1")
        << QStringList{"Devices", "Hall#M1", "Centre#G1"}
        << QStringList{"Store Actual Level As Scene", "Scene 2 Store"}
        << DeviceFixture::frame("014641040002") << "M1G1 Store actual level as scene2 ... OK.\r\n";
    QTest::newRow("00 46 50 04 00 0F: store scene 15 on the root")
        << QStringList{"Devices"} << QStringList{"Store Actual Level As Scene", "Scene 15 Store"}
        << DeviceFixture::frame("00465004000F") << "AllDevice Store actual level as scene15 ...  OK?\r\n";
    QTest::newRow("02 46 00 00 00 10: scene 0 on gear A0 of M2")
        << QStringList{"Devices", "Office#M2", "ControlGear#CG", "Desk1#A0"}
        << QStringList{"Recall Scene", "Scene 0"}
        << DeviceFixture::frame("024600000010") << "M2A0 Recall scene0 ... OK.\r\n";
    QTest::newRow("02 46 4E F6 00 1F: sequence 3 on")
        << QStringList{"Devices", "Office#M2"} << QStringList{"Turn On Sequence", "Sequence 3 On"}
        << DeviceFixture::frame("02464EF6001F") << "M2Turn On Sequence 3...OK.\r\n";
    QTest::newRow("01 46 4E F6 00 0A: sequence 1 off")
        << QStringList{"Devices", "Hall#M1"} << QStringList{"Turn Off Sequence", "Sequence 1 Off"}
        << DeviceFixture::frame("01464EF6000A") << "M1Turn Off Sequence 1...OK.\r\n";
}

void TestDeviceTree::commands()
{
    QFETCH(QStringList, path);
    QFETCH(QStringList, menu);
    QFETCH(QByteArray, request);
    QFETCH(QString, logLine);
    makeTree();
    select(path);
    trigger(menu);
    m_fx->settle();
    QCOMPARE(m_fx->written(), QList<QByteArray>{request});
    QCOMPARE(m_fx->log.lines(), QStringList{logLine});
}

void TestDeviceTree::menuEnabling_data()
{
    QTest::addColumn<QStringList>("path");
    QTest::addColumn<QString>("menuName");
    QTest::addColumn<QStringList>("enabled");
    QTest::addColumn<QStringList>("disabled");

    const QStringList root{"Devices"};
    const QStringList m1{"Devices", "Hall#M1"};
    QTest::newRow("root") << root << "ListMenu"
                          << QStringList{"Add Gatewa&y ...", "&Off", "Recall M&ax Level"}
                          << QStringList{"&Edit ...", "&Delete", "Test Addressing", "Restore factory settings"};
    QTest::newRow("gear folder") << QStringList{"Devices", "Hall#M1", "ControlGear#CG"} << "ListMenu"
                                 << QStringList{"Test Addressing", "&Off"}
                                 << QStringList{"&Delete", "Add Gatewa&y ...", "&Edit ..."};
    QTest::newRow("member of a group") << QStringList{"Devices", "Hall#M1", "Centre#G1", "Lamp#A5"}
                                       << "ListMenu" << QStringList{"Test Addressing"}
                                       << QStringList{"&Delete", "&Edit ..."};
    QTest::newRow("gear") << QStringList{"Devices", "Hall#M1", "ControlGear#CG", "Lamp#A5"} << "ListMenu"
                          << QStringList{"&Delete", "Test Addressing"}
                          << QStringList{"Add Gatewa&y ...", "Di&mming ...", "&Properties ..."};
    QTest::newRow("group") << QStringList{"Devices", "Hall#M1", "Centre#G1"} << "ListMenu"
                           << QStringList{"&Delete"} << QStringList{"Add Gatewa&y ..."};
    QTest::newRow("gateway") << m1 << "Gateway" << QStringList{"&Edit...", "&Delete", "Add &Group"}
                             << QStringList{"&Scan Slave Gear ...", "&Properties ..."};
    QTest::newRow("ExpandControl") << QStringList{"ExpandControl"} << "ExtendGroupAdd" << QStringList{}
                                   << QStringList{"Add Expand Control"};
    QTest::newRow("extended group") << QStringList{"ExpandControl", "Floor#E0"} << "ExtendGroup"
                                    << QStringList{"Delete"} << QStringList{"&Edit...", "Add Device..."};
    QTest::newRow("TimingControl") << QStringList{"TimingControl"} << "SEQ" << QStringList{}
                                   << QStringList{"&Delete", "&Edit..."};
    QTest::newRow("timing table") << QStringList{"TimingControl", "Timer#T0"} << "SEQ" << QStringList{}
                                  << QStringList{"&Delete"};
    QTest::newRow("sequence") << QStringList{"TimingControl", "Night#S2"} << "SEQ"
                              << QStringList{"&Delete"} << QStringList{"Add &Sequence"};
}

void TestDeviceTree::menuEnabling()
{
    QFETCH(QStringList, path);
    QFETCH(QString, menuName);
    QFETCH(QStringList, enabled);
    QFETCH(QStringList, disabled);
    makeTree();
    select(path);
    std::unique_ptr<QMenu> menu(m_tree->createContextMenu(nullptr));
    QCOMPARE(menu->objectName(), menuName);
    for (const QString &text : enabled) {
        QAction *a = findAction(menu.get(), {text});
        QVERIFY2(a && a->isEnabled(), qPrintable(text));
    }
    for (const QString &text : disabled) {
        QAction *a = findAction(menu.get(), {text});
        QVERIFY2(a && !a->isEnabled(), qPrintable(text));
    }
}

void TestDeviceTree::chineseListMenuCarriesGatewayCommands()
{
    SoftwareSettings chinese = DeviceFixture::quickSettings();
    chinese.language = 1;
    for (const SoftwareSettings &s : {DeviceFixture::quickSettings(), chinese}) {
        makeTree(kProject, s);
        select({"Devices"});
        std::unique_ptr<QMenu> menu(m_tree->createContextMenu(nullptr));
        QStringList texts;
        for (QAction *a : menu->actions().mid(0, 5))
            texts << a->text();
        if (s.language == 1)
            QCOMPARE(texts, (QStringList{"&Edit ...", "&Delete", "Add Gatewa&y ...",
                                         "&Scan Slave Gear ...", "Add &Group"}));
        else
            QCOMPARE(texts.mid(0, 3), (QStringList{"&Edit ...", "&Delete", "Add Gatewa&y ..."}));
        QVERIFY(!findAction(menu.get(), {"Add &Group"}) == (s.language != 1));
    }
}

void TestDeviceTree::restoreFactoryTwoStepsToTheSameGear()
{
    SoftwareSettings s = DeviceFixture::quickSettings();
    s.restoreFactory = true;
    makeTree(kProject, s);
    select({"Devices", "Hall#M1", "ControlGear#CG", "Desk#A6"});
    trigger({"Restore factory settings"});
    QCOMPARE(m_fx->prompter.texts(), QStringList{"Are you sure to restore factory settings?"});
    QVERIFY(m_tree->logic().commands().isRestorePending());
    // The selection moves on before the second step: it still goes to the gear that was reset.
    select({"Devices", "Office#M2", "ControlGear#CG", "Desk1#A0"});
    DirectCommands &c = m_tree->logic().commands();
    m_fx->run(2000, [&] { c.tick(); });
    m_fx->settle();
    QCOMPARE(m_fx->written(), (QList<QByteArray>{DeviceFixture::frame("014606000020"),
                                                 DeviceFixture::frame("0146060200FF")}));
    QCOMPARE(m_fx->writtenAt.size(), 2);
    QCOMPARE(m_fx->writtenAt.at(1) - m_fx->writtenAt.at(0), 1000);
    // The simulated gear do not model short address deletion yet; only the request is checked.
    QCOMPARE(m_fx->log.lines().size(), 2);
    QCOMPARE(m_fx->log.lines().at(0), QStringLiteral("M1A6 Restore default parameters ... OK.\r\n"));
    QVERIFY(m_fx->log.lines().at(1).startsWith(QStringLiteral("M1A6 Delete short address ... ")));
    QVERIFY(!c.isRestorePending());
}

void TestDeviceTree::restoreFactoryNeedsYesAndTheSetting()
{
    makeTree();
    select({"Devices", "Hall#M1", "ControlGear#CG", "Desk#A6"});
    QVERIFY(!isEnabled({"Restore factory settings"}));
    cleanup();

    SoftwareSettings s = DeviceFixture::quickSettings();
    s.restoreFactory = true;
    makeTree(kProject, s);
    select({"Devices", "Hall#M1", "ControlGear#CG", "Desk#A6"});
    m_fx->prompter.script(Prompter::Answer::No);
    trigger({"Restore factory settings"});
    DirectCommands &c = m_tree->logic().commands();
    QVERIFY(!c.isRestorePending());
    m_fx->run(1500, [&] { c.tick(); });
    QVERIFY(m_fx->written().isEmpty());
}

void TestDeviceTree::deleteRules()
{
    makeTree();
    // A gateway with groups and gear cannot go.
    select({"Devices", "Hall#M1"});
    trigger({"&Delete"});
    QCOMPARE(m_fx->prompter.texts(), (QStringList{"Are you sure to delete?", "Please,Delete child node first."}));
    QVERIFY(m_fx->hasSection("M1"));
    QVERIFY(item({"Devices", "Hall#M1"}));

    // Nor a group with members.
    select({"Devices", "Office#M2", "Desks#G5"});
    trigger({"&Delete"});
    QCOMPARE(m_fx->prompter.texts().last(), QStringLiteral("Please,Delete child node first."));
    QVERIFY(m_fx->hasSection("M2G5"));

    // No to the question changes nothing.
    select({"Devices", "Spare#M4"});
    m_fx->prompter.script(Prompter::Answer::No);
    trigger({"&Delete"});
    QVERIFY(m_fx->hasSection("M4"));

    // A gateway with nothing but its empty gear folder goes, and only its own section.
    trigger({"&Delete"});
    QVERIFY(!m_fx->hasSection("M4"));
    QVERIFY(m_fx->hasSection("M1") && m_fx->hasSection("M2") && m_fx->hasSection("M2A0"));
    QVERIFY(!item({"Devices", "Spare#M4"}));
    QVERIFY(!m_fx->data.gateway(4).present);
    QVERIFY(m_tree->currentItem());
    m_fx->settle();
    QVERIFY(m_fx->written().isEmpty());
}

void TestDeviceTree::deleteGearRefreshesItsGateway()
{
    makeTree();
    QSignalSpy refills(m_tree.get(), &CMyTreeCtrlDevice::gearListRefillRequested);
    select({"Devices", "Hall#M1", "ControlGear#CG", "Lamp#A5"});
    trigger({"&Delete"});
    QCOMPARE(m_fx->prompter.texts(), (QStringList{"Are you sure to delete?", "Delete device address at the same time?"}));
    QVERIFY(!m_fx->hasSection("M1A5"));
    QVERIFY(!m_fx->data.gear(1, 5).present);
    QVERIFY(!m_fx->data.group(1, 1).hasMember(5));
    QCOMPARE(refills.size(), 1);
    QCOMPARE(refills.first().first().toInt(), 1);
    m_fx->settle();
    QCOMPARE(m_fx->written(), QList<QByteArray>{DeviceFixture::frame("0146050200FF")});
    QCOMPARE(m_fx->log.lines().size(), 1);
    QVERIFY(m_fx->log.lines().at(0).startsWith(QStringLiteral("M1A5 delete short address gear ... ")));
    // Its member nodes went with it; the other gateways kept their nodes and handles.
    QCOMPARE(dump(item({"Devices", "Hall#M1"})), (QStringList{
        "Hall#M1", " Centre#G1", " Group3#G3", " ControlGear#CG", "  Desk#A6"}));
    QCOMPARE(m_fx->data.gateway(2).treeItem, static_cast<void *>(item({"Devices", "Office#M2"})));

    // The now empty group goes; No to removing it from the gear sends nothing.
    select({"Devices", "Hall#M1", "Group3#G3"});
    m_fx->prompter.script(Prompter::Answer::Yes);
    m_fx->prompter.script(Prompter::Answer::No);
    trigger({"&Delete"});
    QCOMPARE(m_fx->prompter.texts().last(), QStringLiteral("Delete group at the same time?"));
    QVERIFY(!m_fx->hasSection("M1G3"));
    QVERIFY(!m_fx->data.group(1, 3).present);
    QVERIFY(!item({"Devices", "Hall#M1", "Group3#G3"}));

    // Yes sends REMOVE FROM GROUP 1 to the group.
    select({"Devices", "Hall#M1", "Centre#G1"});
    trigger({"&Delete"});
    m_fx->settle();
    QCOMPARE(m_fx->written().last(), DeviceFixture::frame("014641000071"));
    QCOMPARE(m_fx->log.lines().last(), QStringLiteral("M1G1 Delete group 1 ... OK.\r\n"));
}

void TestDeviceTree::deleteExtendGroupRemovesItsFile()
{
    makeTree();
    QDir(m_fx->dir.path()).mkpath(m_fx->store->expandFolder());
    const QString file = QDir(m_fx->store->expandFolder()).filePath("E0.epc");
    {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
    }
    select({"ExpandControl", "Floor#E0"});
    trigger({"Delete"});
    QVERIFY(!m_fx->hasSection("E0"));
    QVERIFY(!QFile::exists(file));
    QVERIFY(!item({"ExpandControl", "Floor#E0"}));
}

void TestDeviceTree::addGroupTakesTheLowestFree()
{
    makeTree("[M1]\nNAME=Hall\n[M1G0]\n[M1G1]\n[M1G3]\n");
    select({"Devices", "Hall#M1"});
    trigger({"Add &Group"});
    QCOMPARE(m_fx->dbText("M1G2", "NAME"), QStringLiteral("Group2"));
    QCOMPARE(dump(item({"Devices", "Hall#M1"})), (QStringList{
        "Hall#M1", " Group0#G0", " Group1#G1", " Group2#G2", " Group3#G3", " ControlGear#CG"}));
    QVERIFY(m_fx->data.group(1, 2).present);
    m_fx->settle();
    QVERIFY(m_fx->written().isEmpty());
}

void TestDeviceTree::addGroupRefusesASeventeenth()
{
    QByteArray db("[M1]\n");
    for (int g = 0; g < 16; ++g)
        db += "[M1G" + QByteArray::number(g) + "]\n";
    makeTree(db.constData());
    select({"Devices", "#M1"});
    trigger({"Add &Group"});
    QCOMPARE(m_fx->prompter.texts(), QStringList{"Failure,Allowed only 16 group."});
    QCOMPARE(item({"Devices", "#M1"})->childCount(), 17);
}

void TestDeviceTree::gatewayCommandsReachTheMainWindow()
{
    makeTree();
    QSignalSpy add(m_tree.get(), &CMyTreeCtrlDevice::requestAddGateway);
    QSignalSpy edit(m_tree.get(), &CMyTreeCtrlDevice::requestEditGateway);
    select({"Devices"});
    trigger({"Add Gatewa&y ..."});
    select({"Devices", "Office#M2"});
    trigger({"&Edit..."});
    QCOMPARE(add.size(), 1);
    QCOMPARE(edit.size(), 1);
    QCOMPARE(edit.first().first().toInt(), 2);

    m_tree->relabelSelected(QStringLiteral("Offices"));
    QCOMPARE(m_tree->currentItem()->text(0), QStringLiteral("Offices#M2"));
    QCOMPARE(m_tree->selectedFullKey(), QStringLiteral("M2"));
}

void TestDeviceTree::demoProject()
{
    const QString source = qEnvironmentVariable("LUMARO_SOURCE_DIR");
    QFile db(source + QStringLiteral("/data/demo/db.ctt"));
    QVERIFY(db.open(QIODevice::ReadOnly));
    const QByteArray text = db.readAll().replace("\r\n", "\n");
    makeTree(text.constData());
    QCOMPARE(m_tree->topLevelItemCount(), 3);
    QCOMPARE(m_tree->topLevelItem(0)->childCount(), 3);
    QTreeWidgetItem *hall = m_tree->topLevelItem(0)->child(0);
    QCOMPARE(m_tree->nodeOf(hall).fullKey(), QStringLiteral("M1"));
    QCOMPARE(m_fx->data.gateway(1).gearCount, quint8(16));

    // Set LUMARO_SCREENSHOT_DIR to look at the tree and its menu.
    const QString shots = qEnvironmentVariable("LUMARO_SCREENSHOT_DIR");
    if (shots.isEmpty())
        return;
    m_tree->expandAll();
    m_tree->resize(320, 900);
    m_tree->setCurrentItem(hall->child(0));
    m_tree->grab().save(shots + QStringLiteral("/devicetree.png"));
    std::unique_ptr<QMenu> menu(m_tree->createContextMenu(nullptr));
    menu->adjustSize();
    menu->grab().save(shots + QStringLiteral("/devicetree-listmenu.png"));
    m_tree->setCurrentItem(hall);
    menu.reset(m_tree->createContextMenu(nullptr));
    menu->adjustSize();
    menu->grab().save(shots + QStringLiteral("/devicetree-gatewaymenu.png"));
}

QTEST_MAIN(TestDeviceTree)
#include "tst_devicetree.moc"
