// The gateway list's logic: the rows of a fill, the firmware check, its own status poll over the
// gateways of the project, and the context menu commands on several rows, against the simulated
// line with driven ticks.
#include "cmygatewayview.h"
#include "gatewayfixture.h"
#include "gatewaylist.h"
#include "simgateway.h"

#include <QHeaderView>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTest>

using namespace lumaro;
using Command = GatewayList::Command;
using Colour = GatewayList::Colour;

Q_DECLARE_METATYPE(GatewayList::Command)

namespace {
const char *kThreeGateways = "[M1]\nNAME=Hall\nMODEL=80\nVER=16\n"
                             "[M2]\nNAME=Offices\nMODEL=79\nVER=16\n"
                             "[M3]\nNAME=Meeting\nMODEL=83\nVER=17\n";
}  // namespace

class TestGatewayList : public QObject
{
    Q_OBJECT
private slots:
    void fillRows();
    void firmwareWarning_data();
    void firmwareWarning();
    void pollVisitsGatewaysThenPauses();
    void pollWaitsForDisabledOrOtherSelection();
    void commands_data();
    void commands();
    void statusFlags_data();
    void statusFlags();
    void calibrationThenRead();
    void rowsOneAfterAnother();
    void checkStatusTimeoutMarksOffline();
    void answerFromAnotherGateway();
    void printRows();
    void viewOfDemoProject();
};

void TestGatewayList::fillRows()
{
    GatewayFixture f("[M1]\nNAME=Hall\nMODEL=80\nVER=16\nLOCATION=Ground\nGATEIP=3232235876\nGATEPORT=8000\n"
                     "[M1A0]\n[M1A1]\n[M1G2]\n"
                     "[M4]\nNAME=Store\nMODEL=9A\nSTATUS=1\n",
                     "");
    GatewayList list(*f.context);
    QSignalSpy reset(&list, &GatewayList::rowsReset);
    list.fill();
    QCOMPARE(reset.size(), 1);
    QCOMPARE(list.rows().size(), 2);
    QCOMPARE(list.rows()[0].cells, (QStringList{"M1", "Hall", "DG-80 RS485", "OK", "16", "Ground",
                                                "192.168.1.100:8000", "2", "1", "128"}));
    QCOMPARE(list.rows()[0].statusColour, Colour::Green);
    QCOMPARE(list.rows()[0].netColour, Colour::Grey);
    // The stored STATUS is taken over the first time; a model without a name is "unknown".
    QCOMPARE(list.rows()[1].cells, (QStringList{"M4", "Store", "unknown", "Failure", "", "", "0.0.0.0:502",
                                                "0", "0", "154"}));
    QCOMPARE(list.rows()[1].statusColour, Colour::Red);
    QCOMPARE(f.data.gateway(4).listRow, quint8(1));
    QCOMPARE(f.data.gateway(2).listRow, GatewayRecord::kNotShown);

    // Refreshing shows the run-time state; gateways without a row are left alone.
    f.data.gateway(1).status = GatewayRecord::NotAnswering;
    f.data.gateway(1).networkState = 1;
    list.refreshRow(1);
    list.refreshRow(2);
    list.refreshRow(17);
    QCOMPARE(list.rows()[0].cells[GatewayList::Status], QStringLiteral("Failure/Off line"));
    QCOMPARE(list.rows()[0].statusColour, Colour::Red);
    QCOMPARE(list.rows()[0].netColour, Colour::Green);
    QCOMPARE(GatewayList::columnWidth(GatewayList::Dev), 0);
    QCOMPARE(GatewayList::columnWidth(GatewayList::NetConnect), 200);
}

void TestGatewayList::firmwareWarning_data()
{
    QTest::addColumn<QByteArray>("db");
    QTest::addColumn<QStringList>("shown");
    const QString warning = QStringLiteral("The software function upgrade, please upgrade %1 gateway firmware(or above)!");
    QTest::newRow("M2 model 80 version 15") << QByteArray("[M1]\nMODEL=80\nVER=16\n[M2]\nMODEL=80\nVER=15\n")
                                            << QStringList{warning.arg("M2->16,")};
    QTest::newRow("M2 model 80 version 16") << QByteArray("[M2]\nMODEL=80\nVER=16\n") << QStringList();
    QTest::newRow("two old gateways, one warning")
        << QByteArray("[M2]\nMODEL=79\nVER=9\n[M5]\nMODEL=83\nVER=3\n[M6]\nMODEL=86\nVER=0\n")
        << QStringList{warning.arg("M2->16,M5->16,M6->1,")};
    QTest::newRow("model without a minimum") << QByteArray("[M2]\nMODEL=81\nVER=1\n") << QStringList();
}

