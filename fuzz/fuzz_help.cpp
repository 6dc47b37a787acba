// Fuzz target for the help file reader and the parsers of its objects. The
// input is taken as a whole help file (the container checks), as the stream
// of objects the reading child sends, and its first 1 KB as a "#SYSTEM"
// object and as page and sitemap text. A broken promise traps.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include <QByteArray>

#include "chm/helpFile.h"
#include "chm/helpParse.h"

namespace {

void check(bool ok)
{
    if (!ok)
        __builtin_trap();
}

// The first byte chooses the object: "#SYSTEM", or text of a file in
// another language or in Japanese.
void parse(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return;
    if ((bytes[0] & 1) == 0) {
        const helpparse::SystemInfo system = helpparse::parseSystem(bytes);
        check(system.contentsFile.isEmpty() || system.contentsFile.startsWith(QLatin1Char('/')));
        helpparse::topicUrl(system.defaultTopic);
        return;
    }
    const QString text = helpparse::decodeText(bytes, (bytes[0] & 2) ? helpparse::kLcidJapanese : 0);
    for (const helpparse::SitemapEntry& e : helpparse::parseSitemap(text)) {
        check(e.depth >= 0 && !e.name.isEmpty());
        helpparse::topicUrl(e.local);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    helpfile::checkContainer(bytes);

    helpfile::Objects objects;
    if (helpfile::decodeObjects(bytes, objects)) {
        std::size_t total = 0;
        for (const auto& [name, object] : objects)
            total += name.size() + object.size() + 12;
        check(total <= size);  // a name sent twice keeps its last object
    }
    parse(QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(std::min<size_t>(size, 1024))));
    return 0;
}
