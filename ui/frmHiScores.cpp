#include "ui/frmHiScores.h"

#include "engine/ModDarts.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QCloseEvent>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

frmHiScores::frmHiScores(QWidget* parent, VantrellApp& app)
    : QWidget(parent, Qt::Window), model_(app.model()), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmHiScores"));
    setWindowTitle(QStringLiteral("HiScores"));
    setFixedSize(twips::px(6450), twips::px(6045));
    paintWidget(this, palette::ButtonFace, palette::Black);
    setFont(designFont(Face::SansSerif, 8.25));

    // A list in report view: one line per row, five left-aligned columns.
    LstHighScores_ = new QTreeWidget(this);
    LstHighScores_->setObjectName(QStringLiteral("LstHighScores"));
    LstHighScores_->setRootIsDecorated(false);
    LstHighScores_->setUniformRowHeights(true);
    LstHighScores_->setSelectionBehavior(QAbstractItemView::SelectRows);
    LstHighScores_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    LstHighScores_->setHeaderLabels({QStringLiteral("Pos"), QStringLiteral("Player"),
                                     QStringLiteral("Against"), QStringLiteral("Date"),
                                     QStringLiteral("Score")});
    LstHighScores_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LstHighScores_->header()->setStretchLastSection(false);
    const int widths[] = {500, 1500, 1500, 2000, 600};
    for (int c = 0; c < 5; ++c)
        LstHighScores_->setColumnWidth(c, twips::px(widths[c]));
    twips::place(LstHighScores_, 120, 120, 6255, 5295);

    auto* reset = new QPushButton(QStringLiteral("&Reset"), this);
    reset->setObjectName(QStringLiteral("cmdReset"));
    twips::place(reset, 120, 5520, 1095, 495);
    connect(reset, &QPushButton::clicked, this, [this] { commands_.hiScoresReset(); });
    auto* close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    twips::place(close, 5280, 5520, 1095, 495);
    connect(close, &QPushButton::clicked, this, [this] { commands_.hiScoresClose(); });

    refresh(Commands::Part::HiScores);
    connect(&commands_, &Commands::changed, this, &frmHiScores::refresh);
}

void frmHiScores::refresh(Commands::Parts parts)
{
    const HiScoresWindow& w = model_.hiScoresWindow;
    if (!(parts & Commands::Part::HiScores) || !w.open)
        return; // closed: the program closes the window
    if (isHidden())
        show();
    if (w.revision == shownRevision_)
        return;
    shownRevision_ = w.revision;
    LstHighScores_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(w.rows.size());
    for (const QStringList& row : w.rows) {
        auto* item = new QTreeWidgetItem(row);
        // A name too long for its column ends in an ellipsis: the whole name
        // is the cell's tooltip.
        for (int c = 1; c <= 2 && c < row.size(); ++c)
            item->setToolTip(c, LiteralToolTip(row[c]));
        items.append(item);
    }
    LstHighScores_->addTopLevelItems(items);
}

void frmHiScores::closeForGood()
{
    closing_ = true;
    close();
}

void frmHiScores::closeEvent(QCloseEvent* e)
{
    // The close box does what "&Close" does. The window goes when the
    // engine has closed it, which it has done meanwhile (closeForGood).
    if (!closing_)
        commands_.hiScoresClose();
    e->setAccepted(closing_);
}
