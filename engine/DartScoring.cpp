// A dart: the click on the board turned into a dart for the match, whose
// events (ModDarts.cpp) write everything it changes.
#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"

DartHit ModDarts::MapBoardPoint(double X, double Y)
{
    const DartHit hit = HitAt(board.Image1, X, Y);
    // The pointer's moves set the label too: the aim box shows it.
    currentDartLabel_ = hit.Label;
    return hit;
}

void ModDarts::BoardPressed(double X, double Y)
{
    // Every point of the window maps to one of the board's labels; a point
    // off the board is a miss.
    pressedOn(X, Y, HitAt(board.Image1, X, Y).Label);
}

void ModDarts::pressedOn(double X, double Y, const QString& label)
{
    beginLogged();
    enteredHighScore_.reset();
    currentDartLabel_ = label;
    const std::optional<match::Dart> dart = match::Dart::fromLabel(label);
    // Everything the dart changes outside the match is recorded for undo.
    journal_.beginDart();
    // The announcement the dart opens or changes goes with it: taking the
    // dart back puts the dialog back as it stood before, closed or showing
    // the earlier text.
    journal_.record([this, open = winner.open(), w = winner.lblWinner(), p = winner.lblPlayer(),
                     top = winner.winnerTop()] { winner.restore(open, w, p, top); });
    match_.throwDart(dart.value_or(match::Dart::miss()));
    journal_.endDart();
    logged([&] { return pressEntry(X, Y); });
}
