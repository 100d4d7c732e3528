#pragma once

#include "platform/screen.h"

namespace zondari {

// The primary screen of the running Qt application.
class QtScreen : public Screen {
public:
    int widthTwips() const override;
    int heightTwips() const override;
    double twipsPerPixel() const override;
};

} // namespace zondari
