#pragma once
// The match-history window: every stored match, newest first, with its
// players, sets, legs, darts, averages, status and winner. "&Open" (or a
// double click) shows a match's statistics pages as the statistics window
// shows them; "&Export..." writes every match listed to a CSV or JSON file.
// It is made for each use and shows the list the engine read when it opened.
#include "engine/Commands.h"

#include <QWidget>

class ModDarts;
class QPushButton;
class QTreeWidget;
class VantrellApp;

class frmHistory : public QWidget {
    Q_OBJECT
public:
    frmHistory(QWidget* parent, VantrellApp& app);

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);
    void closeForGood();
    QTreeWidget* list() const { return LstHistory_; }

    // The row texts as listed, for one stored match.
    static QStringList RowTexts(const ModDarts& model, int row);

protected:
    void closeEvent(QCloseEvent* e) override;
    void showEvent(QShowEvent* e) override;

private:
    // As wide as designed, or as the screen where that is narrower: the
    // list gives up width and "&Close" stays at the right edge.
    void fitToScreen();
    void openSelected();
    void exportAll();

    const ModDarts& model_;
    Commands& commands_;
    QTreeWidget* LstHistory_ = nullptr;
    QPushButton* cmdOpen_ = nullptr;
    QPushButton* cmdClose_ = nullptr;
    quint64 shownRevision_ = ~quint64(0);
    bool closing_ = false;
};
