#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <vector>

namespace lumaro {

// The in-memory copy of one INI-style project file (db.ctt, DeviceType.ini, and any file read
// once for a lookup): section -> key -> value, all on the file's raw GBK bytes. The project store
// converts to QString at its boundary; nothing here knows about text encodings beyond the GBK
// rule that a byte of 0x80 or more swallows the byte after it.
//
// Reading rules (byte by byte, see load()):
// - CR, LF and ';' end a line; ';' also skips the rest of the line as a comment.
// - At each line end the key and the value, trimmed of blanks, are stored when the key is not
//   empty and a section is open; a later line with the same key replaces the value.
// - The first '=' ends the key; every further '=' starts the value afresh.
// - '[' opens a section name only while the line holds nothing but blanks; ']' closes it, and a
//   non-empty trimmed name opens a new, empty section that replaces any earlier one of that name.
//   An unclosed name is dropped at the line end.
// - A byte of 0x80 or more and the byte after it are text, whatever that second byte is.
// - A last line without a line end is not stored.
// Names compare exactly (case matters).
//
// Sections and keys keep the order in which they were first seen, so a rewritten file reads
// like the one that was loaded. Each section keeps its text once written, so that rewriting a
// large file after a small change only writes out the changed section again. Not thread-safe,
// not even for const calls (they fill those caches); one owner at a time.
class CCfgData
{
public:
    CCfgData() = default;

    // Replaces the contents with the parsed file. Returns false (and leaves the copy empty) when
    // the file cannot be opened; a missing file is reported the same way.
    bool load(const QString &path);
    void loadBytes(QByteArrayView bytes);

    // The whole copy as file text: "[" name "]" and then key=value lines, every line ended by
    // CR LF. Comments of the loaded file are gone.
    QByteArray toBytes() const;
    // The same into `out`, reusing its allocation when it is large enough.
    void serialiseInto(QByteArray &out) const;
    // Rewrites the file atomically (QSaveFile). On failure returns false and, when given, sets
    // `error` to the reason; the file on disk is then untouched.
    bool save(const QString &path, QString *error = nullptr) const;

    bool sectionExists(QByteArrayView section) const;
    // The stored value, or nullptr when the section or key is missing.
    const QByteArray *find(QByteArrayView section, QByteArrayView key) const;
    QByteArray get(QByteArrayView section, QByteArrayView key,
                   const QByteArray &defaultValue = QByteArray()) const;

    // Creates the section when needed.
    void set(QByteArrayView section, QByteArrayView key, const QByteArray &value);
    // Makes the section exist (without keys) when it does not.
    void addSection(QByteArrayView section);
    bool deleteKey(QByteArrayView section, QByteArrayView key);
    bool deleteSection(QByteArrayView section);
    void clear();

    bool isEmpty() const { return m_sections.empty(); }
    qsizetype sectionCount() const { return qsizetype(m_sections.size()); }
    QList<QByteArray> sectionNames() const;
    // Keys of the section in file order; empty for a missing section.
    QList<QByteArray> keys(QByteArrayView section) const;

    // Same sections with the same keys and values; order does not count.
    friend bool operator==(const CCfgData &a, const CCfgData &b);
    friend bool operator!=(const CCfgData &a, const CCfgData &b) { return !(a == b); }

private:
    struct Entry {
        QByteArray key;
        QByteArray value;
    };
    // The index views point into the QByteArrays of `entries` (and `name` for the section
    // index). Their heap blocks never move and are never written, and copies of the object share
    // them, so the views stay valid for as long as the entry lives.
    struct Section {
        QByteArray name;
        std::vector<Entry> entries;
        QHash<QByteArrayView, qsizetype> index;
        // The section as file text, kept until the section changes.
        mutable QByteArray image;
        mutable bool imageValid = false;

        const QByteArray &text() const;
        const QByteArray *find(QByteArrayView key) const;
        void assign(const QByteArray &key, const QByteArray &value);
        bool remove(QByteArrayView key);
        void clear();
    };

    Section *section(QByteArrayView name);
    const Section *section(QByteArrayView name) const;
    // The section of that name, created empty at the end when missing; with `reset` an existing
    // one is emptied, as a repeated header line in a file does.
    Section &openSection(const QByteArray &name, bool reset);

    std::vector<Section> m_sections;
    QHash<QByteArrayView, qsizetype> m_sectionIndex;
    mutable QByteArray m_image;  // reused by save()
};

}  // namespace lumaro
