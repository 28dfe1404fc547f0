#pragma once
// Real playback of the commentary through Qt Multimedia. Every call starts
// its file at once and returns; a new sound cuts off the one still playing.
// A missing file, an unreadable one or a machine without a sound device
// plays nothing and says nothing.
#include "base/SoundOutput.h"

#include <QObject>

class QSoundEffect;

class SoundPlayer : public QObject, public SoundOutput {
    Q_OBJECT
public:
    explicit SoundPlayer(QObject* parent = nullptr);
    ~SoundPlayer() override;

    void play(const QString& path) override;

private:
    // Made on the first sound, so a program that never speaks never opens
    // the audio system.
    QSoundEffect* effect_ = nullptr;
};
