#pragma once
// A project with its device type table, the simulated line behind it and everything the gateway
// windows need, with the main window's timers driven by hand: the link tick every 10 ms and the
// windows' 100 ms tick.

#include "clock.h"
#include "devicecontext.h"
#include "frame.h"
#include "gatewaylink.h"
#include "inprocesstransport.h"
#include "installation.h"
#include "projectdata.h"
#include "projectstore.h"
#include "recordinglog.h"
#include "scriptedprompter.h"
#include "simline.h"
#include "softwaresettings.h"
#include "statuspoll.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <memory>

struct GatewayFixture
{
    // db.ctt of the project (LF line ends are written as CR LF) and the line's installation.
    GatewayFixture(const char *dbText, const char *installationText, int comTimeout = 500,
                   const char *deviceTypeText = "[DEV-80]\nMODEL=DG-80 RS485\n[DEV-79]\nMODEL=DG-79\n")
    {
        settings.comTimeout = comTimeout;
        write(QStringLiteral("db.ctt"), dbText);
        write(QStringLiteral("DeviceType.ini"), deviceTypeText);
        store = std::make_unique<lumaro::ProjectStore>(dir.path());
        store->load();
        data.rebuild(*store);
        line = std::make_unique<lumaro::sim::SimLine>(lumaro::sim::Installation::fromText(installationText));
        transport = std::make_unique<lumaro::InProcessTransport>(*line, 3);
        link = std::make_unique<lumaro::GatewayLink>(log, prompter);
        link->setTransport(transport.get());
        link->open();
        poll = std::make_unique<lumaro::StatusPoll>(*link, data, log, settings);
        context = std::make_unique<lumaro::DeviceContext>(
            lumaro::DeviceContext{*link, *store, data, log, prompter, settings, *poll, clock});
    }

    void write(const QString &name, const char *text)
    {
        QFile file(QDir(dir.path()).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(text).replace("\r\n", "\n").replace("\n", "\r\n"));
    }

    // Lets `ms` pass: the link ticks every 10 ms, `every100` (a window's tick) every 100 ms.
    void run(int ms)
    {
        for (const int end = now + ms; now < end;) {
            now += lumaro::GatewayLink::kTickMs;
            const qsizetype before = transport->written().size();
            link->tick();
            if (transport->written().size() > before)
                writtenAt.append(now);
            if (every100 && now % 100 == 0)
                every100();
        }
    }
    bool runUntil(const std::function<bool()> &done, int limitMs = 200000)
    {
        for (const int end = now + limitMs; now < end; run(lumaro::GatewayLink::kTickMs))
            if (done())
                return true;
        return done();
    }

    QList<QByteArray> written() const { return transport->written(); }
    QString db(const QString &section, const QString &key) const
    {
        return store->read(lumaro::ProjectFile::Db, section, key, QStringLiteral("<none>"));
    }
    QByteArray dbFile() const
    {
        QFile file(store->filePath(lumaro::ProjectFile::Db));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // A file of the source tree, such as the demo project.
    static QByteArray sourceFile(const char *relativePath)
    {
        QFile file(QDir(qEnvironmentVariable("LUMARO_SOURCE_DIR")).filePath(QString::fromLatin1(relativePath)));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static QByteArray frame(const char *hex) { return lumaro::Frame::withChecksum(QByteArray::fromHex(hex)).bytes(); }
    static lumaro::Frame answer(const char *hex) { return lumaro::Frame::parse(frame(hex)); }

    QTemporaryDir dir;
    lumaro::SoftwareSettings settings;
    lumaro::ProjectData data;
    RecordingLog log;
    ScriptedPrompter prompter;
    lumaro::FixedClock clock{QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9))};
    std::unique_ptr<lumaro::ProjectStore> store;
    std::unique_ptr<lumaro::sim::SimLine> line;
    std::unique_ptr<lumaro::InProcessTransport> transport;
    std::unique_ptr<lumaro::GatewayLink> link;
    std::unique_ptr<lumaro::StatusPoll> poll;
    std::unique_ptr<lumaro::DeviceContext> context;
    std::function<void()> every100;
    QList<int> writtenAt;
    int now = 0;
};
