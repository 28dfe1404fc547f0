// Calling out the visits: a recording per score, "No score" and "Game shot".
#include "engine/ModDarts.h"

void ModDarts::AnnounceScore(qint64 score)
{
    if (!state.CommentaryOn)
        return;
    if (score != 0)
        PlaySoundFile(QString::number(score) + QStringLiteral(".wav"));
    else
        PlaySoundFile(QStringLiteral("noscore.wav"));
}

void ModDarts::PlaySoundFile(const QString& name)
{
    if (setup_.sound)
        setup_.sound->play(setup_.soundsFolder + u'/' + name);
}
