#include "platform/IMediaPlayer.h"

#include <fstream>

namespace orvo {

int NullMediaPlayer::Open(const std::string& path) {
    Close();
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error_ = "Impossibile aprire il file: " + path;
        return kMediaOtherError;
    }
    // Only a RIFF WAVE file has a player here.
    char head[12] = {};
    in.read(head, sizeof head);
    if (in.gcount() != std::streamsize(sizeof head) || std::string(head, 4) != "RIFF" ||
        std::string(head + 8, 4) != "WAVE") {
        error_ = "Nessun lettore per il file: " + path;
        return kMediaNoPlayer;
    }
    path_ = path;
    error_.clear();
    return 0;
}

void NullMediaPlayer::Close() {
    playing_ = false;
    path_.clear();
}

void NullMediaPlayer::Play() {
    if (path_.empty()) return;
    playing_ = true;
    ++plays_;
}

void NullMediaPlayer::Stop() {
    playing_ = false;
}

void NullMediaPlayer::FinishPlay() {
    if (!playing_) return;
    playing_ = false;
    if (onEnd_) onEnd_();
}

namespace {
MediaPlayerFactory& Factory() {
    static MediaPlayerFactory factory;
    return factory;
}
}  // namespace

void SetMediaPlayerFactory(MediaPlayerFactory factory) {
    Factory() = std::move(factory);
}

std::unique_ptr<IMediaPlayer> MakeMediaPlayer() {
    if (Factory()) return Factory()();
    return std::make_unique<NullMediaPlayer>();
}

}  // namespace orvo
