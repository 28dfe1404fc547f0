#pragma once
// The announcement dialog: a bust, a won leg or the match winner. It never
// blocks the board, and only "&Ok" closes it: the close box, Escape and
// losing the focus are refused and leave it on view.
#include <QDialog>

class QLabel;
class QPushButton;
class VantrellApp;

class frmWinnerBust : public QDialog {
    Q_OBJECT
public:
    frmWinnerBust(QWidget* parent, VantrellApp& app);

    // Shows the announcement's texts; `revision` rises each time it is
    // announced or shown again, which brings the dialog to the front.
    void sync();
    // Closes the dialog for good, after "&Ok".
    void closeForGood();

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent* e) override;

private:
    VantrellApp& app_;
    QLabel* lblWinner_ = nullptr;
    QLabel* lblPlayer_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    quint64 shownRevision_ = 0;
    bool closing_ = false;
    bool placed_ = false;
    void placeClearOfTheBoard();
};
