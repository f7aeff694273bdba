#include "projectfolder.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace lumaro {

bool createProjectFolder(const QString &folder, QString *error)
{
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        *error = QStringLiteral("Cannot create the folder %1").arg(folder);
        return false;
    }
    const QString db = dir.filePath(QStringLiteral("db.ctt"));
    if (!QFile::exists(db)) {
        QSaveFile file(db);
        if (!file.open(QIODevice::WriteOnly) || file.write("[B0]\r\nCOM=0\r\n") < 0 || !file.commit()) {
            *error = QStringLiteral("Cannot write %1: %2").arg(db, file.errorString());
            return false;
        }
    }
    const QString types = dir.filePath(QStringLiteral("DeviceType.ini"));
    if (QFile::exists(types))
        return true;
    if (!QFile::copy(QStringLiteral(":/lumaro/data/DeviceType.ini"), types)) {
        *error = QStringLiteral("Cannot write %1").arg(types);
        return false;
    }
    // A copy out of the resources is read-only; the project's table must stay editable.
    QFile::setPermissions(types, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

}  // namespace lumaro
