#include "platform/ini_document.h"

#include <QStringDecoder>
#include <QStringList>
#include <initializer_list>
#include <utility>

namespace platform {

namespace {

// ---- the format's characters ---------------------------------------------------

bool IsLineEnd(char c) { return c == '\n' || c == '\r'; }
bool IsBlank(char c) { return c == ' ' || c == '\t'; }
bool IsBlankOrLineEnd(char c) { return IsBlank(c) || IsLineEnd(c); }

// -1 for a character that is no hexadecimal digit.
int HexDigitValue(char16_t c)
{
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

bool IsHexDigit(char16_t c) { return HexDigitValue(c) >= 0; }

bool SameLetters(std::string_view a, std::string_view b)
{
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i])) return false;
    return true;
}

// `value` in `digits` upper-case hexadecimal digits.
void AppendHex(QByteArray& out, unsigned value, int digits)
{
    static constexpr char kDigits[] = "0123456789ABCDEF";
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4) out += kDigits[(value >> shift) & 15];
}

// Where an escape that starts at `at` (a backslash) ends: past the character
// it escapes and, when that is a line end, past the other half of a CR LF or
// LF CR pair.  A backslash that ends the text escapes nothing.
std::size_t PastEscape(std::string_view s, std::size_t at)
{
    std::size_t past = at + 1;
    if (past == s.size()) return past;
    const char escaped = s[past++];
    if (IsLineEnd(escaped) && past < s.size() && IsLineEnd(s[past]) && s[past] != escaped) ++past;
    return past;
}

// ---- statements ----------------------------------------------------------------
// The file is a run of statements, "[section]" or "key=value".  Blanks and
// line ends lie between them, and comments: a ";" where a statement would
// start hides the rest of its line.  A statement ends at a line end or at a
// ";" (a comment after it), except inside double quotes or after a
// backslash: a quoted value may span lines.

struct Statement {
    std::string_view text;
    std::size_t equals = std::string_view::npos;  // the first "=" outside quotes, within text
};

class StatementReader {
public:
    explicit StatementReader(std::string_view data) : data_(data) {}

    std::optional<Statement> Next()
    {
        SkipBlanksAndComments();
        const std::size_t start = pos_;
        Statement statement;
        bool inQuotes = false;
        while (pos_ < data_.size()) {
            const char c = data_[pos_];
            if (c == '\\') {
                pos_ = PastEscape(data_, pos_);
                continue;
            }
            if (c == '"') {
                inQuotes = !inQuotes;
            } else if (!inQuotes) {
                if (IsLineEnd(c) || c == ';') break;
                if (c == '=' && statement.equals == std::string_view::npos) statement.equals = pos_ - start;
            }
            ++pos_;
        }
        if (pos_ == start) return std::nullopt;
        statement.text = data_.substr(start, pos_ - start);
        return statement;
    }

private:
    void SkipBlanksAndComments()
    {
        for (;;) {
            while (pos_ < data_.size() && IsBlankOrLineEnd(data_[pos_])) ++pos_;
            if (pos_ == data_.size() || data_[pos_] != ';') return;
            while (pos_ < data_.size() && !IsLineEnd(data_[pos_])) ++pos_;
        }
    }

    std::string_view data_;
    std::size_t pos_ = 0;
};

// ---- keys ----------------------------------------------------------------------
// A key's names are joined by "\" in the file.  Letters, digits and "_-." are
// written as they are; any other character as "%XX", or "%UXXXX" past Latin-1.

bool IsPlainKeyCharacter(char16_t c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == '.';
}

QByteArray KeyForFile(const QString& key)
{
    QByteArray spelled;
    for (const QChar qc : key) {
        const char16_t c = qc.unicode();
        if (c == '/') {
            spelled += '\\';
        } else if (IsPlainKeyCharacter(c)) {
            spelled += char(c);
        } else if (c <= 0xFF) {
            spelled += '%';
            AppendHex(spelled, c, 2);
        } else {
            spelled += "%U";
            AppendHex(spelled, c, 4);
        }
    }
    return spelled;
}

