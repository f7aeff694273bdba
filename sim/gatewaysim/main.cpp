// gateway-sim: a simulated RS485 line of DALI gateways on a pseudo-terminal, so that Lumaro can
// be tried, tested or prepared without hardware.

#include "devicelink.h"
#include "faults.h"
#include "gatewayserver.h"
#include "installation.h"
#include "linetiming.h"
#include "pseudoterminal.h"
#include "simline.h"
#include "terminationsignals.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

using namespace lumaro::sim;

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "gateway-sim: %s\n", qPrintable(message));
    return 1;
}

bool fraction(const QString &text, double *value)
{
    bool ok = false;
    *value = text.toDouble(&ok);
    return ok && *value >= 0.0 && *value <= 1.0;
}

// The command line: name, description, value name (none for a switch) and default value.
struct OptionRow {
    const char *name;
    const char *description;
    const char *valueName;
    const char *defaultValue;
};

const OptionRow kOptions[] = {
    {"installation", QT_TRANSLATE_NOOP("GatewaySim", "Installation file to serve (default: the demo installation)."),
     QT_TRANSLATE_NOOP("GatewaySim", "FILE"), nullptr},
    {"link", QT_TRANSLATE_NOOP("GatewaySim", "Make a symbolic link PATH to the device (removed at exit)."),
     QT_TRANSLATE_NOOP("GatewaySim", "PATH"), nullptr},
    {"baud", QT_TRANSLATE_NOOP("GatewaySim", "Baud rate of the line (default 9600)."), "N", "9600"},
    {"parity", QT_TRANSLATE_NOOP("GatewaySim", "Parity: N, O or E (default N)."), "N|O|E", "N"},
    {"stop-bits", QT_TRANSLATE_NOOP("GatewaySim", "Stop bits: 1 or 2 (default 2)."), "1|2", "2"},
    {"silent", QT_TRANSLATE_NOOP("GatewaySim", "Gateway address that does not answer (repeatable)."), "ADDR",
     nullptr},
    {"lose", QT_TRANSLATE_NOOP("GatewaySim", "Fraction 0..1 of answers lost."), "FRACTION", "0"},
    {"damage", QT_TRANSLATE_NOOP("GatewaySim", "Fraction 0..1 of answers with one damaged byte."), "FRACTION", "0"},
    {"delay", QT_TRANSLATE_NOOP("GatewaySim", "Extra delay of every answer in ms."), "MS", "0"},
    {"seed", QT_TRANSLATE_NOOP("GatewaySim", "Seed of the fault generator."), "N", "1"},
    {"verbose", QT_TRANSLATE_NOOP("GatewaySim", "Print every request and answer on standard error."), nullptr,
     nullptr},
};

QString text(const char *source)
{
    return QCoreApplication::translate("GatewaySim", source);
}

}  // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("gateway-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(LUMARO_VERSION));

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QCoreApplication::translate("GatewaySim", "Simulates a line of DALI gateways and their gear on a "
                                                  "pseudo-terminal. The first line of the output is the device path."));
    parser.addHelpOption();
    parser.addVersionOption();
    for (const OptionRow &row : kOptions) {
        QCommandLineOption option(QString::fromLatin1(row.name), text(row.description));
        if (row.valueName)
            option.setValueName(text(row.valueName));
        if (row.defaultValue)
            option.setDefaultValue(QString::fromLatin1(row.defaultValue));
        parser.addOption(option);
    }
    parser.process(app);
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)); };

    LineTiming settings;
    bool ok = false;
    settings.baud = value("baud").toInt(&ok);
    if (!ok || settings.baud <= 0)
        return fail(QCoreApplication::translate("GatewaySim", "--baud needs a positive number"));
    const QString parity = value("parity").toUpper();
    if (parity != QLatin1String("N") && parity != QLatin1String("O") && parity != QLatin1String("E"))
        return fail(QCoreApplication::translate("GatewaySim", "--parity must be N, O or E"));
    settings.parity = parity.at(0).toLatin1();
    settings.stopBits = value("stop-bits").toInt(&ok);
    if (!ok || (settings.stopBits != 1 && settings.stopBits != 2))
        return fail(QCoreApplication::translate("GatewaySim", "--stop-bits must be 1 or 2"));

    Faults faults;
    for (const QString &address : parser.values(QStringLiteral("silent"))) {
        const int a = address.toInt(&ok);
        if (!ok || a < 1 || a > 16)
            return fail(QCoreApplication::translate("GatewaySim", "--silent needs a gateway address 1..16"));
        faults.silentGateways.insert(a);
    }
    if (!fraction(value("lose"), &faults.loseFraction))
        return fail(QCoreApplication::translate("GatewaySim", "--lose needs a fraction 0..1"));
    if (!fraction(value("damage"), &faults.damageFraction))
        return fail(QCoreApplication::translate("GatewaySim", "--damage needs a fraction 0..1"));
    faults.extraDelayMs = value("delay").toInt(&ok);
    if (!ok || faults.extraDelayMs < 0)
        return fail(QCoreApplication::translate("GatewaySim", "--delay needs a number of ms, 0 or more"));
    faults.seed = value("seed").toUInt(&ok);
    if (!ok)
        return fail(QCoreApplication::translate("GatewaySim", "--seed needs a number"));

    const Installation installation = parser.isSet(QStringLiteral("installation"))
        ? Installation::fromFile(value("installation"))
        : Installation::demo();
    if (!installation.isValid())
        return fail(installation.error());
    for (const QString &warning : installation.warnings())
        std::fprintf(stderr, "gateway-sim: %s\n", qPrintable(warning));

    SimLine line(installation);
    line.setFaults(faults);

    lumaro::TerminationSignals signals_;
    if (!signals_.install())
        return fail(signals_.errorString());
    QObject::connect(&signals_, &lumaro::TerminationSignals::terminationRequested, &app, [] { QCoreApplication::quit(); });

    PseudoTerminal terminal;
    if (!terminal.open())
        return fail(terminal.errorString());

    DeviceLink link;
    if (parser.isSet(QStringLiteral("link"))) {
        const QString error = link.make(value("link"), terminal.slavePath());
        if (!error.isEmpty())
            return fail(error);
    }

    {
        // The device path first, on a line of its own and at once: whoever started the simulator
        // waits for it, and may use the link as soon as it has it.
        QTextStream out(stdout);
        out << terminal.slavePath() << Qt::endl;
    }

    GatewayServer server(terminal, line, settings, parser.isSet(QStringLiteral("verbose")));
    server.start();
    return app.exec();
}
