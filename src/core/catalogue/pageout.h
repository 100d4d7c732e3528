#pragma once

#include <cstdint>
#include <string>

#include "core/common/bytesink.h"

namespace zondari::catalogue {

// A page as it is made: pieces gathered in memory and handed to the sink a
// few pages of text at a time, so that a page of any size costs little memory.
class PageOut {
public:
    explicit PageOut(ByteSink& sink)
        : sink_(sink)
    {
    }

    // Hands over what `buffer` holds once it has grown past a few pages of
    // text, or always when `force`.
    Status flush(std::string& buffer, bool force = false)
    {
        if (buffer.empty() || (!force && buffer.size() < (1u << 20)))
            return {};
        if (auto st = sink_.write(buffer); !st)
            return st;
        buffer.clear();
        return {};
    }

    // How long the page is, with what `buffer` still holds.
    std::uint64_t position(const std::string& buffer) const { return sink_.size() + buffer.size(); }

    // Takes the page back to `position`: what came after it is made again.
    Status rewind(std::uint64_t position, std::string& buffer)
    {
        const std::uint64_t handed = sink_.size();
        if (position >= handed) {
            buffer.resize(static_cast<std::size_t>(position - handed));
            return {};
        }
        buffer.clear();
        return sink_.truncate(position);
    }

private:
    ByteSink& sink_;
};

} // namespace zondari::catalogue
