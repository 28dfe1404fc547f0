#include "ui/frmHistory.h"

#include "base/Moments.h"
#include "base/TextNumbers.h"
#include "engine/ModDarts.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QHeaderView>
#include <QPushButton>
#include <QTreeWidget>

#include <algorithm>

namespace {

constexpr double Width = 10200, Height = 6045;

const char* const Headings[] = {"Date", "Players", "Sets", "Legs", "Darts", "Average", "Status", "Winner"};
constexpr int ColumnWidths[] = {1800, 2300, 600, 600, 800, 1300, 1000, 1200};

// "a - b" for two players, "a" for one.
template <class Each> QString Both(const history::StoredMatch& m, Each&& each)
{
    return m.players == 2 ? each(0) + QStringLiteral(" - ") + each(1) : each(0);
}

} // namespace

QStringList frmHistory::RowTexts(const ModDarts& model, int row)
{
    const history::StoredMatch& m = model.historyWindow.rows[std::size_t(row)];
    const QString names = m.players == 2 ? m.names[0].trimmed() + QStringLiteral(" v ") + m.names[1].trimmed()
                                         : m.names[0].trimmed();
    return {MomentText(m.log.started),
            names,
            Both(m, [&](int p) { return QString::number(m.sets[p]); }),
            Both(m, [&](int p) { return QString::number(m.legs[p]); }),
            Both(m, [&](int p) { return QString::number(m.darts[p]); }),
            Both(m, [&](int p) { return AverageText(m.average[p]); }),
            history::StatusText(m),
            m.winnerName().trimmed()};
}

frmHistory::frmHistory(QWidget* parent, VantrellApp& app)
    : QWidget(parent, Qt::Window), model_(app.model()), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmHistory"));
    setWindowTitle(QStringLiteral("Match History"));
    paintWidget(this, palette::ButtonFace, palette::Black);
    setFont(designFont(Face::SansSerif, 8.25));

    LstHistory_ = new QTreeWidget(this);
    LstHistory_->setObjectName(QStringLiteral("LstHistory"));
    LstHistory_->setRootIsDecorated(false);
    LstHistory_->setUniformRowHeights(true);
    LstHistory_->setSelectionBehavior(QAbstractItemView::SelectRows);
    LstHistory_->setSelectionMode(QAbstractItemView::SingleSelection);
    LstHistory_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    QStringList headings;
    for (const char* h : Headings)
        headings << QString::fromLatin1(h);
    LstHistory_->setHeaderLabels(headings);
    LstHistory_->header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    LstHistory_->header()->setStretchLastSection(true);
    for (int c = 0; c < int(std::size(ColumnWidths)); ++c)
        LstHistory_->setColumnWidth(c, twips::px(ColumnWidths[c]));
    connect(LstHistory_, &QTreeWidget::itemActivated, this, [this] { openSelected(); });

    cmdOpen_ = new QPushButton(QStringLiteral("&Open"), this);
    cmdOpen_->setObjectName(QStringLiteral("cmdOpen"));
    twips::place(cmdOpen_, 120, 5520, 1095, 495);
    connect(cmdOpen_, &QPushButton::clicked, this, [this] { openSelected(); });
    auto* exportButton = new QPushButton(QStringLiteral("&Export..."), this);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    twips::place(exportButton, 1335, 5520, 1095, 495);
    connect(exportButton, &QPushButton::clicked, this, [this] { exportAll(); });
    cmdClose_ = new QPushButton(QStringLiteral("&Close"), this);
    cmdClose_->setObjectName(QStringLiteral("cmdClose"));
    connect(cmdClose_, &QPushButton::clicked, this, [this] { commands_.historyClose(); });
    fitToScreen();

    refresh(Commands::Part::History);
    connect(&commands_, &Commands::changed, this, &frmHistory::refresh);
}

void frmHistory::refresh(Commands::Parts parts)
{
    const HistoryWindow& w = model_.historyWindow;
    if (!(parts & Commands::Part::History) || !w.open)
        return; // closed: the program closes the window
    if (isHidden())
        show();
    if (w.revision == shownRevision_)
        return;
    shownRevision_ = w.revision;
    LstHistory_->clear();
    QList<QTreeWidgetItem*> items;
    for (int row = 0; row < int(w.rows.size()); ++row) {
        auto* item = new QTreeWidgetItem(RowTexts(model_, row));
        item->setToolTip(1, LiteralToolTip(item->text(1)));
        items.append(item);
    }
    LstHistory_->addTopLevelItems(items);
    if (!items.isEmpty())
        LstHistory_->setCurrentItem(items.first());
    cmdOpen_->setEnabled(!items.isEmpty());
}

void frmHistory::fitToScreen()
{
    const QRect room = ScreenRoom(this);
    const int frame = frameGeometry().width() - width();
    const double width = room.isEmpty() ? Width : std::min(Width, twips::fromPx(room.width() - frame));
    setFixedSize(twips::px(width), twips::px(Height));
    twips::place(LstHistory_, 120, 120, width - 240, 5295);
    twips::place(cmdClose_, width - 120 - 1095, 5520, 1095, 495);
    KeepOnScreen(this);
}

void frmHistory::showEvent(QShowEvent* e)
{
    fitToScreen();
    QWidget::showEvent(e);
}

void frmHistory::openSelected()
{
    const int row = LstHistory_->indexOfTopLevelItem(LstHistory_->currentItem());
    if (row >= 0)
        commands_.historyOpenMatch(row);
}

void frmHistory::exportAll()
{
    const QString csv = QStringLiteral("CSV, one row per visit (*.csv)");
    const QString json = QStringLiteral("JSON, whole matches (*.json)");
    QString filter = csv;
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export Match History"),
                                                QStringLiteral("matches.csv"), csv + QStringLiteral(";;") + json,
                                                &filter);
    if (path.isEmpty())
        return;
    // A name typed without its ending takes the one of the chosen kind.
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix != u"csv" && suffix != u"json")
        path += filter == json ? QStringLiteral(".json") : QStringLiteral(".csv");
    // A failure is shown as a message by the command itself.
    commands_.exportHistory(path);
}

void frmHistory::closeForGood()
{
    closing_ = true;
    close();
}

void frmHistory::closeEvent(QCloseEvent* e)
{
    // The close box does what "&Close" does. The window goes when the
    // engine has closed it, which it has done meanwhile (closeForGood).
    if (!closing_)
        commands_.historyClose();
    e->setAccepted(closing_);
}
