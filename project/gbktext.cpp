#include "gbktext.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>

namespace lumaro {

namespace {

constexpr const char *kGbkName = "GBK";

bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

}  // namespace

bool gbkAvailable()
{
    static const bool available = QStringDecoder(kGbkName).isValid();
    return available;
}

// GBK leaves ASCII as it is, and nearly every key, section name and number in a project is
// ASCII: those skip the codec. A fresh converter per call keeps calls independent of each other
// (a lone lead byte at the end of one value must not swallow the start of the next) and makes
// the functions safe on any thread.
QString fromGbk(QByteArrayView bytes)
{
    if (isAscii(bytes) || !gbkAvailable())
        return QString::fromLatin1(bytes);
    QStringDecoder decoder(kGbkName, QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray toGbk(QStringView text)
{
    if (isAscii(text) || !gbkAvailable())
        return text.toLatin1();
    QStringEncoder encoder(kGbkName, QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

}  // namespace lumaro
