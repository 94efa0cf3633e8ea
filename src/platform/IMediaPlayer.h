// The player of sound and video files: open, play, stop, rewind, the end of play reported on
// the user-interface thread, and a device error code with its text.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace orvo {

/// Error codes a player reports when a file cannot be opened: the player for the file's kind
/// is missing, the file is in use, any other failure.
inline constexpr int kMediaNoPlayer = 263;
inline constexpr int kMediaInUse = 265;
inline constexpr int kMediaOtherError = 1;

class IMediaPlayer {
public:
    virtual ~IMediaPlayer() = default;
    /// Opens `path`; 0, or an error code with ErrorText set. Never blocks on the playing.
    virtual int Open(const std::string& path) = 0;
    virtual void Close() = 0;
    virtual void Play() = 0;
    virtual void Stop() = 0;
    virtual void Rewind() = 0;
    virtual bool Playing() const = 0;
    virtual std::string ErrorText() const = 0;
    /// Called on the user-interface thread when a play reaches the file's end.
    virtual void SetOnEnd(std::function<void()> onEnd) = 0;
};

/// A player without a device: it opens a file that exists and holds a RIFF WAVE header
/// (otherwise code kMediaNoPlayer), plays without sound, and ends a play only when told
/// (FinishPlay), as a scheduler-driven test needs.
class NullMediaPlayer final : public IMediaPlayer {
public:
    int Open(const std::string& path) override;
    void Close() override;
    void Play() override;
    void Stop() override;
    void Rewind() override { position_ = 0; }
    bool Playing() const override { return playing_; }
    std::string ErrorText() const override { return error_; }
    void SetOnEnd(std::function<void()> onEnd) override { onEnd_ = std::move(onEnd); }

    /// The play reaches the end of the file.
    void FinishPlay();
    const std::string& OpenedPath() const { return path_; }
    int Plays() const { return plays_; }

private:
    std::function<void()> onEnd_;
    std::string path_;
    std::string error_;
    bool playing_ = false;
    int plays_ = 0;
    int position_ = 0;
};

/// Makes the players of the visual objects; the desktop program installs its own.
using MediaPlayerFactory = std::function<std::unique_ptr<IMediaPlayer>()>;
void SetMediaPlayerFactory(MediaPlayerFactory factory);
std::unique_ptr<IMediaPlayer> MakeMediaPlayer();

}  // namespace orvo
