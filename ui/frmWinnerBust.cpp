#include "ui/frmWinnerBust.h"

#include "ui/EntryLine.h"

#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "ui/Twips.h"
#include "ui/VantrellApp.h"
#include "ui/Widgets.h"
#include "ui/frmScores.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// The two lines, in twips. The second line ends a little above "&Ok" and
// the first above the second, so neither a long name nor a moved first line
// can run into the other or under the button.
constexpr int WinnerLeft = 120, WinnerWidth = 4335, WinnerHeight = 600;
constexpr int PlayerLeft = 480, PlayerTop = 720, PlayerWidth = 3615, PlayerHeight = 900;
constexpr int OkLeft = 1560, OkTop = 1680, OkWidth = 1455, OkHeight = 375;
// The smallest font a long name shrinks to before it is cut short.
constexpr int SmallestPixels = 11;
// Until the window system has put its frame round the dialog, room is kept
// for a title bar and borders of a common size.
constexpr int GuessedTitle = 32, GuessedBorder = 4;
// A panel's name, sets, legs, score, finish and visit end above this.
constexpr int ScoresBottom = 4200;
// How close the dialog may come to the scoring area, in pixels.
constexpr double RingMargin = 3;

double DistanceToRect(const QPointF& p, const QRectF& r)
{
    const double dx = std::max({r.left() - p.x(), 0.0, p.x() - r.right()});
    const double dy = std::max({r.top() - p.y(), 0.0, p.y() - r.bottom()});
    return std::hypot(dx, dy);
}

} // namespace

QPoint ClearSpotFor(const QSize& size, const QRect& screen, const QRect& home,
                    const QPointF& centre, double radius, const QRect& keepClear,
                    const QList<QRect>& ratherClear)
{
    const QPoint corner(home.left(), home.bottom() + 1 - size.height());
    QPoint best = corner;
    double bestScore = std::numeric_limits<double>::max();
    const int step = 16;
    const int right = std::max(screen.left(), screen.right() + 1 - size.width());
    const int bottom = std::max(screen.top(), screen.bottom() + 1 - size.height());
    auto consider = [&](int x, int y) {
        const QRect spot(QPoint(x, y), size);
        const double distance =
            DistanceToRect(centre, QRectF(spot.left(), spot.top(), spot.width(), spot.height()));
        double score = 0;
        if (distance < radius)
            score += 1e12 + (radius - distance) * 1e6; // covers a bed: the last resort
        if (!home.contains(spot))
            score += 1e9;
        if (spot.intersects(keepClear))
            score += 1e7;
        for (const QRect& r : ratherClear)
            if (spot.intersects(r))
                score += 1e5;
        // Among equal spots: well away from the board, into a corner, and
        // then the one nearest the lower left.
        score -= distance;
        score += 0.01 * std::hypot(double(x - corner.x()), double(y - corner.y()));
        if (score < bestScore) {
            bestScore = score;
            best = QPoint(x, y);
        }
    };
    // Every spot on the screen at a coarse step; every other spot along the
    // screen's and the window's edges, where the best spots lie; the exact
    // corners; then every pixel round the best spot found. Far fewer spots
    // than a fine search of the whole screen, so showing the dialog costs
    // well under a millisecond even on a large screen.
    for (int y = screen.top(); y <= bottom; y += step) {
        for (int x = screen.left(); x <= right; x += step)
            consider(x, y);
        consider(right, y);
    }
    for (int x = screen.left(); x <= right; x += step)
        consider(x, bottom);
    const int homeRight = home.right() + 1 - size.width();
    for (int x = screen.left(); x <= right; x += 2) {
        for (const int y : {screen.top(), bottom, home.top(), corner.y()})
            if (y >= screen.top() && y <= bottom)
                consider(x, y);
    }
    for (int y = screen.top(); y <= bottom; y += 2) {
        for (const int x : {screen.left(), right, home.left(), homeRight})
            if (x >= screen.left() && x <= right)
                consider(x, y);
    }
    consider(right, bottom);
    for (const QPoint& at : {corner, QPoint(home.left(), home.top()),
                             QPoint(homeRight, home.top()), QPoint(homeRight, corner.y())})
        if (screen.contains(QRect(at, size)))
            consider(at.x(), at.y());
    const QPoint found = best;
    for (int y = std::max(screen.top(), found.y() - step); y <= std::min(bottom, found.y() + step); ++y)
        for (int x = std::max(screen.left(), found.x() - step); x <= std::min(right, found.x() + step); ++x)
            consider(x, y);
    return best;
}

