#pragma once

#include <QIcon>
#include <QString>

namespace zondari {

// The player toolbar's pictures, drawn for the program: one for each
// button key, with a brighter one for the button under the mouse. An
// unknown key gives an empty icon.
QIcon toolbarIcon(const QString& key, int size = 24);

} // namespace zondari
