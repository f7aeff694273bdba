// The gateway dialog's logic: the address lists of add mode, the search on the simulated line
// and what it stores, the refusals, and edit mode.
#include "addgateway.h"
#include "caddgateway.h"
#include "gatewayfixture.h"
#include "requesterid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTest>

using namespace lumaro;

class TestAddGateway : public QObject
{
    Q_OBJECT
private slots:
    void addModeLists_data();
    void addModeLists();
    void selectingPresetsName();
    void search_data();
    void search();
    void unusableAnswer_data();
    void unusableAnswer();
    void emptyName();
    void closedPort();
    void editChangesNameAndLocationOnly();
    void answerAfterCloseIsDropped();
    void dialogAddsThroughItsControls();
};

void TestAddGateway::addModeLists_data()
{
    QTest::addColumn<QByteArray>("db");
    QTest::addColumn<QStringList>("ids");
    QTest::addColumn<QStringList>("connect");
    QTest::addColumn<QString>("name");

    QStringList all;
    QByteArray allDb;
    for (int g = 1; g <= 16; ++g) {
        all << QStringLiteral("M%1").arg(g);
        allDb += "[M" + QByteArray::number(g) + "]\nNAME=x\n";
    }
    QStringList free = all;
    free.removeAll(QStringLiteral("M1"));
    free.removeAll(QStringLiteral("M3"));
    QTest::newRow("M1 and M3 present") << QByteArray("[M1]\nNAME=a\n[M3]\nNAME=b\n") << free
                                       << QStringList{QStringLiteral("M1"), QStringLiteral("M3")}
                                       << QStringLiteral("GatewayUnit2");
    QTest::newRow("all sixteen present") << allDb << QStringList() << all << QString();
}

void TestAddGateway::addModeLists()
{
    QFETCH(QByteArray, db);
    QFETCH(QStringList, ids);
    QFETCH(QStringList, connect);
    QFETCH(QString, name);
    GatewayFixture f(db.constData(), "");
    AddGateway dialog(*f.context);
    QCOMPARE(dialog.mode(), AddGateway::Mode::Add);
    QCOMPARE(dialog.title(), QStringLiteral("Add Gateway"));
    QCOMPARE(dialog.buttonText(), QStringLiteral("Add"));
    QCOMPARE(dialog.idList(), ids);
    QCOMPARE(dialog.connectList(), connect);
    QCOMPARE(dialog.isButtonEnabled(), !ids.isEmpty());
    QCOMPARE(dialog.name(), name);
    QCOMPARE(dialog.port(), 502);
    QVERIFY(dialog.isExtension());
    // The background poll rests while the dialog is open.
    QVERIFY(!f.poll->isEnabled());
}

void TestAddGateway::selectingPresetsName()
{
    GatewayFixture f("[M1]\nNAME=a\n", "");
    AddGateway dialog(*f.context);
    QCOMPARE(dialog.selectedId(), QStringLiteral("M2"));
    dialog.setName(QStringLiteral("Mine"));
    dialog.selectId(QStringLiteral("M12"));
    QCOMPARE(dialog.name(), QStringLiteral("GatewayUnit12"));
    // A gateway already in the project cannot be chosen.
    dialog.selectId(QStringLiteral("M1"));
    QCOMPARE(dialog.selectedId(), QStringLiteral("M12"));
}

void TestAddGateway::search_data()
{
    QTest::addColumn<QByteArray>("installation");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("version");
    QTest::addColumn<QString>("logEnd");
    QTest::addColumn<QString>("message");

    QTest::newRow("model 80") << QByteArray("[M2]\nMODEL=80\nVER=16\n") << true << "80" << "16" << "Success.\r\n" << QString();
    QTest::newRow("model 79, version 7") << QByteArray("[M2]\nMODEL=79\nVER=7\n") << true << "79" << "7" << "Success.\r\n" << QString();
    QTest::newRow("model 83") << QByteArray("[M2]\nMODEL=83\nVER=17\n") << true << "83" << "17" << "Success.\r\n" << QString();
    QTest::newRow("model 81 refused") << QByteArray("[M2]\nMODEL=81\nVER=16\n") << false << "" << ""
                                      << "Failure.\r\n" << "Device type error,add failure.";
    QTest::newRow("model 86 refused") << QByteArray("[M2]\nMODEL=86\nVER=16\n") << false << "" << ""
                                      << "Failure.\r\n" << "Device type error,add failure.";
    QTest::newRow("nothing at M2") << QByteArray("[M5]\n") << false << "" << ""
                                   << "Time-out.\r\n" << "Search Timeout, add failure.";
}

