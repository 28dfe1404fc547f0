#include "engine/ModDarts.h"

void ModDarts::BoardMoved(double X, double Y)
{
    MapBoardPoint(X, Y);

    AimBox& box = board.Frame3;
    // The pointer's picture coordinates are used as window coordinates, which
    // with the usual layout puts the box just left of the pointer.
    box.left = X + 1000;
    box.top = Y;
    // The label is repainted at once, but only when the segment under the
    // pointer changes: moving within a bed costs no painting.
    if (box.caption != currentDartLabel_) {
        box.caption = currentDartLabel_;
        ++box.captionWrites;
    }
    box.visible = currentDartLabel_ != u"0";
}

void ModDarts::WindowMoved()
{
    board.Frame3.visible = false;
}
