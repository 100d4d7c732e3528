#include "core/shell/filetypeboxes.h"

#include "core/common/text.h"

namespace zondari {

bool isFixedFileType(std::size_t index)
{
    return index == 0 || index == 1 || index == 21;
}

FileTypeBoxes boxesFromList(std::string_view list)
{
    FileTypeBoxes boxes{};
    for (std::size_t at = 0; at < list.size(); at += 4) {
        const std::string type = text::toUpper(list.substr(at + 1, 3));
        for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
            if (type == kFileTypeCaptions[i])
                boxes[i] = isFixedFileType(i) ? kBoxGrey : kBoxOn;
    }
    return boxes;
}

std::string listFromBoxes(const FileTypeBoxes& boxes)
{
    std::string list;
    for (std::size_t i = 0; i < kFileTypeBoxes; ++i)
        if (boxes[i] != kBoxOff)
            list += std::string(".") + kFileTypeCaptions[i];
    return list;
}

} // namespace zondari
