#include "inidocument.h"

namespace lumaro::sim {

IniDocument IniDocument::parse(QByteArrayView text)
{
    IniDocument doc;
    const QString all = QString::fromUtf8(text);
    const QStringList lines = all.split(QLatin1Char('\n'));
    for (int i = 0; i < lines.size(); ++i) {
        const int number = i + 1;
        QString line = lines[i];
        if (const qsizetype semicolon = line.indexOf(QLatin1Char(';')); semicolon >= 0)
            line.truncate(semicolon);
        line = line.trimmed();   // also drops the CR of a CR LF line end
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QString name = line.mid(1, line.size() - 2).trimmed();
            if (!name.isEmpty()) {
                doc.m_sections.append(Section{name, number, {}});
                continue;
            }
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals > 0 && !doc.m_sections.isEmpty()) {
            doc.m_sections.last().entries.append(
                Entry{line.left(equals).trimmed(), line.mid(equals + 1).trimmed(), number});
            continue;
        }
        doc.m_stray.append(Line{number, line});
    }
    return doc;
}

const IniDocument::Section *IniDocument::section(const QString &name) const
{
    for (auto it = m_sections.crbegin(); it != m_sections.crend(); ++it)
        if (it->name == name)
            return &*it;
    return nullptr;
}

QString IniDocument::value(const QString &sectionName, const QString &key, const QString &defaultValue) const
{
    const Section *s = section(sectionName);
    if (!s)
        return defaultValue;
    for (auto it = s->entries.crbegin(); it != s->entries.crend(); ++it)
        if (it->key == key)
            return it->value;
    return defaultValue;
}

}  // namespace lumaro::sim
