// Opening and closing the serial line: log texts, error box, status pane, connected flag and the
// "Open Port" command from section B0; and the port list it picks devices from.
#include "frame.h"
#include "gatewaylink.h"
#include "portlist.h"
#include "projectdata.h"
#include "projectstore.h"
#include "protocol.h"
#include "recordinglog.h"
#include "requesterid.h"
#include "scriptedprompter.h"
#include "serialline.h"
#include "transport.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

using namespace lumaro;

namespace {

// A port that opens when its device is present on the test's "system" and fails otherwise. It
// notes each opening and closing in the test's list of events.
class TestPort final : public Transport
{
    Q_OBJECT
public:
    TestPort(QString device, bool present, const LineSettings &lineSettings, QStringList &events)
        : settings(lineSettings), m_device(std::move(device)), m_present(present), m_events(events)
    {
    }
    bool open() override
    {
        m_open = m_present;
        m_events.append(m_device + (m_open ? QStringLiteral(" open") : QStringLiteral(" fails")));
        return m_open;
    }
    void close() override
    {
        if (m_open)
            m_events.append(m_device + QStringLiteral(" close"));
        m_open = false;
    }
    bool isOpen() const override { return m_open; }
    bool write(const QByteArray &) override { return m_open; }

    // An adapter pulled out: the port closes and the line reports the error.
    void pullOut()
    {
        m_open = false;
        emit lineError(QStringLiteral("No such device"));
    }

    const LineSettings settings;

private:
    QString m_device;
    bool m_present;
    QStringList &m_events;
    bool m_open = false;
};

}  // namespace

class TestSerialLine : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void portList_data();
    void portList();
    void openAndClose();
    void openFailure();
    void reopenClosesFirst();
    void reopenFailureLeavesLineClosed();
    void openPortFromStoredChoice_data();
    void openPortFromStoredChoice();
    void lostAdapterClosesLine();