void TestAddGateway::search()
{
    QFETCH(QByteArray, installation);
    QFETCH(bool, stored);
    QFETCH(QString, model);
    QFETCH(QString, version);
    QFETCH(QString, logEnd);
    QFETCH(QString, message);

    GatewayFixture f("[M1]\nNAME=First\n", installation.constData());
    auto dialog = std::make_unique<AddGateway>(*f.context);
    f.every100 = [&] { dialog->tick(); };
    QSignalSpy added(dialog.get(), &AddGateway::gatewayAdded);
    QSignalSpy finished(dialog.get(), &AddGateway::finished);
    dialog->setLocation(QStringLiteral("Roof"));
    dialog->press();
    QVERIFY(!dialog->isButtonEnabled());
    QCOMPARE(dialog->state(), AddGateway::State::Searching);

    QVERIFY(f.runUntil([&] { return dialog->state() != AddGateway::State::Searching; }));
    QCOMPARE(f.written(), QList<QByteArray>{GatewayFixture::frame("024350F80002")});
    QCOMPARE(f.log.lines(), QStringList{QStringLiteral("Searching for device M2 ...  ") + logEnd});
    QCOMPARE(added.size(), stored ? 1 : 0);
    QCOMPARE(finished.size(), stored ? 1 : 0);
    if (stored) {
        QCOMPARE(added.first().first().toInt(), 2);
        QCOMPARE(dialog->state(), AddGateway::State::Closed);
        // The keys in the order they are written.
        const QByteArray file = f.dbFile();
        const QByteArray expected = "[M2]\r\nNAME=GatewayUnit2\r\nLOCATION=Roof\r\nGATEIP=0\r\nGATEPORT=0\r\nMODEL="
                                    + model.toLatin1() + "\r\nVER=" + version.toLatin1() + "\r\n";
        QVERIFY2(file.contains(expected), file.constData());
        QVERIFY(f.poll->isEnabled());
        QVERIFY(f.prompter.texts().isEmpty());
        return;
    }
    QVERIFY(!f.store->readSection(ProjectFile::Db, QStringLiteral("M2")));
    QVERIFY(dialog->isButtonEnabled());
    QVERIFY(!f.poll->isEnabled());
    // The device type message comes 200 ms after the answer, the others at once.
    if (message.startsWith(QLatin1String("Device type"))) {
        QVERIFY(f.prompter.texts().isEmpty());
        f.run(200);
    }
    QCOMPARE(f.prompter.texts(), QStringList{message});
    dialog.reset();
    QVERIFY(f.poll->isEnabled());
}

void TestAddGateway::unusableAnswer_data()
{
    QTest::addColumn<QByteArray>("answer");
    QTest::newRow("from M3 though M2 was searched") << QByteArray("03430400800010");
    QTest::newRow("exception answer of M2") << QByteArray("02C302");
}

void TestAddGateway::unusableAnswer()
{
    QFETCH(QByteArray, answer);
    GatewayFixture f("[M1]\n", "[M2]\n");
    AddGateway dialog(*f.context);
    dialog.press();
    // The link hands over any answer with a good checksum; the dialog checks address and function.
    dialog.onAnswer(AddGateway::kSearchTag, GatewayFixture::answer(answer.constData()));
    QCOMPARE(f.log.lines(), QStringList{QStringLiteral("Failure.\r\n")});
    QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Add failure.")});
    QVERIFY(dialog.isButtonEnabled());
    QVERIFY(!f.store->readSection(ProjectFile::Db, QStringLiteral("M2")));
}

void TestAddGateway::emptyName()
{
    GatewayFixture f("", "[M1]\n");
    AddGateway dialog(*f.context);
    dialog.setName(QString());
    dialog.press();
    f.run(1000);
    QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Please input the Name.")});
    QVERIFY(f.written().isEmpty());
    QCOMPARE(dialog.state(), AddGateway::State::Idle);
}

void TestAddGateway::closedPort()
{
    GatewayFixture f("", "[M1]\n");
    f.link->close();
    AddGateway dialog(*f.context);
    dialog.press();
    QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Failure,Please open the serial port first.")});
    QVERIFY(dialog.isButtonEnabled());
    QCOMPARE(dialog.state(), AddGateway::State::Idle);
}

