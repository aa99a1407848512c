#include "platform/socket_lines.h"

namespace platform {

void LineAssembler::Feed(std::string_view bytes, std::vector<std::string>& lines)
{
    while (!bytes.empty()) {
        const std::size_t newline = bytes.find('\n');
        const std::string_view piece = bytes.substr(0, newline);
        if (!skipping_) {
            const std::size_t room = max_ - partial_.size();
            partial_.append(piece.substr(0, room));
            if (piece.size() > room) {
                // Too long: what fits goes out now, the rest is dropped.
                lines.push_back(std::move(partial_));
                partial_.clear();
                skipping_ = true;
            }
        }
        if (newline == std::string_view::npos) return;
        if (!skipping_) lines.push_back(std::move(partial_));
        partial_.clear();
        skipping_ = false;
        bytes.remove_prefix(newline + 1);
    }
}

void LineAssembler::Finish(std::vector<std::string>& lines)
{
    if (!skipping_ && !partial_.empty()) lines.push_back(std::move(partial_));
    partial_.clear();
    skipping_ = false;
}

}  // namespace platform
