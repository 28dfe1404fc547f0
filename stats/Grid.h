#pragma once
// A table of text cells as the statistics windows use it: every cell holds a
// text, columns have a width in twips and an alignment, the first rows and
// columns may be fixed headings, and the view can be scrolled to a row.
#include <QString>
#include <QStringList>
#include <vector>

class ChangeJournal;

class Grid {
public:
    // The column alignments the program uses (the grid's own numbering).
    enum Alignment { AlignGeneral = 9, AlignCentreCentre = 4, AlignCentreBottom = 5 };
    static constexpr int DefaultColumnWidth = 960; // twips

    Grid(QString name, int rows, int cols, int fixedRows, int fixedCols,
         int widthTwips, int heightTwips);

    const QString& name() const { return name_; }
    int rows() const { return rows_; }
    int cols() const { return cols_; }
    int fixedRows() const { return fixedRows_; }
    int fixedCols() const { return fixedCols_; }
    int width() const { return width_; }   // design size of the control, twips
    int height() const { return height_; }

    // Reading outside the grid gives the empty text; writing outside it does
    // nothing (the program never addresses a cell that is not there).
    const QString& text(int row, int col) const;
    void setText(int row, int col, const QString& text);

    // Shortening drops the rows at the end with their texts; lengthening adds
    // empty rows at the end.
    void setRows(int rows);
    // Adds a row at the end whose cells take the tab-separated texts in order.
    void addItem(const QString& tabSeparated);
    // Empties every cell, headings included; sizes, widths and alignments stay.
    void clear();

    int colWidth(int col) const;
    void setColWidth(int col, int twips);
    int colAlignment(int col) const;
    void setColAlignment(int col, int alignment);

    // The first non-fixed row on view.
    int topRow() const { return topRow_; }
    void setTopRow(int row);

    // Rises with every change, so a view knows when to redraw.
    quint64 revision() const { return revision_; }

    // Changes made while the journal records can be put back by undo.
    void setJournal(ChangeJournal* journal) { journal_ = journal; }

    // All cells, row by row.
    std::vector<QStringList> snapshot() const;

private:
    void touch() { ++revision_; }
    QString& cell(int row, int col) { return cells_[std::size_t(row) * cols_ + col]; }

    QString name_;
    int rows_, cols_, fixedRows_, fixedCols_, width_, height_;
    int topRow_;
    std::vector<QString> cells_;
    std::vector<int> widths_;
    std::vector<int> alignments_;
    quint64 revision_ = 0;
    ChangeJournal* journal_ = nullptr;
};