void TestGatewayList::firmwareWarning()
{
    QFETCH(QByteArray, db);
    QFETCH(QStringList, shown);
    GatewayFixture f(db.constData(), "");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    f.run(900);
    QVERIFY(f.prompter.texts().isEmpty());
    f.run(5000);
    QCOMPARE(f.prompter.texts(), shown);
}

void TestGatewayList::pollVisitsGatewaysThenPauses()
{
    GatewayFixture f(kThreeGateways, "[M1]\n[M3]\n");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.setPollAllowed(true);
    list.fill();
    const int pause = f.settings.checkThreadCount * 1000;

    QVERIFY(f.runUntil([&] { return f.written().size() >= 5; }, 3 * pause));
    QCOMPARE(f.written(), (QList<QByteArray>{GatewayFixture::frame("014350FE0001"), GatewayFixture::frame("024350FE0001"),
                                             GatewayFixture::frame("024350FE0001"), GatewayFixture::frame("034350FE0001"),
                                             GatewayFixture::frame("014350FE0001")}));
    // The first poll two seconds after the fill (it leaves at the next link tick), the next one
    // as soon as the line is free, and the next cycle after the long pause.
    QCOMPARE(f.writtenAt[0], 2010);
    QVERIFY(f.writtenAt[4] - f.writtenAt[3] >= pause);
    QVERIFY(f.writtenAt[4] - f.writtenAt[3] < pause + 500);
    QCOMPARE(f.log.lines().mid(0, 5), (QStringList{
        "M1 Check ...  OK.\r\n",
        "M2 Check ...  Time-out.\r\n",
        "M2 Check ...  Time-out.\r\n",
        "M2 Failure/Off line.\r\n",
        "M3 Check ...  OK.\r\n",
    }));
    QCOMPARE(list.rows()[1].cells[GatewayList::Status], QStringLiteral("Failure/Off line"));
    QCOMPARE(list.rows()[1].statusColour, Colour::Red);
    QCOMPARE(list.rows()[0].cells[GatewayList::Status], QStringLiteral("OK"));
    // Each request holds the background poll off for ten seconds.
    QVERIFY(f.poll->isResumeTimerRunning());
    QCOMPARE(f.poll->resumeCountdown(), 10);

    // The off-line mark goes into the project at exit.
    QVERIFY(f.data.saveLiveState(*f.store));
    ProjectStore reread(f.dir.path());
    QVERIFY(reread.load());
    QCOMPARE(reread.read(ProjectFile::Db, "M2", "STATUS"), QStringLiteral("1"));
    QCOMPARE(reread.read(ProjectFile::Db, "M1", "STATUS"), QStringLiteral("0"));
    QCOMPARE(reread.read(ProjectFile::Db, "M3", "STATUS"), QStringLiteral("0"));
}

void TestGatewayList::pollWaitsForDisabledOrOtherSelection()
{
    GatewayFixture f(kThreeGateways, "[M1]\n[M2]\n[M3]\n");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    // Another node of the tree is selected: nothing is polled.
    f.run(10000);
    QVERIFY(f.written().isEmpty());
    // A dialog disabled the background poll: the list waits as well.
    list.setPollAllowed(true);
    f.poll->setEnabled(false);
    f.run(10000);
    QVERIFY(f.written().isEmpty());
    f.poll->setEnabled(true);
    QVERIFY(f.runUntil([&] { return !f.written().isEmpty(); }, 3100));
}

void TestGatewayList::commands_data()
{
    QTest::addColumn<Command>("command");
    QTest::addColumn<QByteArray>("request");
    QTest::addColumn<QString>("line");

    QTest::newRow("check status") << Command::CheckStatus << QByteArray("014350FE0001")
                                  << "M1 Check status, OK.\r\n";
    QTest::newRow("read version") << Command::ReadVersion << QByteArray("014350FA0001")
                                  << "M1 Read version, OK.Version=17 \r\n";
    QTest::newRow("network parameters")
        << Command::ReadNetworkParameters << QByteArray("014350CA000A")
        << "M1 Read network parameters, OK.192.168.1.100 , 192.168.1.1 , 255.255.255.0 : 502 , 00-1A-2B-3C-4D-01 \r\n";
    QTest::newRow("reboot") << Command::Reboot << QByteArray("014650E60001")
                            << "M1Reboot device ...  OK.Please wait 1 minutes，device is being restarted \r\n";
    QTest::newRow("time control status")
        << Command::ReadTimeControlStatus << QByteArray("01434EF80001")
        << "M1 Read time control status, OK.Timing:ON;  Sequence 1: OFF;  2: ON;  3: OFF;  4: ON;  \r\n";
}