private:
    void makeLine(const QByteArray &db = QByteArray());
    QStringList lines() const { return m_log.lines(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    RecordingLog m_log;
    ScriptedPrompter m_prompter;
    ProjectData m_data;
    PortList m_ports{{{QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0")},
                      {QStringLiteral("ttyUSB0"), QStringLiteral("/dev/ttyUSB0")}},
                     {QStringLiteral("/dev/pts/7")}};
    QStringList m_present{QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0"), QStringLiteral("/dev/pts/7")};
    QStringList m_events;
    TestPort *m_lastMade = nullptr;
    std::unique_ptr<ProjectStore> m_store;
    std::unique_ptr<GatewayLink> m_link;
    std::unique_ptr<SerialLine> m_line;
};

void TestSerialLine::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_log.clear();
    m_prompter = ScriptedPrompter();
    m_data = ProjectData();
    m_events.clear();
    makeLine();
}

void TestSerialLine::cleanup()
{
    m_line.reset();
    m_link.reset();
    m_store.reset();
}

void TestSerialLine::makeLine(const QByteArray &db)
{
    m_line.reset();
    m_link.reset();
    m_store.reset();
    if (!db.isEmpty()) {
        QFile f(m_dir->filePath(QStringLiteral("db.ctt")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(db);
    }
    m_store = std::make_unique<ProjectStore>(m_dir->path());
    QVERIFY(m_store->load());
    m_link = std::make_unique<GatewayLink>(m_log, m_prompter);
    auto factory = [this](const QString &device, const LineSettings &settings) {
        auto port = std::make_unique<TestPort>(device, m_present.contains(device), settings, m_events);
        m_lastMade = port.get();
        return port;
    };
    m_line = std::make_unique<SerialLine>(*m_link, *m_store, m_data, m_log, m_prompter, m_ports, factory);
}

void TestSerialLine::portList_data()
{
    QTest::addColumn<QStringList>("extra");
    QTest::addColumn<QStringList>("texts");
    QTest::newRow("system ports, then --port devices")
        << QStringList{QStringLiteral("/dev/pts/3")}
        << QStringList{QStringLiteral("AUTO/USB"), QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0"), QStringLiteral("/dev/pts/3")};
    QTest::newRow("--port of a listed port, by path or by name, and twice")
        << QStringList{QStringLiteral("/dev/ttyUSB0"), QStringLiteral("ttyS0"), QStringLiteral("/dev/pts/3"), QStringLiteral("/dev/pts/3")}
        << QStringList{QStringLiteral("AUTO/USB"), QStringLiteral("ttyS0"), QStringLiteral("ttyUSB0"), QStringLiteral("/dev/pts/3")};
}

void TestSerialLine::portList()
{
    QFETCH(QStringList, extra);
    QFETCH(QStringList, texts);
    const PortList list({{QStringLiteral("ttyS0"), QStringLiteral("/dev/ttyS0")},
                         {QStringLiteral("ttyUSB0"), QStringLiteral("/dev/ttyUSB0")}},
                        extra);
    QCOMPARE(list.texts(), texts);
    QCOMPARE(list.count(), texts.size());
    for (int i = 1; i < texts.size(); ++i) {
        QCOMPARE(list.deviceAt(i), texts[i]);
        QCOMPARE(list.indexOf(texts[i]), i);
    }
    QCOMPARE(list.indexOf(QStringLiteral("/dev/ttyUSB0")), 2);
    QCOMPARE(list.deviceAt(PortList::kAuto), QString());
    QCOMPARE(list.deviceAt(int(texts.size())), QString());
    QCOMPARE(list.indexOf(QStringLiteral("ttyACM0")), -1);
    QCOMPARE(list.indexOf(QString()), -1);
}

void TestSerialLine::openAndClose()
{
    QSignalSpy opened(m_line.get(), &SerialLine::opened);
    QSignalSpy closed(m_line.get(), &SerialLine::closed);
    QSignalSpy connected(m_line.get(), &SerialLine::connectedChanged);
    QSignalSpy status(m_line.get(), &SerialLine::statusTextChanged);

    m_line->closeLine();
    QCOMPARE(lines(), QStringList{QStringLiteral("COM close Failed.\r\n")});
    QCOMPARE(closed.count(), 0);

    QVERIFY(m_line->openLine(QStringLiteral("ttyUSB0"), LineSettings::fromIndices(3, 0, 1)));
    QVERIFY(m_data.bus.connected);
    QCOMPARE(m_data.bus.comPort, quint8(2));
    QVERIFY(m_link->isOpen());
    QVERIFY(!m_line->canOpenPort());
    QVERIFY(m_line->canClosePort());
    QCOMPARE(lines().last(), QStringLiteral("ttyUSB0,9600,N,8,2 Open  success.\r\n"));
    QCOMPARE(m_line->statusText(), QStringLiteral("ttyUSB0,9600,N,8,2 Open,"));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(connected.takeFirst(), QVariantList{true});

    m_line->closeLine();
    QVERIFY(!m_data.bus.connected);
    QCOMPARE(m_events, (QStringList{QStringLiteral("ttyUSB0 open"), QStringLiteral("ttyUSB0 close")}));
    QVERIFY(m_line->canOpenPort());
    QCOMPARE(lines().last(), QStringLiteral("ttyUSB0 close success.\r\n"));
    QCOMPARE(m_line->statusText(), QStringLiteral("ttyUSB0 Close"));
    QCOMPARE(closed.count(), 1);
    QCOMPARE(connected.takeFirst(), QVariantList{false});
    QCOMPARE(status.count(), 2);
    QVERIFY(m_prompter.shown().isEmpty());
}

void TestSerialLine::openFailure()
{
    QSignalSpy opened(m_line.get(), &SerialLine::opened);
    QVERIFY(!m_line->openLine(QStringLiteral("ttyACM0"), LineSettings()));
    QCOMPARE(lines(), QStringList{QStringLiteral("ttyACM0 Open Failed.\r\n")});
    QCOMPARE(m_prompter.shown().size(), 1);
    QCOMPARE(m_prompter.shown()[0].icon, Prompter::Icon::Critical);
    QCOMPARE(m_prompter.shown()[0].text, QStringLiteral(" Open Failed.\r\n"));
    QVERIFY(!m_data.bus.connected);
    QVERIFY(!m_link->isOpen());
    QCOMPARE(m_line->statusText(), QString());
    QCOMPARE(opened.count(), 0);
}

void TestSerialLine::reopenClosesFirst()
{
    QVERIFY(m_line->openLine(QStringLiteral("ttyS0"), LineSettings()));
    m_link->send(requester::Generic, 1, Frame::readRegisters(1, protocol::reg::ModelVersion, 2), 1500,
                 QStringLiteral("M1 ... "));
    QCOMPARE(m_link->queuedCount(), 1);
    QSignalSpy opened(m_line.get(), &SerialLine::opened);
    QSignalSpy closed(m_line.get(), &SerialLine::closed);
    QSignalSpy connected(m_line.get(), &SerialLine::connectedChanged);

    QVERIFY(m_line->openLine(QStringLiteral("/dev/pts/7"), LineSettings::fromIndices(6, 2, 0)));
    // The old device is closed before the new one opens: a port is opened exclusively.
    QCOMPARE(m_events, (QStringList{QStringLiteral("ttyS0 open"), QStringLiteral("ttyS0 close"),
                                    QStringLiteral("/dev/pts/7 open")}));
    QCOMPARE(m_lastMade->settings, LineSettings::fromIndices(6, 2, 0));
    // The requests queued on the old line are gone; the reopening logs no closing of its own.
    QCOMPARE(m_link->queuedCount(), 0);
    QCOMPARE(lines(), (QStringList{QStringLiteral("ttyS0,9600,N,8,2 Open  success.\r\n"),
                                   QStringLiteral("/dev/pts/7,38400,E,8,1 Open  success.\r\n")}));
    QVERIFY(m_data.bus.connected);
    QCOMPARE(m_data.bus.comPort, quint8(3));
    QCOMPARE(opened.count(), 1);
    QCOMPARE(closed.count(), 0);
    QCOMPARE(connected.count(), 0);
}

void TestSerialLine::reopenFailureLeavesLineClosed()
{
    QVERIFY(m_line->openLine(QStringLiteral("ttyS0"), LineSettings()));
    QSignalSpy closed(m_line.get(), &SerialLine::closed);
    QVERIFY(!m_line->openLine(QStringLiteral("ttyACM0"), LineSettings()));
    QCOMPARE(m_events, (QStringList{QStringLiteral("ttyS0 open"), QStringLiteral("ttyS0 close"),
                                    QStringLiteral("ttyACM0 fails")}));
    QVERIFY(!m_data.bus.connected);
    QVERIFY(m_line->canOpenPort());
    QCOMPARE(lines().last(), QStringLiteral("ttyACM0 Open Failed.\r\n"));
    QCOMPARE(m_line->statusText(), QStringLiteral("ttyS0 Close"));
    QCOMPARE(closed.count(), 1);
}

void TestSerialLine::openPortFromStoredChoice_data()
{
    QTest::addColumn<QByteArray>("b0");
    QTest::addColumn<QString>("logLine");
    QTest::newRow("COM=2, no line keys: 9600 baud, no parity, 2 stop bits")
        << QByteArray("COM=2\r\n") << QStringLiteral("ttyUSB0,9600,N,8,2 Open  success.\r\n");
    QTest::newRow("STOPBIT missing: 2 stop bits")
        << QByteArray("COM=1\r\nBAUDRATE=0\r\nPARITY=1\r\n") << QStringLiteral("ttyS0,1200,O,8,2 Open  success.\r\n");
    QTest::newRow("BAUDRATE=6: 38400 baud, STOPBIT=0: 1 stop bit")
        << QByteArray("COM=1\r\nBAUDRATE=6\r\nPARITY=2\r\nSTOPBIT=0\r\n") << QStringLiteral("ttyS0,38400,E,8,1 Open  success.\r\n");
    QTest::newRow("indices outside their lists take the defaults")
        << QByteArray("COM=1\r\nBAUDRATE=7\r\nPARITY=-1\r\nSTOPBIT=5\r\n") << QStringLiteral("ttyS0,9600,N,8,2 Open  success.\r\n");
    QTest::newRow("a number that is no number takes the default")
        << QByteArray("COM=1\r\nBAUDRATE=fast\r\n") << QStringLiteral("ttyS0,9600,N,8,2 Open  success.\r\n");
    QTest::newRow("PORTNAME wins over COM")
        << QByteArray("COM=1\r\nPORTNAME=/dev/pts/7\r\n") << QStringLiteral("/dev/pts/7,9600,N,8,2 Open  success.\r\n");
    QTest::newRow("PORTNAME of a device that is gone")
        << QByteArray("COM=1\r\nPORTNAME=ttyACM0\r\n") << QStringLiteral("ttyACM0 Open Failed.\r\n");
    QTest::newRow("COM=0: AUTO/USB cannot be opened")
        << QByteArray("COM=0\r\n") << QStringLiteral("AUTO/USB Open Failed.\r\n");
    QTest::newRow("COM outside the list")
        << QByteArray("COM=9\r\n") << QStringLiteral("AUTO/USB Open Failed.\r\n");
}

void TestSerialLine::openPortFromStoredChoice()
{
    QFETCH(QByteArray, b0);
    QFETCH(QString, logLine);
    makeLine("[B0]\r\n" + b0);
    const bool success = logLine.endsWith(QLatin1String("success.\r\n"));
    QCOMPARE(m_line->openPort(), success);
    QCOMPARE(lines(), QStringList{logLine});
    QCOMPARE(m_data.bus.connected, success);
    QCOMPARE(m_prompter.texts(), success ? QStringList() : QStringList{QStringLiteral(" Open Failed.\r\n")});
}

void TestSerialLine::lostAdapterClosesLine()
{
    QVERIFY(m_line->openLine(QStringLiteral("ttyUSB0"), LineSettings()));
    QSignalSpy closed(m_line.get(), &SerialLine::closed);
    m_lastMade->pullOut();
    QCOMPARE(lines().last(), QStringLiteral("ttyUSB0 line error: No such device\r\n"));
    QVERIFY(!m_data.bus.connected);
    QVERIFY(!m_link->isOpen());
    QCOMPARE(m_line->statusText(), QStringLiteral("ttyUSB0 Close"));
    QCOMPARE(closed.count(), 1);
    // The line is closed now, so closing it again is refused as usual.
    m_line->closeLine();
    QCOMPARE(lines().last(), QStringLiteral("COM close Failed.\r\n"));
}

QTEST_GUILESS_MAIN(TestSerialLine)
#include "tst_serialline.moc"
