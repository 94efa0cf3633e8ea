// The animation of a GIF with several frames: each frame composed over the ones before it,
// shown for its own delay, on a timer of the owner thread. Stopping is synchronous.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>

#include "picture/Picture.h"
#include "platform/IScheduler.h"

namespace orvo {

class TGIFPainter {
public:
    /// `repaint` is called on the owner thread whenever another frame is current.
    TGIFPainter(IScheduler& scheduler, std::shared_ptr<const Picture> gif,
                std::function<void()> repaint);
    ~TGIFPainter();
    TGIFPainter(const TGIFPainter&) = delete;
    TGIFPainter& operator=(const TGIFPainter&) = delete;

    /// Starts at the first frame; does nothing for a picture with fewer than two frames.
    void Start();
    /// Stops the timer; the current frame stays.
    void Stop();
    bool Running() const { return timer_ != 0; }
    std::size_t Frame() const { return frame_; }
    /// The pixels of the current frame (composed over the previous ones).
    const Bitmap& Pixels();
    /// Bumps on every frame change, for caches of scaled pixels.
    std::uint64_t Generation() const { return generation_; }

    /// How long a frame stays: its delay, with delays under 2 hundredths taken as 10 as
    /// browsers do.
    static std::chrono::milliseconds FrameDuration(const GifFrame& frame);

private:
    void Schedule();
    void Advance();

    IScheduler& scheduler_;
    std::shared_ptr<const Picture> gif_;
    std::function<void()> repaint_;
    IScheduler::TimerId timer_ = 0;
    std::size_t frame_ = 0;
    int playsLeft_ = 1;  // complete passes still to show; -1 forever
    Bitmap pixels_;
    std::size_t pixelsFrame_ = SIZE_MAX;
    std::uint64_t generation_ = 0;
};

}  // namespace orvo
