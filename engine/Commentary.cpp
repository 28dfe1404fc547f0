// Calling out the visits: a recording per score, "No score" and "Game shot".
#include "engine/ModDarts.h"

void ModDarts::AnnounceScore(qint64 score)
{
    if (!state.CommentaryOn)
        return;
    PlaySoundFile(Commentary::ScoreFile(score));
}

void ModDarts::PlaySoundFile(const QString& name)
{
    commentary_.play(name);
}
