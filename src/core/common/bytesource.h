#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

#include "core/common/result.h"

namespace zondari {

// Where bytes are read from, a block at a time: a file the platform opened,
// or bytes in memory. Core reads through one and opens nothing itself.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to `most` bytes into `to`; 0 at the end.
    virtual Result<std::size_t> read(char* to, std::size_t most) = 0;
    // Back to the first byte.
    virtual Status rewind() = 0;
};

// Opens the source of a name (a catalogue file's path).
using SourceOpener = std::function<Result<std::unique_ptr<ByteSource>>(const std::string& name)>;

// A source over bytes kept in memory.
class StringSource : public ByteSource {
public:
    explicit StringSource(std::string bytes)
        : bytes_(std::move(bytes))
    {
    }
    Result<std::size_t> read(char* to, std::size_t most) override
    {
        const std::size_t n = std::min(most, bytes_.size() - at_);
        bytes_.copy(to, n, at_);
        at_ += n;
        return n;
    }
    Status rewind() override
    {
        at_ = 0;
        return {};
    }

private:
    std::string bytes_;
    std::size_t at_ = 0;
};

} // namespace zondari
