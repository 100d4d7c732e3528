#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/common/result.h"

namespace zondari {

// Where the new contents of a file go while they are made: core writes into
// one, the platform decides where it lands (a file written aside and
// renamed into place, or memory in a test).
class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Adds `bytes` after what is there.
    virtual Status write(std::string_view bytes) = 0;
    // Keeps the first `size` bytes and drops the rest, so that what follows
    // is written after them.
    virtual Status truncate(std::uint64_t size) = 0;
    virtual std::uint64_t size() const = 0;
};

// Makes the whole contents of a file into the sink it is given.
using ByteProducer = std::function<Status(ByteSink&)>;

// A sink that keeps what it is given.
class StringSink : public ByteSink {
public:
    Status write(std::string_view bytes) override
    {
        bytes_.append(bytes);
        return {};
    }
    Status truncate(std::uint64_t size) override
    {
        if (size < bytes_.size())
            bytes_.resize(static_cast<std::size_t>(size));
        return {};
    }
    std::uint64_t size() const override { return bytes_.size(); }
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

} // namespace zondari
