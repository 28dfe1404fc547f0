// "&Undo": takes back the newest dart. The match restores its own state; every
// text, grid cell and bar the dart changed was recorded as it was changed
// (see ChangeJournal), and the statistics' counters and the high-score table
// with them, so taking the dart back restores everything exactly as it stood
// before it. Undo reaches back as far as the match's dart history does.
#include "base/AppText.h"
#include "engine/ModDarts.h"

void ModDarts::UndoLast()
{
    const std::optional<match::Dart> dart = match_.newestDart();
    if (!dart || !match_.undoLastDart()) {
        notifier().message(QStringLiteral("No more undos are allowed"), apptext::Title);
        return;
    }
    beginLogged();
    journal_.revertNewestDart();
    currentDartLabel_ = dart->label();
    logged([&] { return entry(QStringLiteral("undo")); });
}
