// Darts typed on the scoreboard. A dart read from the text is thrown as a
// click in the middle of its bed, so it is scored, counted, called, logged
// and taken back exactly as that click would be.
#include "board/BoardGeometry.h"
#include "board/TypedDart.h"
#include "engine/ModDarts.h"

void ModDarts::EntryTyped(const QString& typed)
{
    for (QChar ch : typed) {
        // Keys that type nothing (arrows, function keys) arrive empty or as
        // control characters; the entry keeps what can be shown.
        if (!ch.isPrint() || keyboard.text.size() >= KeyboardEntry::MaxLength)
            continue;
        keyboard.text.append(ch);
        keyboard.error.clear();
    }
}

void ModDarts::EntryBackspace()
{
    if (!keyboard.text.isEmpty())
        keyboard.text.chop(1);
    keyboard.error.clear();
}

void ModDarts::EntryEscape()
{
    // The keys stay with the scoreboard, the big screen full screen in front
    // of it or not: Escape clears what is typed first, and with nothing
    // typed takes the big screen out of full screen.
    if (keyboard.text.isEmpty())
        bigScreenWindow.fullScreen = false;
    keyboard = KeyboardEntry();
}

void ModDarts::EntryEnter()
{
    // An Enter on an empty line is no attempt at a dart.
    if (keyboard.text.trimmed().isEmpty()) {
        keyboard = KeyboardEntry();
        return;
    }
    const TypedDart typed = ReadTypedDart(keyboard.text);
    if (typed.label.isEmpty()) {
        // Left standing, so Backspace can mend it.
        keyboard.error = typed.hint;
        return;
    }
    // A board drawn too small to hold the bed cannot be clicked inside it
    // either; recording some other dart instead would be worse than none.
    const std::optional<QPointF> at = PointInside(board.Image1, typed.label);
    if (!at) {
        keyboard.error = QStringLiteral("Board too small");
        return;
    }
    keyboard = KeyboardEntry();
    BoardPressed(at->x(), at->y());
}