frmWinnerBust::frmWinnerBust(QWidget* parent, VantrellApp& app)
    : QDialog(parent), app_(app), model_(app.model()), commands_(app.commands())
{
    setObjectName(QStringLiteral("frmWinnerBust"));
    setWindowTitle(QStringLiteral("Vantrell"));
    setModal(false);
    setFixedSize(twips::px(4545), twips::px(Announcement::DialogHeight));
    paintWidget(this, palette::DarkRed, palette::White);

    auto line = [this](const QString& name, const QFont& font, Qt::Alignment align) {
        auto* label = new FitLabel(this);
        label->setObjectName(name);
        label->setFont(font);
        label->setAlignment(align);
        label->setFit(FitLabel::Fit::ShrinkWrap, SmallestPixels);
        paintWidget(label, palette::DarkRed, palette::White);
        return label;
    };
    lblWinner_ = line(QStringLiteral("lblWinner"), designFont(Face::SansSerif, 18, true),
                      Qt::AlignLeft | Qt::AlignTop);
    lblPlayer_ = line(QStringLiteral("lblPlayer"), designFont(Face::SansSerif, 18),
                      Qt::AlignHCenter | Qt::AlignTop);
    twips::place(lblPlayer_, PlayerLeft, PlayerTop, PlayerWidth, PlayerHeight);
    layOutLines(Announcement::DesignWinnerTop);
    cmdOk_ = new QPushButton(QStringLiteral("&Ok"), this);
    cmdOk_->setObjectName(QStringLiteral("cmdOk"));
    cmdOk_->setAutoDefault(false);
    twips::place(cmdOk_, OkLeft, OkTop, OkWidth, OkHeight);
    connect(cmdOk_, &QPushButton::clicked, this, [this] { commands_.winnerOk(); });

    syncTexts();
    connect(&commands_, &Commands::changed, this, &frmWinnerBust::refresh);
}

// A bust moves the first line down to half the dialog's height, where it
// stays, empty, for as long as the dialog is open. A name announced there
// afterwards would lie under the second line, so a first line with a text
// goes back above the second whenever it would meet it.
void frmWinnerBust::layOutLines(int winnerTopTwips)
{
    int top = winnerTopTwips;
    const bool meets = top < PlayerTop + PlayerHeight && top + WinnerHeight > PlayerTop;
    if (!lblWinner_->text().isEmpty() && meets)
        top = Announcement::DesignWinnerTop;
    const QRect wanted = twips::rect(WinnerLeft, top, WinnerWidth, WinnerHeight);
    if (lblWinner_->geometry() != wanted)
        lblWinner_->setGeometry(wanted);
}

void frmWinnerBust::refresh(Commands::Parts parts)
{
    if (parts & Commands::Part::Announcement)
        syncTexts();
    if (parts & Commands::Part::BoardPlace)
        keepClearOfTheBoard();
}

void frmWinnerBust::syncTexts()
{
    const Announcement& a = model_.winner;
    if (!a.open())
        return;
    if (lblWinner_->text() != a.lblWinner())
        lblWinner_->setText(a.lblWinner());
    if (lblPlayer_->text() != a.lblPlayer())
        lblPlayer_->setText(a.lblPlayer());
    layOutLines(a.winnerTop());
    if (a.revision() != shownRevision_ || isHidden()) {
        shownRevision_ = a.revision();
        if (isHidden()) {
            if (!placed_)
                placeClearOfTheBoard();
            show();
        }
        raise();
        // Painted at once, while the click that announced it is still running.
        repaint();
    }
}

bool frmWinnerBust::boardRing(QPointF* centre, double* radius) const
{
    const frmScores* main = app_.scores();
    if (!main || !main->board())
        return false;
    const BoardRect& image1 = model_.board.Image1;
    const BoardCircles c = CirclesOf(image1);
    const QPointF origin = QPointF(main->board()->mapToGlobal(QPoint(0, 0)));
    *centre = origin + QPointF((double(c.cx) - image1.Left) / twips::PerPixel,
                               (double(c.cy) - image1.Top) / twips::PerPixel);
    *radius = double(c.R) / twips::PerPixel + RingMargin;
    return true;
}

