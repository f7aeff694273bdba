#include "ccfgdata.h"

#include <QFile>
#include <QSaveFile>
#include <cstring>

namespace lumaro {

namespace {

// Line ends (CR, LF) are handled before this test; these are the blanks trimmed around names,
// keys and values.
inline bool isBlank(unsigned char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f';
}

// Keys repeat in every section (GROUP0..GROUP15, SCENE0.. in each of up to 1024 gear sections)
// and most values are short numbers or TRUE/FALSE. Sharing one QByteArray per distinct text
// during a load keeps the parse to a few allocations per distinct word instead of two per line.
class Interner
{
public:
    static constexpr qsizetype kMaxSharedValue = 8;

    QByteArray get(QByteArrayView text)
    {
        const auto it = m_pool.constFind(text);
        if (it != m_pool.cend())
            return it.value();
        QByteArray owned(text.data(), text.size());
        m_pool.insert(QByteArrayView(owned), owned);
        return owned;
    }

private:
    QHash<QByteArrayView, QByteArray> m_pool;
};

}  // namespace

const QByteArray *CCfgData::Section::find(QByteArrayView key) const
{
    const auto it = index.constFind(key);
    return it == index.cend() ? nullptr : &entries[size_t(it.value())].value;
}

void CCfgData::Section::assign(const QByteArray &key, const QByteArray &value)
{
    imageValid = false;
    const auto it = index.constFind(QByteArrayView(key));
    if (it != index.cend()) {
        entries[size_t(it.value())].value = value;
        return;
    }
    entries.push_back({key, value});
    index.insert(QByteArrayView(entries.back().key), qsizetype(entries.size() - 1));
}

bool CCfgData::Section::remove(QByteArrayView key)
{
    const auto it = index.constFind(key);
    if (it == index.cend())
        return false;
    imageValid = false;
    const size_t at = size_t(it.value());
    index.erase(it);
    entries.erase(entries.begin() + qsizetype(at));
    // Keep file order: the entries after the removed one move up by one.
    for (size_t i = at; i < entries.size(); ++i)
        index[QByteArrayView(entries[i].key)] = qsizetype(i);
    return true;
}

void CCfgData::Section::clear()
{
    imageValid = false;
    index.clear();
    entries.clear();
}

const QByteArray &CCfgData::Section::text() const
{
    if (imageValid)
        return image;
    qsizetype size = name.size() + 4;  // "[" name "]" CR LF
    for (const Entry &e : entries)
        size += e.key.size() + e.value.size() + 3;  // key "=" value CR LF
    image.resize(size);
    char *w = image.data();
    auto put = [&w](const QByteArray &b) {
        std::memcpy(w, b.constData(), size_t(b.size()));
        w += b.size();
    };
    *w++ = '[';
    put(name);
    *w++ = ']';
    *w++ = '\r';
    *w++ = '\n';
    for (const Entry &e : entries) {
        put(e.key);
        *w++ = '=';
        put(e.value);
        *w++ = '\r';
        *w++ = '\n';
    }
    Q_ASSERT(w == image.constData() + image.size());
    imageValid = true;
    return image;
}

CCfgData::Section *CCfgData::section(QByteArrayView name)
{
    const auto it = m_sectionIndex.constFind(name);
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[size_t(it.value())];
}

const CCfgData::Section *CCfgData::section(QByteArrayView name) const
{
    const auto it = m_sectionIndex.constFind(name);
    return it == m_sectionIndex.cend() ? nullptr : &m_sections[size_t(it.value())];
}

CCfgData::Section &CCfgData::openSection(const QByteArray &name, bool reset)
{
    if (Section *s = section(QByteArrayView(name))) {
        if (reset)
            s->clear();
        return *s;
    }
    m_sections.emplace_back();
    m_sections.back().name = name;
    m_sectionIndex.insert(QByteArrayView(m_sections.back().name), qsizetype(m_sections.size() - 1));
    return m_sections.back();
}

bool CCfgData::load(const QString &path)
{
    clear();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    loadBytes(bytes);
    return true;
}

void CCfgData::loadBytes(QByteArrayView bytes)
{
    clear();
    Interner words;

    enum class State {
        Blank,    // nothing but blanks on this line so far
        Key,
        Value,
        Name,     // after '[' at the start of a line
        Comment,  // after ';' until the line end
    };

    const char *p = bytes.data();
    const char *const end = p + bytes.size();
    State state = State::Blank;
    // Trimmed extents: begin at the first non-blank byte, end after the last one.
    const char *keyBegin = nullptr, *keyEnd = nullptr;
    const char *valueBegin = nullptr, *valueEnd = nullptr;
    const char *nameBegin = nullptr, *nameEnd = nullptr;
    Section *current = nullptr;

    auto extend = [&](const char *from, const char *to) {
        switch (state) {
        case State::Blank:
            state = State::Key;
            keyBegin = from;
            keyEnd = to;
            break;
        case State::Key:
            keyEnd = to;
            break;
        case State::Value:
            if (!valueBegin)
                valueBegin = from;
            valueEnd = to;
            break;
        case State::Name:
            if (!nameBegin)
                nameBegin = from;
            nameEnd = to;
            break;
        case State::Comment:
            break;
        }
    };

    auto endLine = [&] {
        if ((state == State::Key || state == State::Value) && current && keyBegin) {
            const QByteArrayView key(keyBegin, keyEnd - keyBegin);
            const qsizetype valueSize = valueBegin ? valueEnd - valueBegin : 0;
            const QByteArrayView value(valueBegin, valueSize);
            const QByteArray storedValue = valueSize <= Interner::kMaxSharedValue
                                               ? words.get(value)
                                               : QByteArray(value.data(), value.size());
            current->assign(words.get(key), storedValue);
        }
        state = State::Blank;
        keyBegin = keyEnd = valueBegin = valueEnd = nameBegin = nameEnd = nullptr;
    };

    while (p < end) {
        const unsigned char c = static_cast<unsigned char>(*p);
        if (c >= 0x80) {
            // First byte of a GBK character: the pair is text, whatever its second byte is.
            const char *next = (end - p >= 2) ? p + 2 : end;
            extend(p, next);
            p = next;
            continue;
        }
        if (c == '\r' || c == '\n') {
            endLine();
            ++p;
            continue;
        }
        if (state == State::Comment) {
            ++p;
            continue;
        }
        if (c == ';') {
            endLine();
            state = State::Comment;
            ++p;
            continue;
        }
        if (state == State::Name) {
            if (c == ']') {
                if (nameBegin)
                    current = &openSection(words.get(QByteArrayView(nameBegin, nameEnd - nameBegin)), true);
                state = State::Blank;
                nameBegin = nameEnd = nullptr;
            } else if (!isBlank(c)) {
                extend(p, p + 1);
            }
            ++p;
            continue;
        }
        if (isBlank(c)) {
            ++p;
            continue;
        }
        if (c == '[' && state == State::Blank) {
            state = State::Name;
            ++p;
            continue;
        }
        if (c == '=') {
            // The first '=' ends the key; a later one drops the value collected so far.
            state = State::Value;
            valueBegin = valueEnd = nullptr;
            ++p;
            continue;
        }
        extend(p, p + 1);
        ++p;
    }
    // Whatever the last line collected without a line end is dropped.
}

QByteArray CCfgData::toBytes() const
{
    QByteArray out;
    serialiseInto(out);
    return out;
}

void CCfgData::serialiseInto(QByteArray &out) const
{
    qsizetype size = 0;
    for (const Section &s : m_sections)
        size += s.text().size();
    out.resize(size);
    char *w = out.data();
    for (const Section &s : m_sections) {
        const QByteArray &text = s.text();
        std::memcpy(w, text.constData(), size_t(text.size()));
        w += text.size();
    }
}

bool CCfgData::save(const QString &path, QString *error) const
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // The image buffer stays allocated between saves, and unchanged sections keep their text:
    // rewriting a large db.ctt for each write through costs little more than the write itself.
    serialiseInto(m_image);
    const bool written = file.write(m_image) == m_image.size() && file.commit();
    if (!written) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
    }
    return written;
}

