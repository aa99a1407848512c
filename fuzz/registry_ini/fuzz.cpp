// The registry's file, as any editor or program may have left it.  Read and
// written back, it gives every value it gave before, and the file written
// reads back to itself.
#include <string_view>

#include "fuzz/fuzz_support.h"
#include "platform/ini_document.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using platform::IniDocument;
    const IniDocument read = IniDocument::Parse(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string written = read.Serialize();
    const IniDocument again = IniDocument::Parse(written);
    FUZZ_CHECK(again.Serialize() == written);
    FUZZ_CHECK(again.Keys() == read.Keys());
    for (const QString& key : read.Keys()) FUZZ_CHECK(again.Text(key) == read.Text(key));
    // A change touches its own value alone.
    IniDocument changed = again;
    changed.SetText(QStringLiteral("Software/Orbiscope/MRU/File1"), QStringLiteral("/a \"b\",c;\\\x01" "1"));
    const IniDocument reread = IniDocument::Parse(changed.Serialize());
    FUZZ_CHECK(reread.Text(QStringLiteral("Software/Orbiscope/MRU/File1")) == QStringLiteral("/a \"b\",c;\\\x01" "1"));
    for (const QString& key : read.Keys())
        if (key != QStringLiteral("Software/Orbiscope/MRU/File1")) FUZZ_CHECK(reread.Text(key) == read.Text(key));
    return 0;
}
