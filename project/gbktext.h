#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace lumaro {

// Conversion between the GBK bytes of the project files and QString. The project files keep
// Chinese names in GBK (code page 936); everything inside the program is QString. When the GBK
// codec is not available (a Qt built without ICU), bytes map one to one to Latin-1 so that a
// read followed by a write still gives back the same bytes.
QString fromGbk(QByteArrayView bytes);
QByteArray toGbk(QStringView text);

// Whether the real GBK codec is in use (false: the Latin-1 stand-in).
bool gbkAvailable();

}  // namespace lumaro
