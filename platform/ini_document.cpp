#include "platform/ini_document.h"

#include <QStringDecoder>
#include <QStringList>
#include <QStringEncoder>
#include <vector>

namespace platform {

namespace {

bool IsHexDigit(char16_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

int HexValue(char16_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return c - 'A' + 10;
}

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }
bool IsSpecial(char c) { return c == '\n' || c == '\r' || c == '"' || c == ';' || c == '=' || c == '\\'; }

bool EqualsIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

// The next logical line from `pos`: a quoted text and a backslash carry it
// past a line end; a ";" outside quotes ends it, and one that starts a line
// makes the line a comment, skipped.  False at the end of the data.
bool ReadLine(std::string_view data, std::size_t& pos, std::size_t& lineStart, std::size_t& lineLen,
              std::size_t& equalsPos)
{
    constexpr std::size_t kNone = std::string_view::npos;
    const std::size_t size = data.size();
    bool inQuotes = false;
    equalsPos = kNone;
    lineStart = pos;
    while (lineStart < size && IsSpace(data[lineStart])) ++lineStart;
    std::size_t i = lineStart;
    while (i < size) {
        char ch = data[i];
        while (!IsSpecial(ch)) {
            if (++i == size) goto done;
            ch = data[i];
        }
        ++i;
        if (ch == '=') {
            if (!inQuotes && equalsPos == kNone) equalsPos = i - 1;
        } else if (ch == '\n' || ch == '\r') {
            if (i == lineStart + 1) {
                ++lineStart;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        } else if (ch == '\\') {
            if (i < size) {
                const char escaped = data[i++];
                if (i < size) {
                    const char next = data[i];
                    if ((escaped == '\n' && next == '\r') || (escaped == '\r' && next == '\n')) ++i;
                }
            }
        } else if (ch == '"') {
            inQuotes = !inQuotes;
        } else {  // ';'
            if (i == lineStart + 1) {
                while (i < size && data[i] != '\n' && data[i] != '\r') ++i;
                while (i < size && IsSpace(data[i])) ++i;
                lineStart = i;
            } else if (!inQuotes) {
                --i;
                goto done;
            }
        }
    }
done:
    pos = i;
    lineLen = i - lineStart;
    return lineLen > 0;
}

// "%XX" and "%UXXXX" stand for a character, "\" for the "/" between names.
QString UnescapedKey(std::string_view bytes)
{
    const QString decoded = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    QString result;
    const qsizetype size = decoded.size();
    for (qsizetype i = 0; i < size;) {
        const char16_t ch = decoded.at(i).unicode();
        if (ch == '\\') {
            result += QLatin1Char('/');
            ++i;
            continue;
        }
        if (ch != '%' || i == size - 1) {
            result += QChar(ch);
            ++i;
            continue;
        }
        qsizetype first = i + 1;
        int digits = 2;
        if (decoded.at(first) == QLatin1Char('U')) {
            ++first;
            digits = 4;
        }
        bool hex = first + digits <= size;
        char16_t value = 0;
        for (int d = 0; hex && d < digits; ++d) {
            const char16_t c = decoded.at(first + d).unicode();
            hex = IsHexDigit(c);
            value = char16_t(value * 16 + (hex ? HexValue(c) : 0));
        }
        if (!hex) {
            result += QLatin1Char('%');
            ++i;
            continue;
        }
        result += QChar(value);
        i = first + digits;
    }
    return result;
}

QByteArray EscapedKey(const QString& key)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    QByteArray result;
    for (const QChar qc : key) {
        const char16_t ch = qc.unicode();
        if (ch == '/') {
            result += '\\';
        } else if ((ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == '_' ||
                   ch == '-' || ch == '.') {
            result += char(ch);
        } else if (ch <= 0xFF) {
            result += '%';
            result += kHex[ch >> 4];
            result += kHex[ch & 15];
        } else {
            result += "%U";
            for (int shift = 12; shift >= 0; shift -= 4) result += kHex[(ch >> shift) & 15];
        }
    }
    return result;
}

void ChopTrailingSpaces(QString& s, qsizetype limit)
{
    qsizetype n = s.size() - 1;
    while (n >= limit && (s.at(n) == QLatin1Char(' ') || s.at(n) == QLatin1Char('\t'))) s.truncate(n--);
}

// A value as the file holds it: quotes, escapes and, outside quotes, commas
// that make it a list.  True for a list (`text` is then meaningless).
bool UnescapedValue(std::string_view str, QString& text)
{
    static constexpr char kEscapes[][2] = {{'a', '\a'}, {'b', '\b'}, {'f', '\f'}, {'n', '\n'},
                                           {'r', '\r'}, {'t', '\t'}, {'v', '\v'}, {'"', '"'},
                                           {'?', '?'},   {'\'', '\''}, {'\\', '\\'}};
    bool isList = false, inQuotes = false, quoted = false;
    char16_t escapeValue = 0;
    std::size_t i = 0;
    qsizetype chopLimit = 0;
    // Stateful, as a character's bytes may lie on both sides of an escape.
    QStringDecoder fromUtf8(QStringDecoder::Utf8);
    char ch = 0;
skipSpaces:
    while (i < str.size() && ((ch = str[i]) == ' ' || ch == '\t')) ++i;
normal:
    chopLimit = text.size();
    while (i < str.size()) {
        switch (str[i]) {
        case '\\': {
            if (++i >= str.size()) goto end;
            ch = str[i++];
            for (const auto& escape : kEscapes) {
                if (ch == escape[0]) {
                    text += QLatin1Char(escape[1]);
                    goto normal;
                }
            }
            if (ch == 'x') {
                escapeValue = 0;
                if (i >= str.size()) goto end;
                if (IsHexDigit(char16_t(static_cast<unsigned char>(str[i])))) goto hexEscape;
            } else if (ch >= '0' && ch <= '7') {
                escapeValue = char16_t(ch - '0');
                goto octalEscape;
            } else if (ch == '\n' || ch == '\r') {
                if (i < str.size()) {
                    const char next = str[i];
                    if ((next == '\n' || next == '\r') && next != ch) ++i;
                }
            }  // any other escaped character is dropped
            chopLimit = text.size();
            break;
        }
        case '"':
            ++i;
            quoted = true;
            inQuotes = !inQuotes;
            if (!inQuotes) goto skipSpaces;
            break;
        case ',':
            if (!inQuotes) {
                // A list: what the program reads of it is an empty text.
                isList = true;
                text.clear();
                quoted = false;
                ++i;
                goto skipSpaces;
            }
            [[fallthrough]];
        default: {
            std::size_t j = i + 1;
            while (j < str.size() && str[j] != '\\' && str[j] != '"' && str[j] != ',') ++j;
            text += fromUtf8(QByteArrayView(str.data() + i, qsizetype(j - i)));
            i = j;
        }
        }
    }
    if (!quoted) ChopTrailingSpaces(text, chopLimit);
    goto end;
hexEscape:
    while (i < str.size() && IsHexDigit(char16_t(static_cast<unsigned char>(str[i])))) {
        escapeValue = char16_t((escapeValue << 4) + HexValue(char16_t(static_cast<unsigned char>(str[i]))));
        ++i;
    }
    text += QChar(escapeValue);
    if (i >= str.size()) goto end;
    goto normal;
octalEscape:
    while (i < str.size() && str[i] >= '0' && str[i] <= '7') {
        escapeValue = char16_t((escapeValue << 3) + (str[i] - '0'));
        ++i;
    }
    text += QChar(escapeValue);
    if (i >= str.size()) goto end;
    goto normal;
end:
    return isList;
}

QByteArray EscapedValue(const QString& text)
{
    // The settings class marks a text that holds a null character, and one
    // that could be read as such a mark.
    QString s = text;
    if (s.contains(QChar::Null)) s = QStringLiteral("@String(") + s + QLatin1Char(')');
    else if (s.startsWith(QLatin1Char('@'))) s.prepend(QLatin1Char('@'));

    QByteArray result;
    bool needsQuotes = false, escapeNextIfHex = false;
    QStringEncoder toUtf8(QStringEncoder::Utf8);
    for (const QChar qc : s) {
        const char16_t ch = qc.unicode();
        if (ch == ';' || ch == ',' || ch == '=') needsQuotes = true;
        // "\x1" followed by "2" would read as "\x12".
        if (escapeNextIfHex && IsHexDigit(ch)) {
            result += "\\x" + QByteArray::number(ch, 16);
            continue;
        }
        escapeNextIfHex = false;
        switch (ch) {
        case '\0': result += "\\0"; escapeNextIfHex = true; break;
        case '\a': result += "\\a"; break;
        case '\b': result += "\\b"; break;
        case '\f': result += "\\f"; break;
        case '\n': result += "\\n"; break;
        case '\r': result += "\\r"; break;
        case '\t': result += "\\t"; break;
        case '\v': result += "\\v"; break;
        case '"':
        case '\\':
            result += '\\';
            result += char(ch);
            break;
        default:
            if (ch <= 0x1F) {
                result += "\\x" + QByteArray::number(ch, 16);
                escapeNextIfHex = true;
            } else {
                result += toUtf8(QStringView(&qc, 1));
            }
        }
    }
    if (needsQuotes || (!result.isEmpty() && (result.front() == ' ' || result.back() == ' '))) {
        result.prepend('"');
        result += '"';
    }
    return result;
}

// A value read up to the end of the file may end inside quotes, or with a
// backslash that escapes nothing; one may end with an escaped carriage
// return, which the line end written after it would join.  Written back
// with a line after it, such a value would take that line in: closed, it
// reads the same and ends on its line.
QByteArray Closed(std::string_view raw)
{
    bool inQuotes = false, dangling = false, escapedReturn = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == '"') {
            inQuotes = !inQuotes;
        } else if (raw[i] == '\\') {
            if (++i == raw.size()) {
                dangling = true;
            } else if (i + 1 < raw.size() &&
                       ((raw[i] == '\n' && raw[i + 1] == '\r') || (raw[i] == '\r' && raw[i + 1] == '\n'))) {
                ++i;
            } else {
                escapedReturn = raw[i] == '\r' && i + 1 == raw.size();
            }
        }
    }
    QByteArray closed(raw.data(), qsizetype(raw.size()));
    // An escaped space is dropped, as the dangling backslash was; an escaped
    // CR LF joins lines as the CR alone did.
    if (dangling) closed += ' ';
    if (escapedReturn) closed += '\n';
    if (inQuotes) closed += '"';
    return closed;
}

}  // namespace

