#pragma once

#include <QByteArrayView>
#include <QList>
#include <QString>

namespace lumaro::sim {

// A small reader for the INI-like text of installation files (and of project files, which share
// the layout): "[name]" section lines, KEY=VALUE lines, ";" comments, CR LF or LF line ends.
// Keys and values are trimmed; section and key names compare exactly. Unlike the project store
// it keeps every line with its number, so that the installation reader can say where a bad
// value stands, and it keeps a last line without a line end.
class IniDocument
{
public:
    struct Entry {
        QString key;
        QString value;
        int line = 0;
    };
    struct Section {
        QString name;
        int line = 0;
        QList<Entry> entries;
    };

    static IniDocument parse(QByteArrayView text);

    const QList<Section> &sections() const { return m_sections; }
    // The section of that name (the last one, if the name occurs twice), or nullptr.
    const Section *section(const QString &name) const;
    // The last value of a key in a section, or the default.
    QString value(const QString &section, const QString &key, const QString &defaultValue = QString()) const;
    struct Line {
        int number = 0;
        QString text;
    };
    // Lines that are neither sections, key lines, comments nor blank, and keys before the first
    // section.
    const QList<Line> &strayLines() const { return m_stray; }

private:
    QList<Section> m_sections;
    QList<Line> m_stray;
};

}  // namespace lumaro::sim
