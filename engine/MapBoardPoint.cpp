#include "board/BoardGeometry.h"
#include "engine/ModDarts.h"
#include "base/TextNumbers.h"

qint64 ModDarts::MapBoardPoint(double X, double Y, bool Throw)
{
    const DartHit hit = HitAt(board.Image1, X, Y);

    if (Throw) {
        PlayerPanel& p = currentPanel();
        // The visit total is kept as the panel's text; a miss adds 0 to it
        // and still writes its "0" below, like any other dart.
        p.lblThreeDartScore.setText(
            NumberText(p.lblThreeDartScore.value() + double(hit.Score)));
        if (Field* dart = p.dartLabel(state.DartsInVisit))
            dart->setText(hit.Label);
    }

    // The pointer's moves set the label too: the aim box shows it.
    history.CurrentDartLabel = hit.Label;

    if (!Throw)
        return 0;

    // The history keeps the last 50 darts for undo; the 51st since it was
    // emptied overwrites slot 1.
    int next = history.DartHistoryIndex + 1;
    if (next > DartHistory::Slots || next < 1)
        next = 1;
    history.DartHistoryIndex = next;
    history.slot[next] = hit.Label;
    return hit.Score;
}
