// The element-set reader and the two tests run on a set before it is used.
#include "pointing/orbit/tle_file.h"

#include "pointing/orbit/sgp4sdp4.h"
#include "platform/user_text.h"

#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kElementLineLength = 69;
constexpr std::size_t kMaxNameLineLength = 26;
constexpr std::size_t kStoredNameLength = sizeof(TleEntry::name) - 1;

bool PrintableAscii(unsigned char c) { return c >= 0x20 && c < 0x7F; }

// Eight bytes, each a printable ASCII character: none has its high bit set,
// none is below the blank (its high bit appears in x - 0x20 where x had
// none) and none is DEL (zero after x ^ 0x7F).
bool PrintableAscii(std::uint64_t x) {
    constexpr std::uint64_t kOnes = 0x0101010101010101u;
    constexpr std::uint64_t kHigh = 0x8080808080808080u;
    const std::uint64_t del = x ^ (0x7F * kOnes);
    return ((x | ((x - 0x20 * kOnes) & ~x) | ((del - kOnes) & ~del)) & kHigh) == 0;
}

// Splits text into lines where they end (platform::LineEndAt), and tells
// whether a line is plain: printable ASCII only, as nearly every line is,
// which the table shows byte for byte.  Such lines are passed over eight
// bytes at a time.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::size_t LineNumber() const { return lineNumber_; }
    // The last line ran into the end of the text without a line end.
    bool LastLineUnended() const { return unended_; }
    bool LastLinePlain() const { return plain_; }

    std::string_view Next() {
        const std::size_t start = pos_;
        plain_ = true;
        for (;;) {
            std::uint64_t word;
            while (text_.size() - pos_ >= sizeof word &&
                   (std::memcpy(&word, text_.data() + pos_, sizeof word), PrintableAscii(word))) {
                pos_ += sizeof word;
            }
            if (pos_ == text_.size()) break;
            const auto c = static_cast<unsigned char>(text_[pos_]);
            if (platform::IsLineEnd(static_cast<char>(c))) break;
            plain_ = plain_ && PrintableAscii(c);
            ++pos_;
        }
        const std::string_view line = text_.substr(start, pos_ - start);
        unended_ = pos_ == text_.size();
        pos_ += platform::LineEndAt(text_, pos_);
        ++lineNumber_;
        return line;
    }

    // Only blanks and line ends remain.
    bool RestIsBlank() const {
        for (std::size_t i = pos_; i < text_.size(); ++i) {
            const char c = text_[i];
            if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
        }
        return true;
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lineNumber_ = 0;
    bool unended_ = false;
    bool plain_ = true;
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// A character as the table (Latin-1 text) shows it.
char Shown(char32_t c) { return c > 0xFF || platform::IsControlChar(c) ? '?' : static_cast<char>(c); }

// The next line's first `keep` characters as the table shows them into
// `out`, zero-terminated; returns how many characters the line has (blanks
// and tabs at its end not counted).
std::size_t ShowLine(LineReader& reader, char* out, std::size_t keep) {
    const std::string_view line = TrimEnd(reader.Next());
    if (reader.LastLinePlain()) {
        const std::size_t kept = line.size() < keep ? line.size() : keep;
        std::memcpy(out, line.data(), kept);
        out[kept] = '\0';
        return line.size();
    }
    // A byte-order mark that starts a later line (two files joined) is a
    // character the table cannot show.
    std::string_view rest = line;
    std::size_t count = 0;
    if (platform::TakeLeadingByteOrderMark(rest)) {
        if (count < keep) out[count] = Shown(platform::kByteOrderMarkChar);
        ++count;
    }
    const platform::UserLine shown(rest);
    for (std::size_t at = 0; at < rest.size(); ++count) {
        const char32_t c = shown.Next(at);
        if (count < keep) out[count] = Shown(c);
    }
    out[count < keep ? count : keep] = '\0';
    return count;
}

// A missing line counts as an empty one, numbered after the last.
bool ReadElementLine(LineReader& reader, char (&field)[70]) {
    return ShowLine(reader, field, kElementLineLength) == kElementLineLength;
}

}  // namespace

TleReadResult ReadTleText(std::string_view fileBytes) {
    TleReadResult result;
    LineReader reader(platform::WithoutByteOrderMark(fileBytes));
    std::vector<TleEntry> entries;
    while (!reader.RestIsBlank()) {
        TleEntry entry;
        const std::size_t nameLength = ShowLine(reader, entry.name, kStoredNameLength);
        if (nameLength > kMaxNameLineLength) {
            result.failedLine = reader.LineNumber();
            return result;
        }
        // A name cut off by the end of the file (a copy broken off there)
        // ends the reading; the sets before it are kept.
        if (reader.LastLineUnended()) break;
        if (!ReadElementLine(reader, entry.line1) || !ReadElementLine(reader, entry.line2)) {
            result.failedLine = reader.LineNumber();
            return result;
        }
        entries.push_back(entry);
    }
    result.ok = true;
    result.entries = std::move(entries);
    return result;
}

bool TSgp4Sdp4::TleLineChecksumOk(const char* line) {
    const std::size_t length = strnlen(line, kElementLineLength + 1);
    if (length == 0) return false;
    int sum = 0;
    for (std::size_t i = 0; i + 1 < length; ++i) {
        const char c = line[i];
        if (c >= '0' && c <= '9') sum += c - '0';
        if (c == '-') sum += 1;
    }
    const char last = line[length - 1];
    return last >= '0' && last <= '9' && last - '0' == sum % 10;
}

bool TSgp4Sdp4::TlePairWellFormed(const char* line1, const char* line2) {
    if (strnlen(line1, kElementLineLength + 1) != kElementLineLength ||
        strnlen(line2, kElementLineLength + 1) != kElementLineLength) {
        return false;
    }
    if (!TleLineChecksumOk(line1) || !TleLineChecksumOk(line2)) return false;
    if (line1[0] != '1' || line2[0] != '2') return false;
    for (int i = 2; i < 7; ++i) {
        if (AsciiLower(line1[i]) != AsciiLower(line2[i])) return false;
    }
    if (line1[23] != '.' || line1[34] != '.') return false;
    if (line1[61] != ' ' || line1[62] != '0' || line1[63] != ' ') return false;
    for (int column : {12, 21, 38, 47, 55}) {
        if (line2[column - 1] != '.') return false;
    }
    return true;
}