QString IniDocument::NormalizedKey(const QString& key)
{
    QString result;
    for (const QString& name : key.split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        if (!result.isEmpty()) result += QLatin1Char('/');
        result += name;
    }
    return result;
}

IniDocument IniDocument::Parse(std::string_view data)
{
    IniDocument doc;
    if (data.starts_with("\xEF\xBB\xBF")) data.remove_prefix(3);
    QString section;
    std::size_t pos = 0, lineStart = 0, lineLen = 0, equalsPos = 0;
    while (ReadLine(data, pos, lineStart, lineLen, equalsPos)) {
        const std::string_view line = data.substr(lineStart, lineLen);
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            std::string_view name = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            while (!name.empty() && (IsSpace(name.front()) || name.front() == '\v' || name.front() == '\f'))
                name.remove_prefix(1);
            while (!name.empty() && (IsSpace(name.back()) || name.back() == '\v' || name.back() == '\f'))
                name.remove_suffix(1);
            if (EqualsIgnoringCase(name, "general")) {
                section.clear();
            } else {
                section = EqualsIgnoringCase(name, "%general")
                              ? QString::fromLatin1(name.data() + 1, qsizetype(name.size() - 1))
                              : UnescapedKey(name);
                section += QLatin1Char('/');
            }
            continue;
        }
        if (equalsPos == std::string_view::npos) continue;
        std::size_t keyEnd = equalsPos;
        while (keyEnd > lineStart && (data[keyEnd - 1] == ' ' || data[keyEnd - 1] == '\t')) --keyEnd;
        const QString key = NormalizedKey(section + UnescapedKey(data.substr(lineStart, keyEnd - lineStart)));
        if (key.isEmpty()) continue;
        // Spaces before a value are never part of it.
        std::size_t valueStart = equalsPos + 1;
        const std::size_t lineEnd = lineStart + lineLen;
        while (valueStart < lineEnd && (data[valueStart] == ' ' || data[valueStart] == '\t')) ++valueStart;
        doc.values_[key] = Closed(data.substr(valueStart, lineEnd - valueStart));
    }
    return doc;
}