// The character a "%" at `at` spells, and the length of its spelling; none
// where no complete code follows it (the "%" is then itself).
std::optional<std::pair<QChar, qsizetype>> PercentCode(const QString& s, qsizetype at)
{
    if (at + 1 >= s.size()) return std::nullopt;
    const bool wide = s[at + 1] == QLatin1Char('U');
    const qsizetype first = at + (wide ? 2 : 1), digits = wide ? 4 : 2;
    if (first + digits > s.size()) return std::nullopt;
    unsigned code = 0;
    for (qsizetype d = first; d < first + digits; ++d) {
        const int digit = HexDigitValue(s[d].unicode());
        if (digit < 0) return std::nullopt;
        code = code * 16 + unsigned(digit);
    }
    return std::pair{QChar(char16_t(code)), first + digits - at};
}

// Written by hand, a key may hold any UTF-8 text.
QString KeyFromFile(std::string_view bytes)
{
    const QString spelled = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    QString key;
    key.reserve(spelled.size());
    for (qsizetype i = 0; i < spelled.size();) {
        const QChar c = spelled[i];
        std::optional<std::pair<QChar, qsizetype>> code;
        if (c == QLatin1Char('%')) code = PercentCode(spelled, i);
        if (code) {
            key += code->first;
            i += code->second;
        } else {
            key += c == QLatin1Char('\\') ? QChar(u'/') : c;
            ++i;
        }
    }
    return key;
}

// The keys of "[General]" (in any case) lie below no section; "[%General]"
// names a section called so.  What else follows "[" up to "]" is a key.
QString SectionFromFile(std::string_view statement)
{
    std::string_view name = statement.substr(1, statement.find(']') - 1);
    const auto isSpace = [](char c) { return IsBlankOrLineEnd(c) || c == '\v' || c == '\f'; };
    while (!name.empty() && isSpace(name.front())) name.remove_prefix(1);
    while (!name.empty() && isSpace(name.back())) name.remove_suffix(1);
    if (SameLetters(name, "general")) return {};
    if (SameLetters(name, "%general")) return QString::fromLatin1(name.data() + 1, qsizetype(name.size() - 1));
    return KeyFromFile(name);
}

QByteArray SectionForFile(const QString& section)
{
    if (section.isEmpty()) return "General";
    const QByteArray spelled = KeyForFile(section);
    // Marked, so that it is not read as the keys below no section.
    if (SameLetters(std::string_view(spelled.constData(), std::size_t(spelled.size())), "general"))
        return '%' + spelled;
    return spelled;
}

// ---- values --------------------------------------------------------------------
// Double quotes keep what lies between them, commas and blanks included.
// Blanks before the value, and after a closing quote, are no part of it; an
// unquoted value loses the blanks it ends with, back to its last escape.
// A comma outside quotes makes the value a list.  A backslash escapes: the C
// escapes, "\x" with hexadecimal digits and "\" with octal digits (as many
// as follow) for a character's code; before a line end it joins the lines;
// any other character it escapes is dropped.

char SimpleEscape(char c)
{
    switch (c) {
    case 'a': return '\a';
    case 'b': return '\b';
    case 'f': return '\f';
    case 'n': return '\n';
    case 'r': return '\r';
    case 't': return '\t';
    case 'v': return '\v';
    case '"':
    case '\'':
    case '?':
    case '\\': return c;
    default: return 0;
    }
}

class ValueReader {
public:
    explicit ValueReader(std::string_view raw) : raw_(raw) {}

    // The text; none for a list, which no setting of the program's is.
    std::optional<QString> Text()
    {
        bool inQuotes = false, quoted = false;
        SkipBlanks();
        while (at_ < raw_.size()) {
            const char c = raw_[at_];
            if (c == '\\') {
                Escape();
                kept_ = text_.size();
            } else if (c == '"') {
                ++at_;
                quoted = true;
                inQuotes = !inQuotes;
                if (!inQuotes) SkipBlanks();
            } else if (c == ',' && !inQuotes) {
                return std::nullopt;
            } else {
                Plain();
            }
        }
        if (!quoted)
            while (text_.size() > kept_ && (text_.back() == QLatin1Char(' ') || text_.back() == QLatin1Char('\t')))
                text_.chop(1);
        return text_;
    }

private:
    void SkipBlanks()
    {
        while (at_ < raw_.size() && IsBlank(raw_[at_])) ++at_;
    }

