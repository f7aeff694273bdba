#pragma once
// A project, the simulated line behind it and everything a device window needs, with the main
// window's timers driven by hand: the link tick every 10 ms.

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

struct DeviceFixture
{
    // db.ctt of the project (LF line ends are written as CR LF), the line's installation and,
    // when given, the project's device type table.
    DeviceFixture(const char *dbText, const char *installationText,
                  lumaro::SoftwareSettings s = quickSettings(500), const char *deviceTypeText = nullptr)
        : settings(s)
    {
        write(QStringLiteral("db.ctt"), dbText);
        if (deviceTypeText)
            write(QStringLiteral("DeviceType.ini"), deviceTypeText);
        store = std::make_unique<lumaro::ProjectStore>(dir.path());
        store->load();
        line = std::make_unique<lumaro::sim::SimLine>(lumaro::sim::Installation::fromText(installationText));
        transport = std::make_unique<lumaro::InProcessTransport>(*line, 3);
        link = std::make_unique<lumaro::GatewayLink>(log, prompter);
        link->setTransport(transport.get());
        link->open();
        poll = std::make_unique<lumaro::StatusPoll>(*link, data, log, settings);
        context = std::make_unique<lumaro::DeviceContext>(lumaro::DeviceContext{
            *link, *store, data, log, prompter, settings, *poll, clock});
    }

    static lumaro::SoftwareSettings quickSettings(int comTimeout = 500)
    {
        lumaro::SoftwareSettings s;
        s.comTimeout = comTimeout;
        return s;
    }

    void write(const QString &name, const char *text)
    {
        QFile file(QDir(dir.path()).filePath(name));
        if (file.open(QIODevice::WriteOnly))
            file.write(QByteArray(text).replace("\r\n", "\n").replace("\n", "\r\n"));
    }

    // Runs the link for `ms`; `every100` is called on each 100 ms boundary.
    void run(int ms, const std::function<void()> &every100 = {})
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
    // Until the link has nothing left to do (answers taken, waits over).
    void settle(int limitMs = 10000)
    {
        for (int i = 0; i < limitMs / 10 && (!link->isIdle() || link->queuedCount() > 0); ++i)
            run(lumaro::GatewayLink::kTickMs);
        run(200);
    }
    QList<QByteArray> written() const { return transport->written(); }
    QString dbText(const QString &section, const QString &key) const
    {
        return store->read(lumaro::ProjectFile::Db, section, key, QStringLiteral("<none>"));
    }
    bool hasSection(const QString &section) const
    {
        return store->readSection(lumaro::ProjectFile::Db, section);
    }

    static QByteArray frame(const char *hex)
    {
        return lumaro::Frame::withChecksum(QByteArray::fromHex(hex)).bytes();
    }

    QTemporaryDir dir;
    lumaro::SoftwareSettings settings;
    lumaro::ProjectData data;
    RecordingLog log;
    ScriptedPrompter prompter;
    lumaro::FixedClock clock{QDateTime(QDate(2026, 1, 5), QTime(8, 0))};
    std::unique_ptr<lumaro::ProjectStore> store;
    std::unique_ptr<lumaro::sim::SimLine> line;
    std::unique_ptr<lumaro::InProcessTransport> transport;
    std::unique_ptr<lumaro::GatewayLink> link;
    std::unique_ptr<lumaro::StatusPoll> poll;
    std::unique_ptr<lumaro::DeviceContext> context;
    QList<int> writtenAt;
    int now = 0;
};
