#include "findertool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocalSocket>

namespace lumaro {

FinderTool::FinderTool(QString workingFolder, QObject *parent)
    : QObject(parent), m_folder(std::move(workingFolder))
{
}

FinderTool::~FinderTool()
{
    // The finder outlives nothing of ours: it was asked to close when the program ended.
    if (m_process.state() != QProcess::NotRunning)
        m_process.waitForFinished(2000);
}

QString FinderTool::serverName()
{
    return QStringLiteral("tessaro-") + qEnvironmentVariable("USER", QStringLiteral("user"));
}

QString FinderTool::programName()
{
    return QStringLiteral("tessaro");
}

QString FinderTool::program() const
{
    const QString inFolder = QDir(m_folder).filePath(programName());
    if (QFileInfo(inFolder).isExecutable())
        return inFolder;
    return QDir(QCoreApplication::applicationDirPath()).filePath(programName());
}

bool FinderTool::tell(const QByteArray &line)
{
    QLocalSocket socket;
    socket.connectToServer(serverName());
    if (!socket.waitForConnected(300))
        return false;
    socket.write(line + '\n');
    socket.waitForBytesWritten(300);
    socket.disconnectFromServer();
    return true;
}

void FinderTool::showOrStart()
{
    if (tell("raise") || isStarted())
        return;
    m_process.setWorkingDirectory(m_folder);
    m_process.setProgram(program());
    m_process.setProcessChannelMode(QProcess::ForwardedChannels);
    m_process.start();
}

void FinderTool::closeRunning()
{
    if (!tell("close") && isStarted())
        m_process.terminate();
}

}  // namespace lumaro
