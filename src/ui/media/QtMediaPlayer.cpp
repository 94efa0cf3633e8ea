#include "ui/media/QtMediaPlayer.h"

#include <QFileInfo>
#include <QUrl>

namespace orvo {

QtMediaPlayer::QtMediaPlayer(float volume) {
    audio_.setVolume(volume);
    player_.setAudioOutput(&audio_);
    QObject::connect(&player_, &QMediaPlayer::mediaStatusChanged,
                     [this](QMediaPlayer::MediaStatus s) {
                         if (s == QMediaPlayer::EndOfMedia && onEnd_) onEnd_();
                     });
    QObject::connect(&player_, &QMediaPlayer::errorOccurred,
                     [this](QMediaPlayer::Error, const QString& text) {
                         // A file found unplayable while loading: the play ends at once.
                         error_ = text.toStdString();
                         player_.stop();
                     });
}

QtMediaPlayer::~QtMediaPlayer() {
    onEnd_ = nullptr;
    player_.stop();
}

int QtMediaPlayer::Open(const std::string& path) {
    error_.clear();
    const QFileInfo info(QString::fromStdString(path));
    if (!info.isFile() || !info.isReadable()) {
        error_ = "Impossibile aprire il file: " + path;
        return kMediaOtherError;
    }
    // The loading goes on in the background; a file no backend plays reports its error then.
    player_.setSource(QUrl::fromLocalFile(info.absoluteFilePath()));
    if (player_.error() != QMediaPlayer::NoError) {
        error_ = player_.errorString().toStdString();
        return kMediaNoPlayer;
    }
    return 0;
}

void QtMediaPlayer::Close() {
    player_.stop();
    player_.setSource(QUrl());
}

void QtMediaPlayer::Play() {
    player_.play();
}

void QtMediaPlayer::Stop() {
    player_.stop();
}

void QtMediaPlayer::Rewind() {
    player_.setPosition(0);
}

bool QtMediaPlayer::Playing() const {
    return player_.playbackState() == QMediaPlayer::PlayingState;
}

void InstallQtMediaPlayer(float volume) {
    SetMediaPlayerFactory([volume] { return std::make_unique<QtMediaPlayer>(volume); });
}

}  // namespace orvo
