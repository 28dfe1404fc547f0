#include "ui/frmBigScreen.h"

#include "base/AppText.h"
#include "engine/ModDarts.h"

#include <QCloseEvent>
#include <QFontMetrics>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>

#include <algorithm>

namespace {

// The parts of the model whose changes can reach what the big screen shows:
// the panels, the announcement, the number of players (live from the
// options dialog's buttons) and the names.
constexpr Commands::Parts Followed = Commands::Part::Scoreboard | Commands::Part::Announcement
                                   | Commands::Part::Options | Commands::Part::Captions;

const QColor Background{0, 0, 0};
const QColor Text{255, 255, 255};
const QColor NameBand{0, 0, 160};
const QColor Thrower{255, 255, 0};
const QColor BannerFill{176, 0, 0};
const QColor DartBox{200, 200, 200};

// The window system's colour numbers carry blue in the high byte.
QColor SystemColour(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

QFont BaseFont()
{
    QFont font;
    font.setFamilies({QStringLiteral("Liberation Sans"), QStringLiteral("Arial"), QStringLiteral("DejaVu Sans")});
    font.setBold(true);
    font.setPixelSize(12);
    return font;
}

QRect Drawn(const QFont& font, const QRect& box, int align, const QString& text)
{
    return QFontMetrics(font).boundingRect(box, align | Qt::TextSingleLine, text);
}

bool Inside(const QRect& inner, const QRect& outer)
{
    return inner.isEmpty() || outer.contains(inner);
}

// Rows of a player's block, as shares of its height.
struct Rows {
    double name, setsLegs, score, darts, finish, average;
};
// With the announcement on view its banner takes the lower part of the
// window, and the blocks keep only names, sets and legs and the scores.
constexpr Rows Full{0.13, 0.10, 0.39, 0.14, 0.12, 0.12};
constexpr Rows Announcing{0.22, 0.16, 0.62, 0, 0, 0};
constexpr double BannerShare = 0.34;

class Builder {
public:
    explicit Builder(BigScreenLayout& out) : out_(out) {}

    // The largest font in which `text` fits `box` on one line; a text that
    // does not fit even the smallest is cut short with an ellipsis.
    void text(const QString& role, const QString& text, const QRect& box, const QColor& colour,
              int align = Qt::AlignCenter)
    {
        if (text.isEmpty() || box.width() < 1 || box.height() < 1)
            return;
        QFont font = BaseFont();
        auto fits = [&](int px) {
            font.setPixelSize(px);
            return Inside(Drawn(font, box, align, text), box);
        };
        QString shown = text;
        if (fits(1)) {
            int lo = 1, hi = std::max(1, box.height());
            while (lo < hi) {
                const int mid = (lo + hi + 1) / 2;
                if (fits(mid))
                    lo = mid;
                else
                    hi = mid - 1;
            }
            font.setPixelSize(lo);
        } else {
            font.setPixelSize(1);
            const QFontMetrics m(font);
            if (m.height() > box.height())
                return;
            shown = m.elidedText(text, Qt::ElideRight, box.width());
            if (shown.isEmpty() || !Inside(Drawn(font, box, align, shown), box))
                return;
        }
        out_.texts.append({role, shown, font, box, align, colour});
    }

    void box(const QRect& rect, const QColor& fill, const QColor& outline = QColor(), int width = 0)
    {
        out_.boxes.append({rect, fill, outline, width});
    }

private:
    BigScreenLayout& out_;
};

// The slice of `r` from `from` to `from + share` of its height.
QRect Slice(const QRect& r, double from, double share)
{
    const int top = r.top() + int(r.height() * from);
    const int bottom = r.top() + int(r.height() * (from + share));
    return QRect(r.left(), top, r.width(), std::max(0, bottom - top));
}

QRect Inset(const QRect& r, int by)
{
    const int dx = std::min(by, std::max(0, (r.width() - 1) / 2));
    const int dy = std::min(by, std::max(0, (r.height() - 1) / 2));
    return r.adjusted(dx, dy, -dx, -dy);
}

void PlayerBlock(Builder& b, const BigScreenPlayer& p, int index, const QRect& block, bool announcing)
{
    const QString n = QString::number(index);
    const int unit = std::max(1, std::min(block.width(), block.height()) / 80);
    // The thrower's block is outlined, and its name band lit.
    if (p.throwing)
        b.box(block, Background, Thrower, 2 * unit);
    else
        b.box(block, Background);
    const QRect inner = Inset(block, 3 * unit);
    const Rows rows = announcing ? Announcing : Full;
    double at = 0;
    auto next = [&](double share) {
        const QRect r = Slice(inner, at, share);
        at += share;
        return r;
    };

    const QRect nameRow = next(rows.name);
    const QRect nameBand = Inset(nameRow, unit);
    b.box(nameBand, p.throwing ? Thrower : NameBand);
    b.text(QStringLiteral("name_") + n, p.name, Inset(nameBand, unit), p.throwing ? Background : Text);

    const QRect setsLegs = Inset(next(rows.setsLegs), unit);
    const int half = setsLegs.width() / 2;
    b.text(QStringLiteral("sets_") + n, QStringLiteral("Sets ") + p.sets,
           Inset(QRect(setsLegs.left(), setsLegs.top(), half, setsLegs.height()), unit), Text);
    b.text(QStringLiteral("legs_") + n, QStringLiteral("Legs ") + p.legs,
           Inset(QRect(setsLegs.left() + half, setsLegs.top(), setsLegs.width() - half, setsLegs.height()), unit),
           Text);

    b.text(QStringLiteral("remaining_") + n, p.remaining, next(rows.score), p.throwing ? Thrower : Text);

    if (announcing)
        return;

    // The visit: three darts and their total.
    const QRect visit = next(rows.darts);
    const int cell = visit.width() / 4;
    for (int d = 0; d < 4; ++d) {
        const QRect c = Inset(QRect(visit.left() + d * cell, visit.top(), d == 3 ? visit.width() - 3 * cell : cell,
                                    visit.height()),
                              unit);
        const bool total = d == 3;
        b.box(c, total ? NameBand : Background, DartBox, std::max(1, unit / 2));
        const QString text = total ? p.visitTotal : p.darts[std::size_t(d)];
        b.text((total ? QStringLiteral("visit_") : QStringLiteral("dart%1_").arg(d + 1)) + n, text,
               Inset(c, std::max(1, unit / 2) + 1), Text);
    }

    const QRect finish = Inset(next(rows.finish), unit);
    if (!p.finish.isEmpty()) {
        b.box(finish, SystemColour(p.finishBack));
        b.text(QStringLiteral("finish_") + n, p.finish, Inset(finish, unit), SystemColour(p.finishFore));
    }

    b.text(QStringLiteral("average_") + n, QStringLiteral("Avg ") + p.average, Inset(next(rows.average), unit),
           Text);
}

} // namespace

QRect BigScreenText::drawn() const
{
    return Drawn(font, box, align, text);
}

BigScreenLayout frmBigScreen::LayOut(const BigScreenView& view, const QSize& size)
{
    BigScreenLayout out;
    Builder b(out);
    const QRect window(QPoint(0, 0), size);
    if (window.isEmpty())
        return out;
    QRect blocks = window;
    if (view.announcing && !view.announcement.isEmpty()) {
        const int bannerHeight = int(window.height() * BannerShare);
        blocks.setBottom(window.bottom() - bannerHeight);
        const QRect banner(window.left(), blocks.bottom() + 1, window.width(), bannerHeight);
        const int unit = std::max(1, std::min(banner.width(), banner.height()) / 40);
        b.box(banner, BannerFill, Thrower, 2 * unit);
        const QRect inner = Inset(banner, 4 * unit);
        const qsizetype lines = view.announcement.size();
        for (qsizetype k = 0; k < lines; ++k)
            b.text(QStringLiteral("announcement_%1").arg(k), view.announcement[k],
                   Inset(Slice(inner, double(k) / double(lines), 1.0 / double(lines)), unit), Text);
    }
    if (view.players == 1) {
        PlayerBlock(b, view.player[0], 0, blocks, view.announcing);
        return out;
    }
    // Side by side on a landscape window, one above the other on a portrait
    // one: either way each score has half the room.
    const bool sideBySide = blocks.width() >= blocks.height();
    for (int p = 0; p < 2; ++p) {
        QRect r = blocks;
        if (sideBySide) {
            const int half = blocks.width() / 2;
            r = p == 0 ? QRect(blocks.left(), blocks.top(), half, blocks.height())
                       : QRect(blocks.left() + half, blocks.top(), blocks.width() - half, blocks.height());
        } else {
            const int half = blocks.height() / 2;
            r = p == 0 ? QRect(blocks.left(), blocks.top(), blocks.width(), half)
                       : QRect(blocks.left(), blocks.top() + half, blocks.width(), blocks.height() - half);
        }
        PlayerBlock(b, view.player[std::size_t(p)], p, r, view.announcing);
    }
    return out;
}

frmBigScreen::frmBigScreen(const ModDarts& model, Commands& commands, QWidget* keyboardOwner)
    : QWidget(nullptr, Qt::Window | Qt::WindowDoesNotAcceptFocus), model_(model), commands_(commands),
      keyboardOwner_(keyboardOwner)
{
    setObjectName(QStringLiteral("frmBigScreen"));
    setWindowTitle(apptext::Title + QStringLiteral(" - Big Screen"));
    // The operator keeps working the scoreboard: this window is only looked at.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_DeleteOnClose);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(240, 135);
    shown_ = ReadBigScreen(model_);
    connect(&commands, &Commands::changed, this, &frmBigScreen::refresh);
}

void frmBigScreen::refresh(Commands::Parts parts)
{
    if (!(parts & Followed))
        return;
    BigScreenView fresh = ReadBigScreen(model_);
    if (fresh != shown_) {
        shown_ = std::move(fresh);
        laidOut_.reset();
        update();
    }
}

const BigScreenLayout& frmBigScreen::layout() const
{
    if (!laidOut_ || laidOutSize_ != size()) {
        laidOut_ = LayOut(shown_, size());
        laidOutSize_ = size();
    }
    return *laidOut_;
}

void frmBigScreen::setFullScreen(bool fullScreen)
{
    if (fullScreen == isFullScreen())
        return;
    // Not showFullScreen(): that would also activate the window and take
    // the keyboard from the scoreboard. The screen's whole area is given as
    // well: a projector's display often runs without a window manager, and
    // there the state alone would leave the window as it was.
    if (fullScreen) {
        normal_ = geometry();
        if (QScreen* on = screen())
            setGeometry(on->geometry());
        setWindowState(windowState() | Qt::WindowFullScreen);
    } else {
        setWindowState(windowState() & ~Qt::WindowFullScreen);
        if (normal_.isValid())
            setGeometry(normal_);
    }
    if (isHidden())
        show();
    raise();
}

void frmBigScreen::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Background);
    const BigScreenLayout& l = layout();
    for (const BigScreenBox& box : l.boxes) {
        painter.fillRect(box.rect, box.fill);
        if (box.outline.isValid() && box.outlineWidth > 0) {
            const int w = box.outlineWidth;
            const QRect r = box.rect;
            painter.fillRect(QRect(r.left(), r.top(), r.width(), w), box.outline);
            painter.fillRect(QRect(r.left(), r.bottom() - w + 1, r.width(), w), box.outline);
            painter.fillRect(QRect(r.left(), r.top(), w, r.height()), box.outline);
            painter.fillRect(QRect(r.right() - w + 1, r.top(), w, r.height()), box.outline);
        }
    }
    for (const BigScreenText& t : l.texts) {
        painter.setFont(t.font);
        painter.setPen(t.colour);
        painter.drawText(t.box, t.align | Qt::TextSingleLine, t.text);
    }
}

bool frmBigScreen::event(QEvent* e)
{
    // Some window systems activate every window that is shown or clicked,
    // whatever it asks for; the operator's keys belong to the scoreboard.
    if (e->type() == QEvent::WindowActivate && keyboardOwner_ && keyboardOwner_->isVisible())
        keyboardOwner_->activateWindow();
    return QWidget::event(e);
}

void frmBigScreen::mouseDoubleClickEvent(QMouseEvent*)
{
    commands_.bigScreenFullScreen();
}

void frmBigScreen::closeForGood()
{
    closing_ = true;
    close();
}

void frmBigScreen::closeEvent(QCloseEvent* e)
{
    // The close box closes the big screen; the window goes when the engine
    // has closed it, which it has done meanwhile (closeForGood). The match
    // is the engine's, and nothing of it is touched.
    if (!closing_)
        commands_.bigScreenClosed();
    e->setAccepted(closing_);
}
