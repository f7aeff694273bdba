#pragma once

#include <QObject>
#include <QProcess>

namespace lumaro {

// Starts the network finder tool Tessaro, or brings its running window forward, and asks it to
// close when Lumaro ends. Nothing else passes between the programs. A running Tessaro listens on
// the local socket serverName() and understands the lines "raise" and "close".
class FinderTool final : public QObject
{
    Q_OBJECT
public:
    FinderTool(QString workingFolder, QObject *parent = nullptr);
    ~FinderTool() override;

    static QString serverName();
    static QString programName();

    // "Scan Setting": forward when running, else started from the working folder or from beside
    // Lumaro's own executable. A missing program is not reported.
    void showOrStart();
    // Asks a running finder to close.
    void closeRunning();

    bool isStarted() const { return m_process.state() != QProcess::NotRunning; }

private:
    bool tell(const QByteArray &line);
    QString program() const;

    QString m_folder;
    QProcess m_process;
};

}  // namespace lumaro
