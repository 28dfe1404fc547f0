#include "ui/GridView.h"

#include "stats/Grid.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QScrollBar>
#include <QStyle>
#include <QToolTip>

#include <algorithm>
#include <numeric>

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

void GridView::setWidestWidth(int pixels)
{
    widest_ = pixels;
    givenWidth_ = width();
    fitColumns();
}

int GridView::cellWidthFor(const QString& text) const
{
    if (text.isEmpty())
        return 0;
    auto known = textWidths_.constFind(text);
    if (known == textWidths_.constEnd()) {
        if (textWidths_.size() >= 4096) // a long history's dates: start again
            textWidths_.clear();
        known = textWidths_.insert(text, fontMetrics().horizontalAdvance(text));
    }
    // The item's text margins either side and the grid line at its right.
    const int margin = style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, this) + 1;
    return *known + 2 * margin + 1 + 1;
}

void GridView::changeEvent(QEvent* e)
{
    if (e->type() == QEvent::FontChange || e->type() == QEvent::StyleChange)
        textWidths_.clear();
    QTableView::changeEvent(e);
}

bool GridView::columnFits(int col) const
{
    const Grid& grid = model_->grid();
    for (int r = 0; r < grid.rows(); ++r)
        if (cellWidthFor(grid.text(r, col)) > columnWidth(col))
            return false;
    return true;
}

// Widening a column never moves the tables beside it: the view grows to the
// right only as far as it is allowed to.
void GridView::fitColumns()
{
    const Grid& grid = model_->grid();
    const int cols = grid.cols();
    if (givenWidth_ < 0)
        givenWidth_ = width();
    std::vector<int> design(std::size_t(std::max(0, cols)), 0), wanted(design);
    for (int c = 0; c < cols; ++c) {
        design[std::size_t(c)] = twips::px(grid.colWidth(c));
        int need = 0;
        for (int r = 0; r < grid.rows(); ++r)
            need = std::max(need, cellWidthFor(grid.text(r, c)));
        wanted[std::size_t(c)] = std::max(design[std::size_t(c)], need);
    }
    const int designTotal = std::accumulate(design.begin(), design.end(), 0);
    const int wantedTotal = std::accumulate(wanted.begin(), wanted.end(), 0);

    // The room inside the frame, less a scroll bar when the rows need one.
    const int rowsHeight = model_->rowCount() * verticalHeader()->defaultSectionSize()
        + (horizontalHeader()->isVisible() ? horizontalHeader()->height() : 0);
    const int frame = 2 * frameWidth();
    const int bar = rowsHeight > height() - frame ? verticalScrollBar()->sizeHint().width() : 0;
    const int outside = frame + bar;
    const int roomNow = std::max(givenWidth_, designTotal + outside) - outside;
    const int roomMost = std::max(roomNow, widest_ - outside);

    int total = wantedTotal;
    if (total > roomMost) {
        // Not all can widen: the columns that grew most give back first, never
        // below their own width; their texts end in an ellipsis.
        int excess = total - roomMost;
        while (excess > 0) {
            int grown = -1;
            for (int c = 0; c < cols; ++c)
                if (wanted[std::size_t(c)] > design[std::size_t(c)]
                    && (grown < 0
                        || wanted[std::size_t(c)] - design[std::size_t(c)]
                            > wanted[std::size_t(grown)] - design[std::size_t(grown)]))
                    grown = c;
            if (grown < 0)
                break;
            const int give = std::min(excess, std::max(1, (wanted[std::size_t(grown)]
                                                           - design[std::size_t(grown)]) / 2));
            wanted[std::size_t(grown)] -= give;
            excess -= give;
        }
        total = std::accumulate(wanted.begin(), wanted.end(), 0);
    }
    for (int c = 0; c < cols; ++c)
        if (columnWidth(c) != wanted[std::size_t(c)])
            setColumnWidth(c, wanted[std::size_t(c)]);
    const int viewWidth = std::max(givenWidth_, std::min(total + outside, std::max(widest_, givenWidth_)));
    fittedWidth_ = viewWidth;
    if (width() != viewWidth)
        resize(viewWidth, height());
}

void GridView::resizeEvent(QResizeEvent* e)
{
    QTableView::resizeEvent(e);
    // A size given from outside is the view's own width from now on.
    if (width() != fittedWidth_) {
        givenWidth_ = width();
        fitColumns();
    }
}

bool GridView::viewportEvent(QEvent* e)
{
    if (e->type() == QEvent::ToolTip) {
        // A text cut short shows whole when the pointer rests on it.
        const auto* help = static_cast<QHelpEvent*>(e);
        const QModelIndex index = indexAt(help->pos());
        const QString text = index.isValid() ? index.data().toString() : QString();
        if (!text.isEmpty() && cellWidthFor(text) > columnWidth(index.column()))
            QToolTip::showText(help->globalPos(), LiteralToolTip(text), viewport());
        else
            QToolTip::hideText();
        return true;
    }
    return QTableView::viewportEvent(e);
}

void GridView::applyLayout()
{
    fitColumns();
    const Grid& grid = model_->grid();
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
