#pragma once
// A statistics grid on screen: a table view over one Grid of the model. The
// grid's fixed heading row is the view's frozen header; fixed heading columns
// are drawn in the heading style. The view follows the model by its revision
// number, so an unchanged grid costs nothing to re-sync.
#include <QAbstractTableModel>
#include <QHash>
#include <QTableView>

class Grid;

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridModel(const Grid& grid, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Brings the view up to date when the grid has changed since the last
    // call. True when it had.
    bool refresh();
    const Grid& grid() const { return grid_; }

private:
    QVariant alignment(int gridCol, const QString& text) const;

    const Grid& grid_;
    quint64 seen_;
    int rows_, cols_;
};

class GridView : public QTableView {
    Q_OBJECT
public:
    // name: the control's name, with the player's index where it has one.
    GridView(QWidget* parent, const QString& name, const Grid& grid);

    // Re-reads the grid when it changed: cells, widths and the top row.
    void sync();
    GridModel* gridModel() const { return model_; }

    // How wide the view may grow, in pixels, so that no text is cut short.
    // Columns are never narrower than the grid's widths; a column widens to
    // its widest text, first into the view's spare room, then by widening
    // the view up to this width. 0 keeps the view at the width it is given.
    void setWidestWidth(int pixels);
    // True when every text of the column fits its cell.
    bool columnFits(int col) const;
    // The pixels a text needs in a cell, margins and grid line included.
    int cellWidthFor(const QString& text) const;

protected:
    bool viewportEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void applyLayout();
    void fitColumns();

    GridModel* model_;
    int appliedTopRow_ = -1;
    int appliedRows_ = -1;
    int widest_ = 0;
    int givenWidth_ = -1;
    int fittedWidth_ = -1;
    // Text widths measured for this font. Every visit re-fits the columns
    // to all their texts, and measuring a text lays it out anew; the texts
    // are scores and names, so the same few come back again and again.
    mutable QHash<QString, int> textWidths_;
};
