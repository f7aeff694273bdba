#pragma once

#include "simgateway.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <vector>

namespace lumaro::sim {

// The gateways and gear of a simulated installation, read from an installation file: INI-like
// text with one section per gateway ("[M1]") and per gear ("[M1A5]": gateway 1, short address
// 5), KEY=VALUE lines, ";" comments, CR LF or LF line ends. data/demo/README.md lists the keys.
// A gear section puts its gateway on the line even without a gateway section.
//
// Unknown sections and keys, and values out of range, are reported as warnings and skipped, so
// that a typing error shows instead of silently giving a default. Only an unreadable file is an
// error.
class Installation
{
public:
    // The demo installation compiled into the program (data/demo/installation.ini).
    static Installation demo();
    static Installation fromFile(const QString &path);
    // origin names the text in the warnings (a file name).
    static Installation fromText(QByteArrayView text, const QString &origin = QString());

    bool isValid() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QStringList warnings() const { return m_warnings; }

    // The gateways in address order, each with its gear.
    const std::vector<SimGateway> &gateways() const { return m_gateways; }
    const SimGateway *gateway(int address) const;

private:
    SimGateway &gatewayAt(int address);

    std::vector<SimGateway> m_gateways;
    QString m_error;
    QStringList m_warnings;
};

}  // namespace lumaro::sim
