#include "core/player/titlescroller.h"

#include "core/common/text.h"

namespace zondari {

std::string TitleScroller::tick(const std::string& title)
{
    const auto length = static_cast<int>(text::charCount(title));
    if (++position_ > length + 6)
        position_ = 1;
    const std::string framed = "   " + title + "   ";
    return text::leftChars(text::midChars(framed, static_cast<std::size_t>(position_ - 1), kWidth) + title, kWidth);
}

} // namespace zondari
