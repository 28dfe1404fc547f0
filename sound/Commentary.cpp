#include "sound/Commentary.h"

Commentary::Commentary(SoundOutput* output, QString folder)
    : output_(output), folder_(std::move(folder))
{
}

QString Commentary::ScoreFile(qint64 score)
{
    return score != 0 ? QString::number(score) + QStringLiteral(".wav") : NoScore;
}

void Commentary::play(const QString& name) const
{
    if (output_)
        output_->play(folder_ + u'/' + name);
}
