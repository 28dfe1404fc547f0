#include "ui/frmPrint.h"

#include "ui/QtPrinting.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace {

void placeAt(QWidget* w, const int (&r)[4])
{
    twips::place(w, r[0], r[1], r[2], r[3]);
}

} // namespace

frmPrint::frmPrint(QWidget* parent, Printing& printing, PrintSources sources)
    : QDialog(parent), model_(printing.current, *printing.printers, printing.target, sources)
{
    setObjectName(QStringLiteral("frmPrint"));
    setModal(false);
    setWindowTitle(model_.caption());
    setFixedSize(twips::px(PrintDialog::Width), twips::px(PrintDialog::Height));
    paintWidget(this, palette::ButtonFace, palette::Black);
    setFont(designFont(Face::SansSerif, 8.25));

    lblPrinter_ = new QLabel(QStringLiteral("Print to:"), this);
    lblPrinter_->setObjectName(QStringLiteral("lblPrinter"));
    placeAt(lblPrinter_, PrintDialog::lblPrinterRect);

    // The box may be typed into; a typed name is only looked up on "&Ok",
    // never added to the list.
    cmbPrinter_ = new QComboBox(this);
    cmbPrinter_->setObjectName(QStringLiteral("cmbPrinter"));
    cmbPrinter_->setEditable(true);
    cmbPrinter_->setInsertPolicy(QComboBox::NoInsert);
    cmbPrinter_->addItems(model_.printerNames());
    const int shown = cmbPrinter_->findText(model_.printerText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (shown >= 0)
        cmbPrinter_->setCurrentIndex(shown);
    else
        cmbPrinter_->setEditText(model_.printerText());
    placeAt(cmbPrinter_, PrintDialog::cmbPrinterRect);
    lblPrinter_->setBuddy(cmbPrinter_);
    connect(cmbPrinter_, &QComboBox::currentTextChanged, this,
            [this](const QString& text) { model_.setPrinterText(text); });

    cmdOk_ = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    cmdOk_->setDefault(true);
    placeAt(cmdOk_, PrintDialog::cmdOkRect);
    connect(cmdOk_, &QPushButton::clicked, this, [this] { ok(); });

    cmdCancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cmdCancel_->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel_->setAutoDefault(false);
    placeAt(cmdCancel_, PrintDialog::cmdCancelRect);
    connect(cmdCancel_, &QPushButton::clicked, this, [this] { cancel(); });

    centreOnScreen();
}

void frmPrint::setCaption(const QString& caption)
{
    model_.setCaption(caption);
    setWindowTitle(caption);
}

void frmPrint::centreOnScreen()
{
    QScreen* screen = parentWidget() ? parentWidget()->screen() : nullptr;
    if (!screen)
        screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QPoint at = PrintDialog::centredOn(int(twips::fromPx(area.width())),
                                             int(twips::fromPx(area.height())));
    setGeometry(area.left() + twips::px(at.x()), area.top() + twips::px(at.y()),
                twips::px(PrintDialog::Width), twips::px(PrintDialog::Height));
}

void frmPrint::ok()
{
    model_.setPrinterText(cmbPrinter_->currentText());
    model_.Ok();
    if (model_.closed())
        discard();
}

void frmPrint::cancel()
{
    model_.Cancel();
    discard();
}

void frmPrint::reject()
{
    cancel();
}

void frmPrint::discard()
{
    hide();
    deleteLater();
}
