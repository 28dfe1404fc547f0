#include "ui/SoundPlayer.h"

#include <QFileInfo>
#include <QSoundEffect>
#include <QUrl>

SoundPlayer::SoundPlayer(QObject* parent) : QObject(parent) {}

SoundPlayer::~SoundPlayer() = default;

void SoundPlayer::play(const QString& path)
{
    if (!effect_)
        effect_ = new QSoundEffect(this);
    effect_->stop();
    const QFileInfo file(path);
    if (!file.isFile() || !file.isReadable())
        return;
    const QUrl url = QUrl::fromLocalFile(file.absoluteFilePath());
    if (effect_->source() != url)
        effect_->setSource(url); // loads in the background; play() waits for it
    effect_->play();
}
