#pragma once

#include <QLatin1String>
#include <QString>

namespace lumaro {

// Texts keep the "%d" placeholders of their source text, and so do their translations; they are
// numbered after translation so that QString::arg() fills them in order. "%%" becomes "%".
inline QString fromPrintf(QString text)
{
    int n = 0;
    for (qsizetype at = text.indexOf(u'%'); at >= 0 && at + 1 < text.size(); at = text.indexOf(u'%', at + 1)) {
        if (text.at(at + 1) == u'%') {
            text.remove(at, 1);
        } else if (text.at(at + 1) == u'd') {
            const QString number = QString::number(++n);
            text.replace(at, 2, QLatin1Char('%') + number);
            at += number.size();
        }
    }
    return text;
}

}  // namespace lumaro