    // Bytes up to the next backslash, quote or comma (one at `at_` included).
    void Plain()
    {
        std::size_t end = at_ + 1;
        while (end < raw_.size() && raw_[end] != '\\' && raw_[end] != '"' && raw_[end] != ',') ++end;
        // One decoder for all of them: a character's bytes may lie on both
        // sides of an escape.
        text_ += utf8_(QByteArrayView(raw_.data() + at_, qsizetype(end - at_)));
        at_ = end;
    }

    void Escape()
    {
        const std::size_t past = PastEscape(raw_, at_);
        if (past == at_ + 1) {  // a backslash that ends the value
            at_ = past;
            return;
        }
        const char escaped = raw_[at_ + 1];
        if (const char simple = SimpleEscape(escaped)) {
            text_ += QLatin1Char(simple);
            at_ = past;
        } else if (escaped == 'x') {
            at_ = past;
            AppendCode(16);
        } else if (escaped >= '0' && escaped <= '7') {
            at_ += 1;  // the first digit is the code's
            AppendCode(8);
        } else {
            at_ = past;  // a line end joined, or a character dropped
        }
    }

    // The code in the digits of `base` at `at_`; nothing without a digit.
    void AppendCode(unsigned base)
    {
        const auto digit = [&](char c) {
            const int v = HexDigitValue(char16_t(static_cast<unsigned char>(c)));
            return v >= 0 && unsigned(v) < base ? v : -1;
        };
        if (at_ == raw_.size() || digit(raw_[at_]) < 0) return;
        char16_t code = 0;
        for (int v; at_ < raw_.size() && (v = digit(raw_[at_])) >= 0; ++at_) code = char16_t(code * base + unsigned(v));
        text_ += QChar(code);
    }

    std::string_view raw_;
    std::size_t at_ = 0;
    QString text_;
    qsizetype kept_ = 0;  // text_ up to here keeps its blanks
    QStringDecoder utf8_{QStringDecoder::Utf8};
};

// A text the format would take for the mark of another kind of value, or
// that holds a null character, is marked as a text.
QString MarkedText(const QString& text)
{
    if (text.contains(QChar::Null)) return QStringLiteral("@String(") + text + QLatin1Char(')');
    if (text.startsWith(QLatin1Char('@'))) return QLatin1Char('@') + text;
    return text;
}

// What a text marked so stands for; none for another kind of value.
std::optional<QString> Unmarked(const QString& s)
{
    if (!s.startsWith(QLatin1Char('@'))) return s;
    if (s.endsWith(QLatin1Char(')'))) {
        if (s.startsWith(QLatin1String("@String("))) return s.sliced(8).chopped(1);
        if (s.startsWith(QLatin1String("@ByteArray("))) return QString::fromUtf8(s.sliced(11).chopped(1).toLatin1());
        for (const char* kind : {"@Variant(", "@DateTime(", "@Rect(", "@Size(", "@Point("})
            if (s.startsWith(QLatin1String(kind))) return std::nullopt;
        if (s == QLatin1String("@Invalid()")) return std::nullopt;
    }
    if (s.startsWith(QLatin1String("@@"))) return s.sliced(1);
    return s;
}

QByteArray ValueForFile(const QString& text)
{
    const QString marked = MarkedText(text);
    QByteArray spelled;
    QString plain;  // characters written as they are, in UTF-8
    const auto escape = [&](const QByteArray& escaped) {
        spelled += plain.toUtf8();
        plain.clear();
        spelled += escaped;
    };
    // After a code, a hexadecimal digit would be read as more of it.
    bool afterCode = false;
    bool quote = false;
    for (const QChar qc : marked) {
        const char16_t c = qc.unicode();
        quote = quote || c == ';' || c == ',' || c == '=';
        if (afterCode && IsHexDigit(c)) {
            escape("\\x" + QByteArray::number(c, 16));
            continue;
        }
        afterCode = false;
        if (c == 0) {
            escape("\\0");
            afterCode = true;
        } else if (c == '"' || c == '\\') {
            escape(QByteArray(1, '\\') + char(c));
        } else if (c < 0x20) {
            static constexpr char kLetters[] = "abtnvfr";  // \a is 7, \r is 13
            if (c >= '\a' && c <= '\r') {
                escape(QByteArray(1, '\\') + kLetters[c - '\a']);
            } else {
                escape("\\x" + QByteArray::number(c, 16));
                afterCode = true;
            }
        } else {
            plain += qc;
        }
    }
    spelled += plain.toUtf8();
    if (quote || spelled.startsWith(' ') || spelled.endsWith(' ')) spelled = '"' + spelled + '"';
    return spelled;
}

