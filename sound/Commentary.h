#pragma once
// The commentary's recordings: one file per visit score, and the two fixed
// calls. The files live in the program's sounds folder; the program lists no
// other sound and never checks which files exist.
#include "base/SoundOutput.h"

#include <QString>

class Commentary {
public:
    static inline const QString NoScore = QStringLiteral("noscore.wav");
    static inline const QString GameShot = QStringLiteral("gameshot.wav");

    Commentary(SoundOutput* output, QString folder);

    // The call for a completed visit: its score's file, "No score" for 0.
    static QString ScoreFile(qint64 score);

    // Starts the named file of the sounds folder and returns at once.
    void play(const QString& name) const;

private:
    SoundOutput* output_;
    QString folder_;
};
