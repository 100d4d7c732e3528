#include "ui/shell/childwindow.h"

#include <QMdiSubWindow>

namespace zondari {

QMdiSubWindow* childWindowOf(QWidget* widget)
{
    for (QWidget* w = widget; w; w = w->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(w))
            return sub;
    }
    return nullptr;
}

QWidget* windowOf(QWidget* widget)
{
    if (QMdiSubWindow* sub = childWindowOf(widget))
        return sub;
    return widget;
}

void unloadWindow(QWidget* widget)
{
    windowOf(widget)->close();
}

} // namespace zondari