bool CCfgData::sectionExists(QByteArrayView name) const
{
    return section(name) != nullptr;
}

const QByteArray *CCfgData::find(QByteArrayView sectionName, QByteArrayView key) const
{
    const Section *s = section(sectionName);
    return s ? s->find(key) : nullptr;
}

QByteArray CCfgData::get(QByteArrayView sectionName, QByteArrayView key,
                         const QByteArray &defaultValue) const
{
    const QByteArray *v = find(sectionName, key);
    return v ? *v : defaultValue;
}

void CCfgData::set(QByteArrayView sectionName, QByteArrayView key, const QByteArray &value)
{
    // An empty name or key could not be read back from the file.
    if (sectionName.isEmpty() || key.isEmpty())
        return;
    Section *s = section(sectionName);
    if (!s)
        s = &openSection(sectionName.toByteArray(), false);
    const auto it = s->index.constFind(key);
    if (it != s->index.cend()) {
        s->entries[size_t(it.value())].value = value;
        s->imageValid = false;
    } else {
        // A deep copy of the key: the index views must not point into memory the caller reuses.
        s->assign(key.toByteArray(), value);
    }
}

void CCfgData::addSection(QByteArrayView sectionName)
{
    if (!sectionName.isEmpty())
        openSection(sectionName.toByteArray(), false);
}

bool CCfgData::deleteKey(QByteArrayView sectionName, QByteArrayView key)
{
    Section *s = section(sectionName);
    return s && s->remove(key);
}

bool CCfgData::deleteSection(QByteArrayView sectionName)
{
    const auto it = m_sectionIndex.constFind(sectionName);
    if (it == m_sectionIndex.cend())
        return false;
    const size_t at = size_t(it.value());
    m_sectionIndex.erase(it);
    m_sections.erase(m_sections.begin() + qsizetype(at));
    for (size_t i = at; i < m_sections.size(); ++i)
        m_sectionIndex[QByteArrayView(m_sections[i].name)] = qsizetype(i);
    return true;
}

void CCfgData::clear()
{
    m_sectionIndex.clear();
    m_sections.clear();
}

QList<QByteArray> CCfgData::sectionNames() const
{
    QList<QByteArray> names;
    names.reserve(qsizetype(m_sections.size()));
    for (const Section &s : m_sections)
        names.append(s.name);
    return names;
}

QList<QByteArray> CCfgData::keys(QByteArrayView sectionName) const
{
    QList<QByteArray> result;
    if (const Section *s = section(sectionName)) {
        result.reserve(qsizetype(s->entries.size()));
        for (const Entry &e : s->entries)
            result.append(e.key);
    }
    return result;
}

bool operator==(const CCfgData &a, const CCfgData &b)
{
    if (a.m_sections.size() != b.m_sections.size())
        return false;
    for (const CCfgData::Section &sa : a.m_sections) {
        const CCfgData::Section *sb = b.section(QByteArrayView(sa.name));
        if (!sb || sb->entries.size() != sa.entries.size())
            return false;
        for (const CCfgData::Entry &e : sa.entries) {
            const QByteArray *v = sb->find(QByteArrayView(e.key));
            if (!v || *v != e.value)
                return false;
        }
    }
    return true;
}

}  // namespace lumaro
