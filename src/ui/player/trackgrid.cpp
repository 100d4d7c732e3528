#include "ui/player/trackgrid.h"

#include <QDateTime>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>

#include "ui/shell/shortdate.h"

namespace zondari {

void TrackGridModel::setHeaders(const QStringList& headers)
{
    headers_ = headers;
    emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

void TrackGridModel::setRows(std::vector<TrackRow> rows)
{
    beginResetModel();
    rows_ = std::move(rows);
    endResetModel();
}

int TrackGridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int TrackGridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

QString TrackGridModel::text(int row, int column) const
{
    if (row < 0 || row >= static_cast<int>(rows_.size()))
        return {};
    const TrackRow& r = rows_[static_cast<std::size_t>(row)];
    switch (column) {
    case 0:
        return QString::number(r.number);
    case 1:
        return QString::fromStdString(r.title);
    case 2:
        return QString::number(r.size);
    case 3:
        return shortDate(QDateTime::fromSecsSinceEpoch(r.modified).date());
    default:
        return {};
    }
}

QVariant TrackGridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole)
        return static_cast<int>(
            (index.column() == 0 || index.column() == 2 ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    return {};
}

QVariant TrackGridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section < headers_.size())
        return headers_[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

TrackGrid::TrackGrid(QWidget* parent)
    : QTableView(parent)
    , model_(new TrackGridModel(this))
{
    setModel(model_);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAlternatingRowColors(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(true);
    // The header row is row 0 of the grid: a click on it selects row 0.
    connect(horizontalHeader(), &QHeaderView::sectionClicked, this, [this] {
        row_ = 0;
        emit Click();
    });
    connect(model_, &QAbstractItemModel::modelReset, this, [this] { row_ = 0; });
}

void TrackGrid::setColumnWidths(int c0, int c1, int c2, int c3)
{
    setColumnWidth(0, c0);
    setColumnWidth(1, c1);
    setColumnWidth(2, c2);
    setColumnWidth(3, c3);
}

void TrackGrid::setRow(int row)
{
    row_ = std::clamp(row, 0, rows() - 1);
    if (row_ >= 1) {
        const QModelIndex index = model_->index(row_ - 1, 1);
        setCurrentIndex(index);
        scrollTo(index);
    } else {
        clearSelection();
    }
}

std::string TrackGrid::title(int row) const
{
    if (row >= 1 && row < rows())
        return model_->rows()[static_cast<std::size_t>(row - 1)].title;
    return textMatrix(row, 1).toStdString();
}

QString TrackGrid::textMatrix(int row, int column) const
{
    if (row == 0)
        return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
    return model_->text(row - 1, column);
}

void TrackGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (current.isValid())
        row_ = current.row() + 1;
}

void TrackGrid::mousePressEvent(QMouseEvent* e)
{
    QTableView::mousePressEvent(e);
    if (e->button() == Qt::LeftButton) {
        // A click below the last row leaves the current row as it is, as on
        // an empty grid, where it is the header.
        const QModelIndex index = indexAt(e->position().toPoint());
        if (index.isValid())
            row_ = index.row() + 1;
        emit Click();
    }
}

void TrackGrid::keyPressEvent(QKeyEvent* e)
{
    if ((e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) && row_ >= 1) {
        emit activatedRow();
        return;
    }
    QTableView::keyPressEvent(e);
}

} // namespace zondari
