#include "core/catalogue/cataloguereader.h"

#include <algorithm>
#include <cstring>

namespace zondari::catalogue {

CatalogueReader::CatalogueReader(std::size_t bufferBytes)
    // The buffer holds at least a whole title line with its mark and end.
    : capacity_(std::max(bufferBytes, kMaxTitleBytes + 16))
{
}

CatalogueReader::~CatalogueReader() = default;

Status CatalogueReader::open(std::unique_ptr<ByteSource> source)
{
    source_ = std::move(source);
    failed_ = false;
    if (!buffer_)
        buffer_.reset(new char[capacity_]); // left uninitialised: reads fill it
    return readTitle();
}

Status CatalogueReader::readTitle()
{
    begin_ = end_ = 0;
    eof_ = skipping_ = false;
    if (auto st = fill(); !st)
        return st;
    const std::string_view head(buffer_.get(), end_);
    rawNames_ = head.starts_with(kRawNamesMark);
    if (rawNames_)
        begin_ = kRawNamesMark.size();
    std::string_view rest = head.substr(begin_);
    const std::size_t nl = rest.find('\n');
    std::string_view line = rest.substr(0, nl);
    if (nl != std::string_view::npos)
        begin_ += nl + 1;
    else if (eof_)
        begin_ = end_;
    else
        skipping_ = true; // a title longer than the buffer: the rest of it is passed over
    title_ = cutTitle(withoutLineEnd(line));
    wholeInBuffer_ = eof_ && !skipping_;
    bodyInBuffer_ = begin_;
    return {};
}

Status CatalogueReader::fill()
{
    while (end_ < capacity_ && !eof_) {
        const auto got = source_->read(buffer_.get() + end_, capacity_ - end_);
        if (!got)
            return failure(got.error());
        end_ += *got;
        if (*got == 0)
            eof_ = true;
    }
    return {};
}

Status CatalogueReader::skipLongLine()
{
    while (skipping_) {
        const std::string_view held(buffer_.get() + begin_, end_ - begin_);
        if (const std::size_t nl = held.find('\n'); nl != std::string_view::npos) {
            begin_ += nl + 1;
            skipping_ = false;
        } else if (eof_) {
            begin_ = end_;
            skipping_ = false;
        } else {
            begin_ = end_ = 0;
            if (auto st = fill(); !st)
                return st;
        }
    }
    return {};
}

Result<std::string_view> CatalogueReader::next()
{
    for (;;) {
        if (auto st = skipLongLine(); !st)
            return st.error();
        const std::string_view held(buffer_.get() + begin_, end_ - begin_);
        const std::size_t last = held.rfind('\n');
        if (last != std::string_view::npos || (eof_ && !held.empty())) {
            const std::size_t size = last != std::string_view::npos ? last + 1 : held.size();
            begin_ += size;
            return held.substr(0, size);
        }
        if (eof_)
            return std::string_view();
        if (held.size() == capacity_) {
            // One line fills the whole buffer: longer than any entry.
            begin_ = end_;
            skipping_ = true;
            continue;
        }
        std::memmove(buffer_.get(), held.data(), held.size());
        begin_ = 0;
        end_ = held.size();
        if (auto st = fill(); !st)
            return st.error();
    }
}

Status CatalogueReader::restart()
{
    if (wholeInBuffer_) {
        begin_ = bodyInBuffer_;
        return {};
    }
    if (auto st = source_->rewind(); !st)
        return failure(st.error());
    return readTitle();
}

Status CatalogueReader::failure(RuntimeError error)
{
    failed_ = true;
    return error;
}

} // namespace zondari::catalogue