void TestAddGateway::editChangesNameAndLocationOnly()
{
    GatewayFixture f("[M3]\nNAME=Hall\nLOCATION=Ground\nGATEIP=0\nGATEPORT=1\nMODEL=80\nVER=16\n", "[M3]\n");
    AddGateway dialog(*f.context);
    dialog.openForEdit(3);
    QCOMPARE(dialog.title(), QStringLiteral("Edit Gateway"));
    QCOMPARE(dialog.buttonText(), QStringLiteral("Edit"));
    QCOMPARE(dialog.idList(), QStringList{QStringLiteral("M3")});
    QCOMPARE(dialog.connectList(), QStringList{QStringLiteral("M1")});
    QCOMPARE(dialog.name(), QStringLiteral("Hall"));
    QCOMPARE(dialog.location(), QStringLiteral("Ground"));
    QSignalSpy edited(&dialog, &AddGateway::gatewayEdited);

    dialog.setName(QString());
    dialog.press();
    QCOMPARE(f.prompter.texts(), QStringList{QStringLiteral("Please input the Name.")});
    dialog.setName(QStringLiteral("Lobby"));
    dialog.setLocation(QStringLiteral("First floor"));
    dialog.press();
    f.run(1000);
    QVERIFY(f.written().isEmpty());
    QCOMPARE(edited.size(), 1);
    QCOMPARE(edited.first(), (QList<QVariant>{3, QStringLiteral("Lobby")}));
    QCOMPARE(dialog.state(), AddGateway::State::Closed);
    const QByteArray expected = "[M3]\r\nNAME=Lobby\r\nLOCATION=First floor\r\nGATEIP=0\r\nGATEPORT=1\r\nMODEL=80\r\nVER=16\r\n";
    QVERIFY2(f.dbFile().contains(expected), f.dbFile().constData());
}

void TestAddGateway::answerAfterCloseIsDropped()
{
    GatewayFixture f("", "[M1]\n");
    {
        AddGateway dialog(*f.context);
        dialog.press();
    }
    QVERIFY(f.poll->isEnabled());
    f.run(2000);
    QVERIFY(!f.store->readSection(ProjectFile::Db, QStringLiteral("M1")));
    QCOMPARE(f.written().size(), 1);
}

void TestAddGateway::dialogAddsThroughItsControls()
{
    GatewayFixture f("[M1]\nNAME=Hall\n", "[M1]\n[M4]\nMODEL=83\nVER=17\n");
    CAddGateway dialog(*f.context);
    const auto *extension = dialog.findChild<QCheckBox *>(QStringLiteral("extension"));
    auto *id = dialog.findChild<QComboBox *>(QStringLiteral("gatewayId"));
    const auto *name = dialog.findChild<QLineEdit *>(QStringLiteral("name"));
    const auto *connectTo = dialog.findChild<QComboBox *>(QStringLiteral("connectTo"));
    const auto *ip = dialog.findChild<QLineEdit *>(QStringLiteral("ip"));
    const auto *port = dialog.findChild<QSpinBox *>(QStringLiteral("port"));
    auto *button = dialog.findChild<QPushButton *>(QStringLiteral("addButton"));
    QVERIFY(extension && id && name && connectTo && ip && port && button);
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Add Gateway"));
    QVERIFY(extension->isChecked());
    QVERIFY(!extension->isEnabled() && !connectTo->isEnabled() && !ip->isEnabled() && !port->isEnabled());
    QCOMPARE(connectTo->count(), 1);
    QCOMPARE(connectTo->currentIndex(), -1);
    QCOMPARE(ip->text(), QStringLiteral("0.0.0.0"));
    QCOMPARE(port->value(), 502);
    QCOMPARE(id->count(), 15);
    QCOMPARE(name->text(), QStringLiteral("GatewayUnit2"));
    id->setCurrentText(QStringLiteral("M4"));
    QCOMPARE(name->text(), QStringLiteral("GatewayUnit4"));

    dialog.show();
    if (const QString out = qEnvironmentVariable("LUMARO_SCREENSHOT_DIR"); !out.isEmpty())
        QVERIFY(dialog.grab().save(QDir(out).filePath(QStringLiteral("add-gateway.png"))));
    QSignalSpy added(&dialog, &CAddGateway::gatewayAdded);
    QTest::mouseClick(button, Qt::LeftButton);
    QVERIFY(!button->isEnabled());
    QVERIFY(f.runUntil([&] { return !added.isEmpty(); }, 5000));
    QCOMPARE(f.db(QStringLiteral("M4"), QStringLiteral("MODEL")), QStringLiteral("83"));
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

QTEST_MAIN(TestAddGateway)
#include "tst_addgateway.moc"
