// Speed of the device tree on the largest project: 16 gateways, each with 16 groups that hold
// all 64 gear, so 16 x (1 + 16 x 65 + 65) = 17 696 gateway nodes plus the three top-level
// nodes and the timing table. Measures building the tree from the project (the project data
// rebuild included) against building the same number of plain tree items in the same shape
// without reading the project, each as the best of several runs. Target: at most 3 times.
// Also reports filling the gear list of one gateway of that project.
//
// Build in Release without sanitizers; run `bench_tree [repetitions]` (QT_QPA_PLATFORM=offscreen
// on a machine without a display).

#include "clock.h"
#include "cmydevicelist.h"
#include "cmytreectrldevice.h"
#include "devicecontext.h"
#include "gatewaylink.h"
#include "logsink.h"
#include "projectdata.h"
#include "projectstore.h"
#include "prompter.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QApplication>
#include <QTableWidget>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>

using namespace lumaro;

namespace {

class NullLog final : public LogSink
{
public:
    void appendPending(const QString &) override {}
    void writePending() override {}
    QString pending() const override { return QString(); }
};

class NullPrompter final : public Prompter
{
public:
    Answer ask(Icon, Buttons, const QString &) override { return Answer::Yes; }
};

QByteArray largestProject()
{
    QByteArray out;
    out += "[B0]\r\nCOM=0\r\n";
    for (int g = 1; g <= 16; ++g) {
        const QByteArray m = "M" + QByteArray::number(g);
        out += "[" + m + "]\r\nNAME=Gateway " + QByteArray::number(g) + "\r\nGATEIP=0\r\nGATEPORT=502\r\n";
        for (int k = 0; k < 16; ++k)
            out += "[" + m + "G" + QByteArray::number(k) + "]\r\nNAME=Group " + QByteArray::number(k) + "\r\n";
        for (int a = 0; a < 64; ++a) {
            out += "[" + m + "A" + QByteArray::number(a) + "]\r\nNAME=Luminaire " + QByteArray::number(a) + "\r\n";
            for (int k = 0; k < 16; ++k)
                out += "GROUP" + QByteArray::number(k) + "=TRUE\r\n";
        }
    }
    return out;
}

// The same shape with fixed labels, built detached and inserted at once as the tree does.
int plainTree(QTreeWidget &tree)
{
    tree.clear();
    int count = 0;
    auto make = [&count](const QString &label) {
        ++count;
        return new QTreeWidgetItem(QStringList{label});
    };
    QTreeWidgetItem *root = make(QStringLiteral("Devices"));
    for (int g = 1; g <= 16; ++g) {
        QTreeWidgetItem *gw = make(QStringLiteral("Gateway#M%1").arg(g));
        for (int k = 0; k < 16; ++k) {
            QTreeWidgetItem *grp = make(QStringLiteral("Group#G%1").arg(k));
            for (int a = 0; a < 64; ++a)
                grp->addChild(make(QStringLiteral("Luminaire#A%1").arg(a)));
            gw->addChild(grp);
        }
        QTreeWidgetItem *folder = make(QStringLiteral("ControlGear#CG"));
        for (int a = 0; a < 64; ++a)
            folder->addChild(make(QStringLiteral("Luminaire#A%1").arg(a)));
        gw->addChild(folder);
        root->addChild(gw);
    }
    QTreeWidgetItem *expand = make(QStringLiteral("ExpandControl"));
    QTreeWidgetItem *timing = make(QStringLiteral("TimingControl"));
    timing->addChild(make(QStringLiteral("Timer#T0")));
    tree.insertTopLevelItems(0, {root, expand, timing});
    root->setExpanded(true);
    tree.setCurrentItem(root);
    return count;
}

qint64 bestOf(int repetitions, const std::function<void()> &work)
{
    qint64 best = std::numeric_limits<qint64>::max();
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        work();
        best = std::min(best, t.nsecsElapsed());
    }
    return best;
}

}  // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const int repetitions = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTextStream out(stdout);

    QTemporaryDir dir;
    {
        QFile f(dir.filePath(QStringLiteral("db.ctt")));
        if (!f.open(QIODevice::WriteOnly))
            return 2;
        f.write(largestProject());
    }
    NullLog log;
    NullPrompter prompter;
    ProjectStore store(dir.path(), &log);
    store.load();
    ProjectData data;
    const SoftwareSettings settings;
    GatewayLink link(log, prompter);
    StatusPoll poll(link, data, log, settings);
    SystemClock clock;
    DeviceContext context{link, store, data, log, prompter, settings, poll, clock};

    CMyTreeCtrlDevice tree(context);
    tree.resize(300, 800);
    tree.show();
    QTreeWidget plain;
    plain.resize(300, 800);
    plain.show();
    app.processEvents();

    int plainCount = 0;
    const qint64 treeNs = bestOf(repetitions, [&] { tree.build(); app.processEvents(); });
    const qint64 plainNs = bestOf(repetitions, [&] { plainCount = plainTree(plain); app.processEvents(); });
    const int treeCount = tree.nodeCount();

    // The gear list of one gateway of that project: 64 rows.
    CMyDeviceList gearList(context);
    gearList.resize(1200, 800);
    gearList.show();
    const qint64 gearListNs = bestOf(repetitions, [&] { gearList.fill(1); app.processEvents(); });
    out << "gear list of one gateway: " << gearList.table()->rowCount() << " rows in " << gearListNs / 1e6 << " ms\n";

    const double ratio = double(treeNs) / double(plainNs);
    const bool pass = ratio <= 3.0 && treeCount == plainCount && treeCount > 17000;
    out << "device tree: " << treeCount << " nodes in " << treeNs / 1e6 << " ms (best of "
        << repetitions << ")\n"
        << "plain items: " << plainCount << " nodes in " << plainNs / 1e6 << " ms\n"
        << "ratio: " << ratio << " (target at most 3)\n"
        << (pass ? "PASS" : "FAIL") << "\n";
    return pass ? 0 : 1;
}
