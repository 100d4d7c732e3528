#pragma once

#include <QListWidget>
#include <QStringList>
#include <QTest>
#include <gtest/gtest.h>

namespace zondari::test {

// The control of `window` named `name`, as the window names its controls;
// a test that looks for one the window lacks fails.
template <class T = QWidget> T* control(const QObject* window, const QString& name)
{
    T* found = window ? window->findChild<T*>(name) : nullptr;
    if (!found)
        ADD_FAILURE() << "no control " << name.toStdString();
    return found;
}

// The items of a list box, top to bottom.
inline QStringList listTexts(const QListWidget* list)
{
    QStringList out;
    for (int i = 0; i < list->count(); ++i)
        out << list->item(i)->text();
    return out;
}

// A click on the item at `row`, as the mouse gives it.
inline void clickItem(QListWidget* list, int row, Qt::MouseButton button = Qt::LeftButton)
{
    QTest::mouseClick(list->viewport(), button, {}, list->visualItemRect(list->item(row)).center());
}

} // namespace zondari::test
