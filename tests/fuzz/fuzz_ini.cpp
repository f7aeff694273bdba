// Arbitrary bytes into the INI reader of the project files. Whatever it makes of them must
// survive a round trip: the copy written out reads back as the same copy, and writing that
// again gives the same bytes.

#include "ccfgdata.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    lumaro::CCfgData parsed;
    parsed.loadBytes(QByteArrayView(reinterpret_cast<const char *>(data), qsizetype(size)));

    const QByteArray written = parsed.toBytes();
    lumaro::CCfgData reread;
    reread.loadBytes(written);
    if (!(reread == parsed))
        std::abort();
    if (reread.toBytes() != written)
        std::abort();

    // Lookups agree with what was read, and edits keep the written text in step.
    for (const QByteArray &section : parsed.sectionNames()) {
        if (!reread.sectionExists(section))
            std::abort();
        for (const QByteArray &key : parsed.keys(section)) {
            const QByteArray *value = reread.find(section, key);
            if (!value || *value != parsed.get(section, key))
                std::abort();
        }
    }
    if (!parsed.sectionNames().isEmpty()) {
        const QByteArray first = parsed.sectionNames().first();
        const QList<QByteArray> keys = parsed.keys(first);
        if (!keys.isEmpty())
            reread.deleteKey(first, keys.first());
        reread.set(first, "FUZZ", "1");
        lumaro::CCfgData edited;
        edited.loadBytes(reread.toBytes());
        if (!(edited == reread))
            std::abort();
    }
    return 0;
}
