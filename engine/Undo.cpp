// "&Undo": takes back the newest dart. Every change a dart made was recorded
// as it was made (see ChangeJournal), so taking the dart back restores the
// match exactly as it stood before it: panels, statistics, the throw, the
// high-score table. Undo reaches back as far as the dart history does.
#include "base/AppText.h"
#include "engine/ModDarts.h"

void ModDarts::UndoLast()
{
    const int index = history.DartHistoryIndex;
    if (index <= 0) {
        notifier().message(QStringLiteral("No more undos are allowed"), apptext::Title);
        return;
    }
    const QString label = history.slot[index];
    journal_.revertNewestDart();
    history.slot[index].clear();
    history.DartHistoryIndex = index - 1;
    history.CurrentDartLabel = label;
}
