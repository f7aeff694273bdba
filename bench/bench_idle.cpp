// Lumaro at rest: the demo project on an open gateway-sim line, the status poll running, nobody
// at the window. Measures the CPU time the program takes against the wall time over a quiet
// stretch after the start-up, and its peak memory. The target: CPU at most 1 % of the wall time.
//
// Starts gateway-sim (demo installation) on a pseudo-terminal and Lumaro headless in a copy of
// the demo project whose B0 PORTNAME names that terminal, so that the port dialog's countdown
// opens the line by itself. The measurement starts with the poll's first request on the line.
// Linux only: the figures come from /proc/<pid>/stat and /proc/<pid>/status.
//
// Build in Release without sanitizers; run `bench_idle [seconds]` (default 60).

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <functional>
#include <optional>
#include <unistd.h>

namespace {

constexpr int kStartLimitMs = 60000;
constexpr double kCpuShareLimit = 0.01;
constexpr int kSliceSeconds = 10;

QTextStream &out()
{
    static QTextStream s(stdout);
    return s;
}

int fail(const QString &message)
{
    out() << "bench_idle: " << message << Qt::endl;
    return 2;
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// utime + stime of a process in milliseconds.
std::optional<qint64> cpuMs(qint64 pid)
{
    const QByteArray stat = readAll(QStringLiteral("/proc/%1/stat").arg(pid));
    // The command name in parentheses may hold blanks; the fields count from after it.
    const qsizetype end = stat.lastIndexOf(')');
    if (end < 0)
        return std::nullopt;
    const QList<QByteArray> fields = stat.mid(end + 2).split(' ');
    // Fields 14 and 15 of the line; the first after the name is field 3.
    if (fields.size() < 13)
        return std::nullopt;
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    const qint64 ticks = fields[11].toLongLong() + fields[12].toLongLong();
    return ticks * 1000 / ticksPerSecond;
}

// A "Vm..." line of /proc/<pid>/status in kB.
std::optional<qint64> statusKb(qint64 pid, const QByteArray &key)
{
    for (const QByteArray &line : readAll(QStringLiteral("/proc/%1/status").arg(pid)).split('\n'))
        if (line.startsWith(key + ':'))
            return line.mid(key.size() + 1).trimmed().split(' ').first().toLongLong();
    return std::nullopt;
}

// Runs the event loop until `done` holds or the limit has passed.
bool waitFor(const std::function<bool()> &done, int limitMs)
{
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > limitMs)
            return false;
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    }
    return true;
}