QRect frmWinnerBust::expectedFrame() const
{
    const QRect frame = frameGeometry();
    if (frame != geometry() || !isWindow())
        return frame;
    // Not decorated yet: the window system's frame is still to come. A
    // window is put where its frame's corner goes, so the frame will grow
    // right and down from where the dialog stands now.
    return QRect(frame.topLeft(), frame.size() + QSize(2 * GuessedBorder, GuessedTitle + GuessedBorder));
}

// The dialog must never cover a bed: the operator goes on clicking the board
// while it is open. It goes to the spot nearest the main window's lower left
// corner that is clear of the scoring area and of "&Undo", on the main
// window if there is such a spot, elsewhere on the screen if not; among
// those, one that leaves the panels' scores and visits on view, since play
// goes on under it.
void frmWinnerBust::placeClearOfTheBoard()
{
    placed_ = true;
    const frmScores* main = app_.scores();
    if (!main)
        return;
    const QScreen* screen = main->screen();
    // A window's position is that of its frame's top-left corner.
    if (const auto spot = clearSpotOn(screen ? screen->availableGeometry() : main->frameGeometry()))
        move(*spot);
}

std::optional<QPoint> frmWinnerBust::clearSpotOn(const QRect& area, QSize frame) const
{
    const frmScores* main = app_.scores();
    QPointF centre;
    double radius = 0;
    if (!main || !boardRing(&centre, &radius))
        return std::nullopt;
    QRect keepClear;
    if (const QWidget* undo = main->findChild<QWidget*>(QStringLiteral("cmdUndo")))
        keepClear = QRect(undo->mapToGlobal(QPoint(0, 0)), undo->size());
    QList<QRect> scores;
    for (const char* name : {"Frame1_0", "Frame1_1"}) {
        if (const QWidget* panel = main->findChild<QWidget*>(QLatin1String(name))) {
            const int height = std::min(panel->height(), twips::px(ScoresBottom));
            scores.append(QRect(panel->mapToGlobal(QPoint(0, 0)), QSize(panel->width(), height)));
        }
    }
    if (frame.isEmpty())
        frame = expectedFrame().size();
    return ClearSpotFor(frame, area, main->frameGeometry(), centre, radius,
                        keepClear, scores);
}

void frmWinnerBust::keepClearOfTheBoard()
{
    if (isHidden())
        return;
    QPointF centre;
    double radius = 0;
    if (!boardRing(&centre, &radius))
        return;
    const QRect frame = expectedFrame();
    if (DistanceToRect(centre, QRectF(frame.left(), frame.top(), frame.width(), frame.height())) <
        radius)
        placeClearOfTheBoard();
}

void frmWinnerBust::closeForGood()
{
    closing_ = true;
    close();
}

void frmWinnerBust::reject()
{
    // Escape asks to close like the close box does: refused.
    commands_.winnerCloseRequest();
}

void frmWinnerBust::keyPressEvent(QKeyEvent* e)
{
    // The scoreboard's own keys work here too: a dart that went bust is
    // taken back with Ctrl+Z while its announcement has the keyboard.
    const QKeySequence pressed(e->keyCombination());
    if (pressed == QKeySequence(Qt::CTRL | Qt::Key_Z)) {
        commands_.undo();
        return;
    }
    if (pressed == QKeySequence(Qt::CTRL | Qt::Key_N)) {
        commands_.newGame();
        return;
    }
    // Characters and Backspace are always the entry's; Enter and Escape
    // only while something is typed, so the dialog keeps its own keys.
    const EntryKey key = EntryKeyOf(*e);
    const bool typing = !model_.keyboard.text.isEmpty();
    if (key == EntryKey::Character || key == EntryKey::Backspace
        || ((key == EntryKey::Enter || key == EntryKey::Escape) && typing))
        SendEntryKey(key, *e, commands_);
    else
        QDialog::keyPressEvent(e);
}

void frmWinnerBust::closeEvent(QCloseEvent* e)
{
    if (closing_) {
        e->accept();
        return;
    }
    e->ignore();
    commands_.winnerCloseRequest();
}
