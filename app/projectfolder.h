#pragma once

#include <QString>

namespace lumaro {

// Creates a project folder for `lumaro --new`: an empty project file and the shipped device
// type table. An existing project is never overwritten.
bool createProjectFolder(const QString &folder, QString *error);

}  // namespace lumaro
