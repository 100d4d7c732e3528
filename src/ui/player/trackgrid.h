#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <vector>

#include "core/player/trackrows.h"

namespace zondari {

class Screen;

// The rows of the track grid; dates are formatted only when shown.
class TrackGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setHeaders(const QStringList& headers);
    void setRows(std::vector<TrackRow> rows);
    const std::vector<TrackRow>& rows() const { return rows_; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The text a cell shows.
    QString text(int row, int column) const;

private:
    QStringList headers_;
    std::vector<TrackRow> rows_;
};

// The track grid, addressed as the program addresses it: row 0 is the fixed
// header row, track rows are numbered from 1, `rows()` counts both.
class TrackGrid : public QTableView {
    Q_OBJECT
public:
    explicit TrackGrid(QWidget* parent = nullptr);

    TrackGridModel* gridModel() const { return model_; }

    int rows() const { return model_->rowCount() + 1; }
    int row() const { return row_; }
    void setRow(int row);
    QString textMatrix(int row, int column) const;
    // Column 1 as its bytes: a file name that is not UTF-8 keeps them, where
    // the text shown has U+FFFD in their place. The header's text for row 0.
    std::string title(int row) const;

    // Column widths in pixels.
    void setColumnWidths(int c0, int c1, int c2, int c3);

signals:
    // A click on the grid, a row or the header; `row()` tells which.
    void Click();
    // Enter on a track row.
    void activatedRow();

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    TrackGridModel* model_;
    int row_ = 0;
};

} // namespace zondari
