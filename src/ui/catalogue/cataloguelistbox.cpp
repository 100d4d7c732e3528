#include "ui/catalogue/cataloguelistbox.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zondari {

void CatalogueListBox::keyPressEvent(QKeyEvent* e)
{
    QListWidget::keyPressEvent(e);
    const QString text = e->text();
    if (!text.isEmpty() && text.front().isPrint())
        emit characterKey();
}

void CatalogueListBox::mousePressEvent(QMouseEvent* e)
{
    QListWidget::mousePressEvent(e);
    if (e->button() == Qt::RightButton)
        emit rightButtonPressed(e->globalPosition().toPoint());
}

} // namespace zondari
