// Speed of the project file on the largest project the program can hold: 16 gateways, each
// with 16 groups and 64 gear carrying every key the windows write, 256 extended groups, the
// timing keys and 68 sequence tables. Measures reading it, rewriting it, and one write through
// on it, each as the median of several runs, against the plain work the same bytes need anyway.
//
// Build in Release without sanitizers; run `bench_projectfile [repetitions]`.

#include "ccfgdata.h"
#include "projectstore.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSaveFile>
#include <QTemporaryDir>
#include <QTextStream>
#include <algorithm>
#include <functional>
#include <vector>

using lumaro::CCfgData;
using lumaro::ProjectFile;
using lumaro::ProjectStore;

namespace {

QByteArray number(qint64 n) { return QByteArray::number(n); }

void add(QByteArray &out, const QByteArray &key, const QByteArray &value)
{
    out += key;
    out += '=';
    out += value;
    out += "\r\n";
}

void header(QByteArray &out, const QByteArray &name)
{
    out += '[';
    out += name;
    out += "]\r\n";
}

QByteArray maximalProject()
{
    QByteArray out;
    out.reserve(8 << 20);
    header(out, "B0");
    add(out, "COM", "3");
    add(out, "BAUDRATE", "3");
    add(out, "PARITY", "0");
    add(out, "STOPBIT", "1");

    const QByteArray colourSuffixes[] = {"_TYPE", "_TC", "_RGBWAF_MODE", "_RED", "_GREEN", "_BLUE", "_WHITE"};
    for (int g = 1; g <= 16; ++g) {
        const QByteArray m = "M" + number(g);
        header(out, m);
        add(out, "NAME", "Gateway " + number(g));
        add(out, "LOCATION", "Floor " + number(g) + ", east wing");
        add(out, "MODEL", "80");
        add(out, "VER", "16");
        add(out, "STATUS", "0");
        add(out, "GATEIP", number(3232235776LL + g));
        add(out, "GATEPORT", "502");
        add(out, "GROUPCORSS", "0");
        add(out, "BROADCASTCORSS", "0");
        add(out, "FIRECONTROL", "0");
        add(out, "RS485SETTING", "3");
        for (int n = 0; n <= 4; ++n) {
            const QByteArray t = "T" + number(n);
            add(out, t + "ACOnAddr", "255");
            add(out, t + "ACOnCommand", "255");
            add(out, t + "ACOffAddr", "255");
            add(out, t + "ACOffCommand", "255");
        }
        for (int n = 1; n <= 4; ++n)
            add(out, "S" + number(n) + "SEL", "NOSEL");

        for (int k = 0; k < 16; ++k) {
            header(out, m + "G" + number(k));
            add(out, "NAME", "Group" + number(k));
        }
        for (int a = 0; a < 64; ++a) {
            header(out, m + "A" + number(a));
            add(out, "NAME", "Lamp " + number(g) + "-" + number(a));
            add(out, "LOCATION", "Room " + number(a));
            add(out, "REMARK", "Installed 2024");
            add(out, "MODEL", "08");
            add(out, "COLOUR_TYPE", "34");
            add(out, "VER", "2");
            add(out, "PHYMIN", "1");
            for (int k = 0; k < 16; ++k)
                add(out, "GROUP" + number(k), (a + k) % 3 ? "FALSE" : "TRUE");
            add(out, "STATUS", "0");
            add(out, "VOLUE", number(a * 3));
            add(out, "MAXLEVE", "254");
            add(out, "MINLEVE", "85");
            add(out, "POWERONLEVE", "254");
            add(out, "SYSFAUITLEVE", "254");
            add(out, "FADETIME", "0");
            add(out, "FADERATE", "7");
            for (int k = 0; k < 16; ++k) {
                const QByteArray scene = "SCENE" + number(k);
                add(out, scene, "255");
                for (const QByteArray &suffix : colourSuffixes)
                    add(out, scene + suffix, "255");
            }
            for (const QByteArray &level : {QByteArray("POWERONLEVE"), QByteArray("SYSFAUITLEVE")})
                for (const QByteArray &suffix : colourSuffixes)
                    add(out, level + suffix, "255");
            add(out, "RED", "255");
            add(out, "GREEN", "255");
            add(out, "BLUE", "255");
            add(out, "WHITE", "255");
            add(out, "RGBWAF_MODE", "128");
            add(out, "COOLEST", "142");
            add(out, "WARMEST", "500");
            add(out, "DT8VER", "1");
            add(out, "DT8VER_GEAR", "1");
        }
    }
    for (int i = 0; i < 256; ++i) {
        header(out, "E" + number(i));
        add(out, "NAME", "Exp" + number(i));
        for (int j = 0; j < 16; ++j)
            add(out, "NAMES" + number(j), "Scene" + number(j));
    }
    header(out, "SEQ");
    add(out, "T0NAME", "Timer");
    for (int n = 1; n <= 4; ++n)
        add(out, "S" + number(n) + "SEL", "S" + number(n - 1));
    for (int i = 0; i < 68; ++i) {
        header(out, "S" + number(i));
        add(out, "NAME", "SeqTab" + number(i));
    }
    return out;
}

// Median wall time in milliseconds of `runs` calls of `work`, each after an untimed `setup`.
double medianMs(int runs, const std::function<void()> &work, const std::function<void()> &setup = {})
{
    std::vector<double> times;
    times.reserve(size_t(runs));
    for (int i = 0; i < runs; ++i) {
        if (setup)
            setup();
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(3, QByteArray(argv[1]).toInt()) : 31;
    QTextStream out(stdout);

    QTemporaryDir dir;
    if (!dir.isValid()) {
        out << "Cannot create a temporary folder\n";
        return 2;
    }
    const QByteArray bytes = maximalProject();
    const QString db = dir.filePath(QStringLiteral("db.ctt"));
    {
        QSaveFile f(db);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
            out << "Cannot write " << db << "\n";
            return 2;
        }
    }
    CCfgData parsed;
    parsed.loadBytes(bytes);
    qsizetype keyCount = 0;
    for (const QByteArray &s : parsed.sectionNames())
        keyCount += parsed.keys(s).size();
    out << "db.ctt: " << bytes.size() << " bytes, " << bytes.count('\n') << " lines, "
        << parsed.sectionCount() << " sections, " << keyCount << " keys; median of " << runs << " runs\n\n";

    qsizetype sink = 0;
    const double split = medianMs(runs, [&] { sink += bytes.split('\n').size(); });
    const double parse = medianMs(runs, [&] {
        CCfgData d;
        d.loadBytes(bytes);
        sink += d.sectionCount();
    });
    const double loadFile = medianMs(runs, [&] {
        CCfgData d;
        d.load(db);
        sink += d.sectionCount();
    });
    // Rewriting a copy just loaded: every section is written out.
    CCfgData fresh;
    const auto reload = [&] { fresh.loadBytes(bytes); };
    const double serialise = medianMs(runs, [&] { sink += fresh.toBytes().size(); }, reload);
    const QString rewritten = dir.filePath(QStringLiteral("rewrite.ctt"));
    const double rewrite = medianMs(runs, [&] { sink += fresh.save(rewritten); }, reload);
    // Rewriting after one change: the other sections keep their text.
    int change = 0;
    const auto changeOne = [&] { parsed.set("M8A30", "VOLUE", QByteArray::number(++change)); };
    const double reserialise = medianMs(runs, [&] { sink += parsed.toBytes().size(); }, changeOne);

    // The two writes alternate so that both see the same state of the disk and its cache.
    const QString plainPath = dir.filePath(QStringLiteral("plain.ctt"));
    ProjectStore store(dir.path());
    store.load();
    std::vector<double> plainTimes, throughTimes;
    for (int i = 0; i < runs; ++i) {
        plainTimes.push_back(medianMs(1, [&] {
            QSaveFile f(plainPath);
            f.open(QIODevice::WriteOnly);
            f.write(bytes);
            sink += f.commit();
        }));
        throughTimes.push_back(medianMs(1, [&] {
            sink += store.writeThrough(ProjectFile::Db, QStringLiteral("M8A30"), QStringLiteral("VOLUE"),
                                       QString::number(i));
        }));
    }
    std::sort(plainTimes.begin(), plainTimes.end());
    std::sort(throughTimes.begin(), throughTimes.end());
    const double plainWrite = plainTimes[plainTimes.size() / 2];
    const double writeThrough = throughTimes[throughTimes.size() / 2];

    const double readRatio = parse / split;
    const double writeRatio = writeThrough / plainWrite;
    auto verdict = [](bool pass) { return pass ? QStringLiteral("PASS") : QStringLiteral("FAIL"); };
    out.setRealNumberNotation(QTextStream::FixedNotation);
    out.setRealNumberPrecision(2);
    out << "read (parse the bytes)           " << parse << " ms\n"
        << "  plain split into lines         " << split << " ms\n"
        << "  ratio                          " << readRatio << "x  (target <= 5x)  " << verdict(readRatio <= 5.0) << "\n"
        << "read (file into a copy)          " << loadFile << " ms\n"
        << "rewrite: serialise a fresh copy  " << serialise << " ms\n"
        << "rewrite: the same and save       " << rewrite << " ms\n"
        << "rewrite: serialise, 1 change     " << reserialise << " ms\n"
        << "write through (one key)          " << writeThrough << " ms\n"
        << "  the same bytes once, QSaveFile " << plainWrite << " ms\n"
        << "  ratio                          " << writeRatio << "x  (target <= 1.5x)  " << verdict(writeRatio <= 1.5) << "\n";
    out.flush();
    return (sink >= 0 && readRatio <= 5.0 && writeRatio <= 1.5) ? 0 : 1;
}