// A value read up to the end of the file may end inside quotes, with a
// backslash that escapes nothing, or with an escaped carriage return that
// the line end written after it would pair with.  Written back with a line
// after it, such a value would take that line in: closed, it reads the same
// and ends on its line.
QByteArray Closed(std::string_view raw)
{
    bool inQuotes = false, dangling = false, escapedReturn = false;
    for (std::size_t i = 0; i < raw.size();) {
        if (raw[i] == '\\') {
            dangling = i + 1 == raw.size();
            escapedReturn = i + 2 == raw.size() && raw[i + 1] == '\r';
            i = PastEscape(raw, i);
            continue;
        }
        if (raw[i] == '"') inQuotes = !inQuotes;
        ++i;
    }
    QByteArray closed(raw.data(), qsizetype(raw.size()));
    // An escaped space is dropped, as the lone backslash was; an escaped CR
    // LF joins lines as the CR alone did.
    if (dangling) closed += ' ';
    if (escapedReturn) closed += '\n';
    if (inQuotes) closed += '"';
    return closed;
}

}  // namespace

QString IniDocument::NormalizedKey(const QString& key)
{
    return key.split(QLatin1Char('/'), Qt::SkipEmptyParts).join(QLatin1Char('/'));
}

IniDocument IniDocument::Parse(std::string_view data)
{
    IniDocument doc;
    if (data.starts_with("\xEF\xBB\xBF")) data.remove_prefix(3);
    StatementReader statements(data);
    QString section;  // with its "/", or empty
    while (const std::optional<Statement> s = statements.Next()) {
        if (s->text.front() == '[') {
            section = SectionFromFile(s->text);
            if (!section.isEmpty()) section += QLatin1Char('/');
            continue;
        }
        if (s->equals == std::string_view::npos) continue;  // neither: skipped
        std::string_view name = s->text.substr(0, s->equals), value = s->text.substr(s->equals + 1);
        while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
        while (!value.empty() && IsBlank(value.front())) value.remove_prefix(1);
        const QString key = NormalizedKey(section + KeyFromFile(name));
        if (!key.isEmpty()) doc.values_[key] = Closed(value);
    }
    return doc;
}

std::optional<QString> IniDocument::Text(const QString& key) const
{
    const auto found = values_.find(NormalizedKey(key));
    if (found == values_.end()) return std::nullopt;
    const std::optional<QString> text =
        ValueReader(std::string_view(found->second.constData(), std::size_t(found->second.size()))).Text();
    // A list is no text: the program reads it as an empty one.
    if (!text) return QString();
    return Unmarked(*text);
}

std::vector<QString> IniDocument::Keys() const
{
    std::vector<QString> keys;
    keys.reserve(values_.size());
    for (const auto& entry : values_) keys.push_back(entry.first);
    return keys;
}

void IniDocument::SetText(const QString& key, const QString& text)
{
    const QString k = NormalizedKey(key);
    if (!k.isEmpty()) values_[k] = ValueForFile(text);
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
    // The keys below a first name go in the section of that name, the rest in
    // "[General]"; sections, and the keys in each, in the order of their names.
    std::map<QString, QByteArray> sections;
    for (const auto& [key, raw] : values_) {
        const qsizetype slash = key.indexOf(QLatin1Char('/'));
        const QString section = slash < 0 ? QString() : key.first(slash);
        sections[section] += KeyForFile(slash < 0 ? key : key.sliced(slash + 1)) + '=' + raw + '\n';
    }
    QByteArray file;
    for (const auto& [section, lines] : sections) {
        if (!file.isEmpty()) file += '\n';
        file += '[' + SectionForFile(section) + "]\n" + lines;
    }
    return file.toStdString();
}

}  // namespace platform
