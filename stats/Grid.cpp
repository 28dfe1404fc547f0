#include "stats/Grid.h"

#include "base/ChangeJournal.h"

Grid::Grid(QString name, int rows, int cols, int fixedRows, int fixedCols,
           int widthTwips, int heightTwips)
    : name_(std::move(name)), rows_(rows), cols_(cols), fixedRows_(fixedRows),
      fixedCols_(fixedCols), width_(widthTwips), height_(heightTwips), topRow_(fixedRows),
      cells_(std::size_t(rows) * cols), widths_(cols, DefaultColumnWidth),
      alignments_(cols, AlignGeneral)
{
}

const QString& Grid::text(int row, int col) const
{
    static const QString empty;
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return empty;
    return cells_[std::size_t(row) * cols_ + col];
}

void Grid::setText(int row, int col, const QString& text)
{
    if (row < 0 || row >= rows_ || col < 0 || col >= cols_)
        return;
    QString& c = cell(row, col);
    if (c == text)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, row, col, old = c] {
            if (row < rows_)
                cell(row, col) = old;
            touch();
        });
    c = text;
    touch();
}

void Grid::setRows(int rows)
{
    if (rows < 0 || rows == rows_)
        return;
    if (journal_ && journal_->recording()) {
        // Keep the texts of the rows being dropped so undo can bring them back.
        std::vector<QString> dropped;
        if (rows < rows_)
            dropped.assign(cells_.begin() + std::ptrdiff_t(rows) * cols_, cells_.end());
        journal_->record([this, old = rows_, oldTop = topRow_, dropped = std::move(dropped)] {
            const int now = rows_;
            cells_.resize(std::size_t(old) * cols_);
            if (old > now)
                std::copy(dropped.begin(), dropped.end(), cells_.begin() + std::ptrdiff_t(now) * cols_);
            rows_ = old;
            topRow_ = oldTop;
            touch();
        });
    }
    cells_.resize(std::size_t(rows) * cols_);
    rows_ = rows;
    if (topRow_ >= rows_)
        topRow_ = fixedRows_;   // the rows on view are gone: show the top again
    touch();
}

void Grid::addItem(const QString& tabSeparated)
{
    const QStringList parts = tabSeparated.split(u'\t');
    setRows(rows_ + 1);
    for (int c = 0; c < cols_ && c < parts.size(); ++c)
        setText(rows_ - 1, c, parts[c]);
}

void Grid::clear()
{
    for (int r = 0; r < rows_; ++r)
        for (int c = 0; c < cols_; ++c)
            setText(r, c, QString());
}

int Grid::colWidth(int col) const
{
    return col >= 0 && col < cols_ ? widths_[col] : 0;
}

void Grid::setColWidth(int col, int twips)
{
    if (col < 0 || col >= cols_ || widths_[col] == twips)
        return;
    widths_[col] = twips;
    touch();
}

int Grid::colAlignment(int col) const
{
    return col >= 0 && col < cols_ ? alignments_[col] : AlignGeneral;
}

void Grid::setColAlignment(int col, int alignment)
{
    if (col < 0 || col >= cols_ || alignments_[col] == alignment)
        return;
    alignments_[col] = alignment;
    touch();
}

void Grid::setTopRow(int row)
{
    if (row < fixedRows_ || row >= rows_ || row == topRow_)
        return;
    if (journal_ && journal_->recording())
        journal_->record([this, old = topRow_] {
            topRow_ = std::min(old, std::max(fixedRows_, rows_ - 1));
            touch();
        });
    topRow_ = row;
    touch();
}

std::vector<QStringList> Grid::snapshot() const
{
    std::vector<QStringList> rows(rows_);
    for (int r = 0; r < rows_; ++r) {
        rows[r].reserve(cols_);
        for (int c = 0; c < cols_; ++c)
            rows[r].append(text(r, c));
    }
    return rows;
}
