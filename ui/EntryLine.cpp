#include "ui/EntryLine.h"

#include "engine/Commands.h"
#include "engine/KeyboardEntry.h"
#include "ui/Twips.h"
#include "ui/Widgets.h"

#include <QKeyEvent>
#include <QPainter>

EntryKey EntryKeyOf(const QKeyEvent& e)
{
    const Qt::KeyboardModifiers others =
        e.modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier | Qt::GroupSwitchModifier);
    if (others != Qt::NoModifier)
        return EntryKey::None;
    switch (e.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return EntryKey::Enter;
    case Qt::Key_Backspace:
        return EntryKey::Backspace;
    case Qt::Key_Escape:
        return EntryKey::Escape;
    default:
        break;
    }
    const QString text = e.text();
    return !text.isEmpty() && text.front().isPrint() ? EntryKey::Character : EntryKey::None;
}

void SendEntryKey(EntryKey key, const QKeyEvent& e, Commands& commands)
{
    switch (key) {
    case EntryKey::Character:
        commands.entryTyped(e.text());
        break;
    case EntryKey::Backspace:
        commands.entryBackspace();
        break;
    case EntryKey::Escape:
        commands.entryEscape();
        break;
    case EntryKey::Enter:
        commands.entryEnter();
        break;
    case EntryKey::None:
        break;
    }
}

EntryLine::EntryLine(QWidget* parent) : QWidget(parent), text_(prompt())
{
    setObjectName(QStringLiteral("lblEntry"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QString EntryLine::prompt()
{
    return QStringLiteral("Type a dart");
}

void EntryLine::show(const KeyboardEntry& entry)
{
    const bool prompting = entry.text.isEmpty();
    const QString text = prompting ? prompt() : entry.text;
    if (text == text_ && entry.error == hint_ && prompting == prompting_)
        return;
    text_ = text;
    hint_ = entry.error;
    prompting_ = prompting;
    update();
}

void EntryLine::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette::Black);
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));

    const QRect inside = rect().adjusted(3, 1, -3, -1);
    // The typed text takes the whole line until a hint needs the lower part.
    const int split = hint_.isEmpty() ? inside.height() : inside.height() * 11 / 20;
    const QRect textBox(inside.left(), inside.top(), inside.width(), split);
    const QRect hintBox(inside.left(), inside.top() + split, inside.width(), inside.height() - split);

    auto draw = [&](const QString& text, const QRect& box, const QFont& font, const QColor& colour) {
        const FittedText fitted = FitText(text, font, box.size(), false, 6);
        p.setFont(fitted.font);
        p.setPen(colour);
        p.drawText(box, Qt::AlignCenter, fitted.lines.value(0));
    };
    QFont font = designFont(Face::Arial, prompting_ ? 9 : 14, !prompting_);
    font.setPixelSize(std::max(6, std::min(font.pixelSize(), textBox.height() * 4 / 5)));
    draw(text_, textBox, font, prompting_ ? QColor(160, 160, 160) : palette::White);
    if (!hint_.isEmpty()) {
        QFont small = designFont(Face::Arial, 8, true);
        small.setPixelSize(std::max(6, std::min(small.pixelSize(), hintBox.height())));
        draw(hint_, hintBox, small, palette::Yellow);
    }
}
