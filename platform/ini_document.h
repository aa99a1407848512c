// The registry's file: the ini dialect that Qt's settings class reads and
// writes, read and written here so that the program holds its own lock
// around each change.  A file an earlier version wrote keeps every value,
// and a file written here reads the same through that class.
#pragma once

#include <QByteArray>
#include <QString>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

class IniDocument {
public:
    // Never fails: a line that is not a section or a key is skipped, as the
    // settings class skips it.  A UTF-8 byte-order mark at the start is not
    // part of the first line.
    static IniDocument Parse(std::string_view bytes);

    // Keys are paths of "/"-separated names ("Software/Orbiscope/MRU/File1"),
    // compared as the settings class compares them once it has normalised
    // them: empty names dropped, letter case kept.
    // The text of the value at `key`; nullopt when there is none, or when it
    // holds something other than a text (a number, a rectangle).
    std::optional<QString> Text(const QString& key) const;
    std::vector<QString> Keys() const;  // in order
    void SetText(const QString& key, const QString& text);
    // Removes the value at `key` and every value below it.
    void Remove(const QString& key);

    // The file as the settings class would write these values: sections in
    // order of their names, each with its keys in order.  A value that was
    // read and not changed is written back in the very bytes it was read in,
    // so that one this program does not understand is kept as it was.
    std::string Serialize() const;

    static QString NormalizedKey(const QString& key);

private:
    std::map<QString, QByteArray> values_;  // normalised key -> the value as the file holds it
};

}  // namespace platform
