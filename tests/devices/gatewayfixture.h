#pragma once
// A project with its device type table, the simulated line behind it and everything the gateway
// windows need, with the main window's timers driven by hand: the link tick every 10 ms and the
// windows' 100 ms tick.

#include "devicefixture.h"

#include <QDir>
#include <QFile>
#include <functional>

struct GatewayFixture : DeviceFixture
{
    // db.ctt of the project (LF line ends are written as CR LF) and the line's installation.
    GatewayFixture(const char *dbText, const char *installationText, int comTimeout = 500,
                   const char *deviceTypeText = "[DEV-80]\nMODEL=DG-80 RS485\n[DEV-79]\nMODEL=DG-79\n")
        : DeviceFixture(dbText, installationText, quickSettings(comTimeout), deviceTypeText)
    {
        data.rebuild(*store);
        // The moment the calibration examples are written for.
        clock.set(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
    }

    // Lets `ms` pass: the link ticks every 10 ms, `every100` (a window's tick) every 100 ms.
    void run(int ms) { DeviceFixture::run(ms, every100); }
    bool runUntil(const std::function<bool()> &done, int limitMs = 200000)
    {
        for (const int end = now + limitMs; now < end; run(lumaro::GatewayLink::kTickMs))
            if (done())
                return true;
        return done();
    }

    QString db(const QString &section, const QString &key) const { return dbText(section, key); }
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
    static lumaro::Frame answer(const char *hex) { return lumaro::Frame::parse(frame(hex)); }

    std::function<void()> every100;
};
