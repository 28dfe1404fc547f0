#pragma once
// A statistics grid on screen: a table view over one Grid of the model. The
// grid's fixed heading row is the view's frozen header; fixed heading columns
// are drawn in the heading style. The view follows the model by its revision
// number, so an unchanged grid costs nothing to re-sync.
#include <QAbstractTableModel>
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

private:
    void applyLayout();

    GridModel* model_;
    int appliedTopRow_ = -1;
    int appliedRows_ = -1;
};
