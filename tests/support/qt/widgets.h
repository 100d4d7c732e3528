#pragma once

#include <QListWidget>
#include <QStringList>
#include <QTest>

namespace zondari::test {

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

}  // namespace zondari::test
