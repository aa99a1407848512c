// The single-instance socket's byte stream cut into lines.  Plain C++, so that
// it can be fuzzed on its own.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// Longest line the single-instance socket passes on whole.
inline constexpr std::size_t kMaxSocketLineBytes = 4096;

// Collects the bytes of one connection and hands out complete lines (without
// their '\n').  A line longer than the limit is handed out once, cut to the
// limit, and the rest of it up to its newline is dropped: it never becomes a
// second line.  The buffer never holds more than the limit.
class LineAssembler {
public:
    explicit LineAssembler(std::size_t maxLineBytes = kMaxSocketLineBytes) : max_(maxLineBytes) {}

    // Appends received bytes; each line they complete is added to `lines`.
    void Feed(std::string_view bytes, std::vector<std::string>& lines);
    // The sender hung up: a last line without its newline is complete too.
    void Finish(std::vector<std::string>& lines);

private:
    std::size_t max_;
    std::string partial_;
    bool skipping_ = false;  // inside a line already handed out cut
};

}  // namespace platform