void stop(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(20000))
        process.kill();
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? QByteArray(argv[1]).toInt() : 60;
    if (seconds <= 0)
        return fail(QStringLiteral("usage: bench_idle [seconds]"));

    QTemporaryDir project;
    if (!project.isValid())
        return fail(QStringLiteral("no temporary folder"));
    const QDir dir(project.path());
    const QDir source(QStringLiteral(LUMARO_SOURCE_DIR_PATH));

    // The simulator traces every request, so the measurement can start with the poll's first.
    QProcess sim;
    QByteArray trace;
    QObject::connect(&sim, &QProcess::readyReadStandardError, [&] { trace += sim.readAllStandardError(); });
    sim.start(QStringLiteral(GATEWAY_SIM_PATH), {QStringLiteral("--verbose")});
    if (!sim.waitForStarted(kStartLimitMs) || !waitFor([&] { return sim.canReadLine(); }, kStartLimitMs))
        return fail(QStringLiteral("gateway-sim did not start"));
    const QByteArray device = sim.readLine().trimmed();

    // The demo project with the simulated line preselected in the port dialog.
    QByteArray db;
    for (const QByteArray &line : readAll(source.filePath(QStringLiteral("data/demo/db.ctt"))).split('\n')) {
        if (line.isEmpty())
            continue;
        db += line + '\n';
        if (line.trimmed() == "[B0]")
            db += "PORTNAME=" + device + "\r\n";
    }
    QFile dbFile(dir.filePath(QStringLiteral("db.ctt")));
    if (!dbFile.open(QIODevice::WriteOnly) || dbFile.write(db) != db.size())
        return fail(QStringLiteral("cannot write the project"));
    dbFile.close();
    if (!QFile::copy(source.filePath(QStringLiteral("data/DeviceType.ini")), dir.filePath(QStringLiteral("DeviceType.ini"))))
        return fail(QStringLiteral("cannot copy DeviceType.ini"));

    QProcess lumaro;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    lumaro.setProcessEnvironment(env);
    lumaro.setStandardOutputFile(QProcess::nullDevice());
    lumaro.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer sinceStart;
    sinceStart.start();
    lumaro.start(QStringLiteral(LUMARO_PATH), {QStringLiteral("--port"), QString::fromLocal8Bit(device), dir.path()});
    if (!lumaro.waitForStarted(kStartLimitMs))
        return fail(QStringLiteral("Lumaro did not start: ") + lumaro.errorString());
    const qint64 pid = lumaro.processId();

    // Start-up: the countdown of the port dialog, the line opens, the poll sends its first request.
    if (!waitFor([&] { return trace.contains("<- "); }, kStartLimitMs)) {
        stop(lumaro);
        stop(sim);
        return fail(QStringLiteral("Lumaro did not poll the line"));
    }
    const qint64 startUpMs = sinceStart.elapsed();
    const qint64 requestsBefore = trace.count("<- ");

    const std::optional<qint64> cpuBefore = cpuMs(pid);
    QElapsedTimer wall;
    wall.start();
    // Ten-second slices show the poll's cycle apart from the quiet after it.
    QStringList slices;
    for (int done = 0; done < seconds && lumaro.state() == QProcess::Running;) {
        const int slice = qMin(kSliceSeconds, seconds - done);
        const std::optional<qint64> sliceStart = cpuMs(pid);
        const qint64 requestsAtStart = trace.count("<- ");
        waitFor([&] { return lumaro.state() == QProcess::NotRunning; }, slice * 1000);
        const std::optional<qint64> sliceEnd = cpuMs(pid);
        if (sliceStart && sliceEnd)
            slices.append(QStringLiteral("  %1..%2 s: %3 ms CPU, %4 requests")
                              .arg(done).arg(done + slice).arg(*sliceEnd - *sliceStart)
                              .arg(trace.count("<- ") - requestsAtStart));
        done += slice;
    }
    const std::optional<qint64> cpuAfter = cpuMs(pid);
    const qint64 wallMs = wall.elapsed();
    const std::optional<qint64> peakKb = statusKb(pid, "VmHWM");
    const std::optional<qint64> residentKb = statusKb(pid, "VmRSS");
    const qint64 requests = trace.count("<- ") - requestsBefore;
    const bool running = lumaro.state() == QProcess::Running;

    stop(lumaro);
    stop(sim);
    if (!running || !cpuBefore || !cpuAfter || !peakKb)
        return fail(QStringLiteral("Lumaro ended during the measurement"));

    const qint64 usedMs = *cpuAfter - *cpuBefore;
    const double share = double(usedMs) / double(wallMs);
    const bool pass = share <= kCpuShareLimit;
    out() << "start-up until the first poll request: " << startUpMs << " ms\n"
          << "idle stretch (wall):                   " << wallMs << " ms\n"
          << "Lumaro CPU time (utime+stime):         " << usedMs << " ms\n"
          << "CPU share:                             " << QString::number(share * 100.0, 'f', 3) << " %\n"
          << "requests the poll sent meanwhile:      " << requests << "\n"
          << slices.join(u'\n') << "\n"
          << "peak memory (VmHWM):                   " << *peakKb << " kB\n"
          << "resident at the end (VmRSS):           " << residentKb.value_or(-1) << " kB\n"
          << (pass ? "PASS" : "FAIL") << ": CPU at most " << QString::number(kCpuShareLimit * 100.0, 'f', 0)
          << " % of the wall time" << Qt::endl;
    return pass ? 0 : 1;
}
