#include "ui/GridView.h"

#include "stats/Grid.h"
#include "ui/Twips.h"

#include <QHeaderView>
#include <QScrollBar>

namespace {
const QColor HeadingBack(212, 208, 200);
constexpr int RowHeightTwips = 240; // the grid control's default row height

bool looksNumeric(const QString& text)
{
    bool ok = false;
    text.trimmed().toDouble(&ok);
    return ok;
}
} // namespace

GridModel::GridModel(const Grid& grid, QObject* parent)
    : QAbstractTableModel(parent), grid_(grid), seen_(grid.revision()),
      rows_(grid.rows()), cols_(grid.cols())
{
}

int GridModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : std::max(0, rows_ - grid_.fixedRows());
}

int GridModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : cols_;
}

QVariant GridModel::alignment(int gridCol, const QString& text) const
{
    switch (grid_.colAlignment(gridCol)) {
    case Grid::AlignCentreCentre:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    case Grid::AlignCentreBottom:
        return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignBottom));
    default:
        // General: texts to the left, numbers to the right.
        return QVariant::fromValue(Qt::Alignment(
            (looksNumeric(text) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter));
    }
}

QVariant GridModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const int row = index.row() + grid_.fixedRows();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return grid_.text(row, col);
    case Qt::TextAlignmentRole:
        return alignment(col, grid_.text(row, col));
    case Qt::BackgroundRole:
        if (col < grid_.fixedCols())
            return HeadingBack;
        return QColor(Qt::white);
    default:
        return {};
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || grid_.fixedRows() == 0)
        return {};
    if (role == Qt::DisplayRole)
        return grid_.text(0, section);
    if (role == Qt::TextAlignmentRole)
        return alignment(section, grid_.text(0, section));
    return {};
}

bool GridModel::refresh()
{
    if (grid_.revision() == seen_)
        return false;
    seen_ = grid_.revision();
    if (grid_.rows() != rows_ || grid_.cols() != cols_) {
        beginResetModel();
        rows_ = grid_.rows();
        cols_ = grid_.cols();
        endResetModel();
    } else {
        if (rowCount() > 0 && columnCount() > 0)
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        if (columnCount() > 0)
            emit headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
    return true;
}

GridView::GridView(QWidget* parent, const QString& name, const Grid& grid)
    : QTableView(parent), model_(new GridModel(grid, this))
{
    setObjectName(name);
    setModel(model_);
    setFont(designFont(Face::SansSerif, 8.25));
    setEditTriggers(NoEditTriggers);
    setSelectionMode(NoSelection);
    setFocusPolicy(Qt::NoFocus);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setVerticalScrollMode(ScrollPerItem);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(twips::px(RowHeightTwips));
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setFixedHeight(twips::px(RowHeightTwips));
    horizontalHeader()->setFont(font());
    horizontalHeader()->setVisible(grid.fixedRows() > 0);
    setStyleSheet(QStringLiteral("QHeaderView::section { background: rgb(212,208,200);"
                                 " border: 0px; border-right: 1px solid gray;"
                                 " border-bottom: 1px solid gray; padding: 0px 2px; }"));
    setGeometry(twips::rect(0, 0, grid.width(), grid.height()));
    applyLayout();
}

void GridView::applyLayout()
{
    const Grid& grid = model_->grid();
    for (int c = 0; c < grid.cols(); ++c) {
        const int w = twips::px(grid.colWidth(c));
        if (columnWidth(c) != w)
            setColumnWidth(c, w);
    }
    if (grid.topRow() != appliedTopRow_ || grid.rows() != appliedRows_) {
        appliedTopRow_ = grid.topRow();
        appliedRows_ = grid.rows();
        // The scroll range must know the new rows before the view can
        // scroll to one of them.
        updateGeometries();
        const int row = grid.topRow() - grid.fixedRows();
        if (row >= 0 && row < model_->rowCount())
            scrollTo(model_->index(row, 0), PositionAtTop);
        else
            scrollToTop();
    }
}

void GridView::sync()
{
    if (model_->refresh())
        applyLayout();
}
