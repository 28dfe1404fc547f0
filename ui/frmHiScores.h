#pragma once
// The high-score window: the table's rows by rank, with "&Reset" and
// "&Close". It is made for each use and shows the list the engine filled.
#include "engine/Commands.h"

#include <QWidget>

class ModDarts;
class QTreeWidget;
class VantrellApp;

class frmHiScores : public QWidget {
    Q_OBJECT
public:
    frmHiScores(QWidget* parent, VantrellApp& app);

    // Shows what the model now holds of the parts given.
    void refresh(Commands::Parts parts);
    void closeForGood();
    QTreeWidget* list() const { return LstHighScores_; }

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    const ModDarts& model_;
    Commands& commands_;
    QTreeWidget* LstHighScores_ = nullptr;
    quint64 shownRevision_ = ~quint64(0);
    bool closing_ = false;
};