void TestGatewayList::commands()
{
    QFETCH(Command, command);
    QFETCH(QByteArray, request);
    QFETCH(QString, line);
    GatewayFixture f("[M1]\nMODEL=80\nVER=16\n", "[M1]\nVER=17\n");
    f.line->gateway(1)->setTimingState(0b10101);
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    QVERIFY(list.run(command, {0}));
    QVERIFY(list.isCommandRunning());
    QVERIFY(f.runUntil([&] { return !finished.isEmpty(); }, 5000));
    QCOMPARE(f.written(), QList<QByteArray>{GatewayFixture::frame(request.constData())});
    QCOMPARE(f.log.lines(), QStringList{line});
    // Only the version read changes the project: VER follows the gateway.
    QCOMPARE(f.db("M1", "VER"), command == Command::ReadVersion ? QStringLiteral("17") : QStringLiteral("16"));
    if (command == Command::ReadVersion)
        QCOMPARE(list.rows()[0].cells[GatewayList::Version], QStringLiteral("17"));
}

void TestGatewayList::statusFlags_data()
{
    QTest::addColumn<int>("flags");
    QTest::addColumn<QString>("shown");
    QTest::newRow("0x24") << 0x24 << " /Scan DALI gears /Fire fighting linkage";
    QTest::newRow("bit 4 alone") << 0x10 << "";
    QTest::newRow("bits 6 and 7") << 0xC0 << "";
    QTest::newRow("0x0F") << 0x0F << " /Busy /Debug /Scan DALI gears /Lock DALI bus";
}

void TestGatewayList::statusFlags()
{
    QFETCH(int, flags);
    QFETCH(QString, shown);
    GatewayFixture f("[M1]\nSTATUS=1\n", "[M1]\n");
    f.line->gateway(1)->setStatusFlags(uint8_t(flags));
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QCOMPARE(list.rows()[0].cells[GatewayList::Status], QStringLiteral("Failure"));
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    list.run(Command::CheckStatus, {0});
    QVERIFY(f.runUntil([&] { return !finished.isEmpty(); }, 5000));
    QCOMPARE(f.log.lines(), QStringList{"M1 Check status, OK." + shown + "\r\n"});
    QCOMPARE(list.rows()[0].cells[GatewayList::Status], QStringLiteral("OK"));
    QCOMPARE(f.data.gateway(1).status, quint8(GatewayRecord::Answering));
}

void TestGatewayList::calibrationThenRead()
{
    GatewayFixture f("[M1]\n", "[M1]\n");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    // 2024-03-05 14:07:09 is a Tuesday.
    list.run(Command::CalibrationTime, {0});
    QVERIFY(f.runUntil([&] { return finished.size() == 1; }, 5000));
    list.run(Command::ReadControllerTime, {0});
    QVERIFY(f.runUntil([&] { return finished.size() == 2; }, 5000));
    QCOMPARE(f.written(), (QList<QByteArray>{GatewayFixture::frame("01504FE60004080018030 50E070902"),
                                             GatewayFixture::frame("01434FE60004")}));
    QCOMPARE(f.log.lines(), (QStringList{"M1 Calibration time 24-3-5 14:7:9 W=2, OK. \r\n",
                                         "M1 Read controller time, OK.24-3-5 14:7:9 W=2 \r\n"}));
}

void TestGatewayList::rowsOneAfterAnother()
{
    GatewayFixture f(kThreeGateways, "[M1]\n[M3]\n");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    QVERIFY(list.run(Command::Reboot, {2, 0, 1}));
    // One command at a time.
    QVERIFY(!list.run(Command::ReadVersion, {0}));
    QVERIFY(f.runUntil([&] { return !finished.isEmpty(); }, 10000));
    QCOMPARE(f.written(), (QList<QByteArray>{GatewayFixture::frame("014650E60001"), GatewayFixture::frame("024650E60001"),
                                             GatewayFixture::frame("034650E60001")}));
    // Each request leaves after the previous answer, or after the time-out of the silent M2.
    QVERIFY(f.writtenAt[1] - f.writtenAt[0] < 200);
    QVERIFY(f.writtenAt[2] - f.writtenAt[1] >= f.settings.comTimeout);
    QCOMPARE(f.log.lines(), (QStringList{
        "M1Reboot device ...  OK.Please wait 1 minutes，device is being restarted \r\n",
        "M2Reboot device ...  Time-out.\r\n",
        "M3Reboot device ...  OK.Please wait 1 minutes，device is being restarted \r\n",
    }));
}

