// The player of the visual objects over Qt Multimedia.
#pragma once

#include <QAudioOutput>
#include <QMediaPlayer>

#include "platform/IMediaPlayer.h"

namespace orvo {

class QtMediaPlayer final : public IMediaPlayer {
public:
    /// `volume` from 0 (silent) to 1.
    explicit QtMediaPlayer(float volume = 1.0f);
    ~QtMediaPlayer() override;

    int Open(const std::string& path) override;
    void Close() override;
    void Play() override;
    void Stop() override;
    void Rewind() override;
    bool Playing() const override;
    std::string ErrorText() const override { return error_; }
    void SetOnEnd(std::function<void()> onEnd) override { onEnd_ = std::move(onEnd); }

    QMediaPlayer& Player() { return player_; }

private:
    QMediaPlayer player_;
    QAudioOutput audio_;
    std::function<void()> onEnd_;
    std::string error_;
};

/// The visual objects' players become Qt players from now on.
void InstallQtMediaPlayer(float volume = 1.0f);

}  // namespace orvo
