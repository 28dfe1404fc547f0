#pragma once
// The print dialog: "Print to:" with the printers to choose from, "&Ok" and
// "&Cancel". It is made for each "&Print" of the statistics window and shown
// without blocking the other windows; one object is one creation of the
// dialog, discarded once it closes.
#include "print/PrintDialog.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;
struct Printing;

class frmPrint : public QDialog {
    Q_OBJECT
public:
    // Lists the printers and shows the current one; the dialog stands
    // centred on its screen, captioned "Print".
    frmPrint(QWidget* parent, Printing& printing, PrintSources sources);

    PrintDialog& model() { return model_; }
    const PrintDialog& model() const { return model_; }

    // The caption, which names the print job.
    void setCaption(const QString& caption);

    QComboBox* printerBox() const { return cmbPrinter_; }

public slots:
    void reject() override; // Escape and the close box do what "&Cancel" does

private:
    void centreOnScreen();
    void ok();
    void cancel();
    // Hides the dialog for good and lets it go.
    void discard();

    PrintDialog model_;
    QLabel* lblPrinter_ = nullptr;
    QComboBox* cmbPrinter_ = nullptr;
    QPushButton* cmdOk_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
};