void TestGatewayList::checkStatusTimeoutMarksOffline()
{
    GatewayFixture f(kThreeGateways, "[M1]\n");
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    list.run(Command::CheckStatus, {1});
    QVERIFY(f.runUntil([&] { return !finished.isEmpty(); }, 5000));
    QCOMPARE(f.log.lines(), QStringList{"M2 Check status, Time-out.\r\n"});
    QCOMPARE(list.rows()[1].cells[GatewayList::Status], QStringLiteral("Failure/Off line"));
    QCOMPARE(f.data.gateway(2).status, quint8(GatewayRecord::NotAnswering));
}

void TestGatewayList::answerFromAnotherGateway()
{
    GatewayFixture f(kThreeGateways, "[M1]\n[M2]\n[M3]\n");
    f.link->close();
    GatewayList list(*f.context);
    f.every100 = [&] { list.tick(); };
    list.fill();
    QSignalSpy finished(&list, &GatewayList::commandFinished);
    list.run(Command::ReadVersion, {0, 1});
    // The link hands over any answer with the tag; the list checks its address.
    list.onAnswer(GatewayList::kVersionTag, GatewayFixture::answer("03430200 11"));
    QCOMPARE(f.log.lines(), QStringList{"Response failure.\r\n"});
    QCOMPARE(f.db("M1", "VER"), QStringLiteral("16"));
    // Without a connection nothing is queued: each row takes its full wait, COMTIMEOUT + 100 ms.
    QVERIFY(f.runUntil([&] { return !finished.isEmpty(); }, 5000));
    QVERIFY(f.written().isEmpty());
    QCOMPARE(f.now, 600);
}

void TestGatewayList::printRows()
{
    GatewayFixture f("[M1]\nNAME=Hall\nMODEL=80\nVER=16\nLOCATION=Ground\n[M1A0]\n", "");
    GatewayList list(*f.context);
    list.fill();
    QCOMPARE(GatewayList::printTitle(), QStringLiteral("Gateway Device"));
    QCOMPARE(GatewayList::printHeadings(), (QStringList{"ID", "Name", "Model", "Version", "Slave total", "Group total",
                                                        "Location", "Remark"}));
    QCOMPARE(list.printRows(), (QList<QStringList>{{"M1", "Hall", "DG-80 RS485", "16", "1", "0", "Ground", ""}}));
}

void TestGatewayList::viewOfDemoProject()
{
    const QByteArray db = GatewayFixture::sourceFile("data/demo/db.ctt");
    const QByteArray installation = GatewayFixture::sourceFile("data/demo/installation.ini");
    const QByteArray deviceTypes = GatewayFixture::sourceFile("data/DeviceType.ini");
    QVERIFY(!db.isEmpty() && !installation.isEmpty() && !deviceTypes.isEmpty());
    GatewayFixture f(db.constData(), installation.constData(), 500, deviceTypes.constData());
    CMyGatewayView view(*f.context);
    f.every100 = [&] { view.logic().tick(); };
    view.resize(1060, 140);
    view.fill();
    view.setPollAllowed(true);
    // One cycle of the list's poll over the three gateways.
    QVERIFY(f.runUntil([&] { return f.log.lines().size() >= 3; }, 20000));

    QTableWidget *table = view.table();
    QCOMPARE(table->rowCount(), 3);
    QCOMPARE(table->horizontalHeaderItem(GatewayList::NetConnect)->text(), QStringLiteral("Net Connect"));
    QVERIFY(table->isColumnHidden(GatewayList::Dev));
    QCOMPARE(table->columnWidth(GatewayList::Name), 150);
    QCOMPARE(table->item(1, GatewayList::Model)->text(), QStringLiteral("DALI gateway 121"));
    QCOMPARE(table->item(0, GatewayList::Status)->text(), QStringLiteral("OK"));
    QCOMPARE(table->item(0, GatewayList::Status)->foreground().color(), QColor(50, 160, 60));
    QCOMPARE(table->item(0, GatewayList::NetConnect)->foreground().color(), QColor(180, 180, 180));
    QCOMPARE(table->selectionBehavior(), QAbstractItemView::SelectRows);

    if (const QString out = qEnvironmentVariable("LUMARO_SCREENSHOT_DIR"); !out.isEmpty())
        QVERIFY(view.grab().save(QDir(out).filePath(QStringLiteral("gateway-list.png"))));

    table->setFocus();
    QTest::keyClick(table, Qt::Key_A, Qt::ControlModifier);
    QCOMPARE(table->selectionModel()->selectedRows().size(), 3);

}

QTEST_MAIN(TestGatewayList)
#include "tst_gatewaylist.moc"