std::optional<QString> IniDocument::Text(const QString& key) const
{
    const auto found = values_.find(NormalizedKey(key));
    if (found == values_.end()) return std::nullopt;
    QString s;
    if (UnescapedValue(std::string_view(found->second.constData(), std::size_t(found->second.size())), s))
        return QString();
    if (s.startsWith(QLatin1Char('@'))) {
        if (s.endsWith(QLatin1Char(')'))) {
            if (s.startsWith(QLatin1String("@ByteArray("))) return QString::fromUtf8(s.mid(11).chopped(1).toLatin1());
            if (s.startsWith(QLatin1String("@String("))) return s.mid(8).chopped(1);
            for (const char* other : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("})
                if (s.startsWith(QLatin1String(other))) return std::nullopt;
            if (s == QLatin1String("@Invalid()")) return std::nullopt;
        }
        if (s.startsWith(QLatin1String("@@"))) return s.mid(1);
    }
    return s;
}

std::vector<QString> IniDocument::Keys() const
{
    std::vector<QString> keys;
    for (const auto& entry : values_) keys.push_back(entry.first);
    return keys;
}

void IniDocument::SetText(const QString& key, const QString& text)
{
    const QString k = NormalizedKey(key);
    if (!k.isEmpty()) values_[k] = EscapedValue(text);
}

void IniDocument::Remove(const QString& key)
{
    const QString k = NormalizedKey(key);
    if (k.isEmpty()) {
        values_.clear();
        return;
    }
    const QString below = k + QLatin1Char('/');
    values_.erase(k);
    for (auto it = values_.lower_bound(below); it != values_.end() && it->first.startsWith(below);)
        it = values_.erase(it);
}

std::string IniDocument::Serialize() const
{
    std::map<QString, std::vector<std::pair<QString, const QByteArray*>>> sections;
    for (const auto& [key, raw] : values_) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        if (slash < 0) sections[QString()].emplace_back(key, &raw);
        else sections[key.left(slash)].emplace_back(key.mid(slash + 1), &raw);
    }
    QByteArray out;
    for (const auto& [section, entries] : sections) {
        if (!out.isEmpty()) out += '\n';
        const QByteArray name = EscapedKey(section);
        if (section.isEmpty()) out += "[General]\n";
        else if (EqualsIgnoringCase(std::string_view(name.constData(), std::size_t(name.size())), "general"))
            out += "[%" + name + "]\n";  // as the settings class writes "General", and keeping any other case
        else out += '[' + name + "]\n";
        for (const auto& [rest, raw] : entries) out += EscapedKey(rest) + '=' + *raw + '\n';
    }
    return out.toStdString();
}

}  // namespace platform
