#include "devicelink.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

namespace lumaro::sim {

DeviceLink::~DeviceLink()
{
    const QFileInfo info(m_path);
    if (!m_path.isEmpty() && info.isSymLink() && info.symLinkTarget() == m_target)
        QFile::remove(m_path);
}

QString DeviceLink::make(const QString &path, const QString &target)
{
    const QFileInfo info(path);
    if (info.isSymLink()) {
        if (!QFile::remove(path))
            return QCoreApplication::translate("GatewaySim", "Cannot replace the link %1").arg(path);
    } else if (info.exists()) {
        return QCoreApplication::translate("GatewaySim", "%1 exists and is not a symbolic link").arg(path);
    }
    if (!QFile::link(target, path))
        return QCoreApplication::translate("GatewaySim", "Cannot make the link %1").arg(path);
    m_path = path;
    m_target = QFileInfo(target).absoluteFilePath();
    return QString();
}

}  // namespace lumaro::sim
