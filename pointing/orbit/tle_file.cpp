// The element-set reader and the two tests run on a set before it is used.
#include "pointing/orbit/tle_file.h"

#include "pointing/orbit/sgp4sdp4.h"

#include <cstring>

namespace {

constexpr std::size_t kElementLineLength = 69;
constexpr std::size_t kMaxNameLineLength = 26;
constexpr std::size_t kStoredNameLength = sizeof(TleEntry::name) - 1;

// Splits text into lines at LF, CR LF or CR.
class LineReader {
public:
    explicit LineReader(std::string_view text) : text_(text) {}

    std::size_t LineNumber() const { return lineNumber_; }
    // The last line ran into the end of the text without a line end.
    bool LastLineUnended() const { return unended_; }

    std::string_view Next() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && text_[pos_] != '\n' && text_[pos_] != '\r') ++pos_;
        const std::string_view line = text_.substr(start, pos_ - start);
        unended_ = pos_ == text_.size();
        if (pos_ < text_.size() && text_[pos_] == '\r') {
            ++pos_;
            if (pos_ < text_.size() && text_[pos_] == '\n') ++pos_;
        } else if (pos_ < text_.size()) {
            ++pos_;  // LF
        }
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
};

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string_view TrimEnd(std::string_view line) {
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) line.remove_suffix(1);
    return line;
}

// A missing line counts as an empty one, numbered after the last.
bool ReadElementLine(LineReader& reader, char (&field)[70]) {
    const std::string_view line = TrimEnd(reader.Next());
    if (line.size() != kElementLineLength) return false;
    std::memcpy(field, line.data(), kElementLineLength);
    field[kElementLineLength] = '\0';
    return true;
}

}  // namespace

TleReadResult ReadTleText(std::string_view text) {
    TleReadResult result;
    LineReader reader(text);
    std::vector<TleEntry> entries;
    while (!reader.RestIsBlank()) {
        TleEntry entry;
        const std::string_view name = TrimEnd(reader.Next());
        if (name.size() > kMaxNameLineLength) {
            result.failedLine = reader.LineNumber();
            return result;
        }
        // A name cut off by the end of the file (a copy broken off there)
        // ends the reading; the sets before it are kept.
        if (reader.LastLineUnended()) break;
        const std::size_t kept = name.size() < kStoredNameLength ? name.size() : kStoredNameLength;
        std::memcpy(entry.name, name.data(), kept);
        entry.name[kept] = '\0';
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
