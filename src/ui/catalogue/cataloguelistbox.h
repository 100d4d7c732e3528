#pragma once

#include <QListWidget>

namespace zondari {

// The catalogue list: a sorted list box that also tells of a character key
// pressed in it (after the list has moved to the matching item) and of a
// right-button press.
class CatalogueListBox : public QListWidget {
    Q_OBJECT
public:
    using QListWidget::QListWidget;

signals:
    void characterKey();
    void rightButtonPressed(const QPoint& globalPos);

protected:
    void keyPressEvent(QKeyEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
};

} // namespace zondari
