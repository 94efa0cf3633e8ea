// GIF animation on the owner thread's timer.
#include "objects/TGIFPainter.h"

#include <cstdint>

namespace orvo {

TGIFPainter::TGIFPainter(IScheduler& scheduler, std::shared_ptr<const Picture> gif,
                         std::function<void()> repaint)
    : scheduler_(scheduler), gif_(std::move(gif)), repaint_(std::move(repaint)) {}

TGIFPainter::~TGIFPainter() {
    Stop();
}

std::chrono::milliseconds TGIFPainter::FrameDuration(const GifFrame& frame) {
    const int hundredths = frame.delay < 2 ? 10 : frame.delay;
    return std::chrono::milliseconds(hundredths * 10);
}

void TGIFPainter::Start() {
    Stop();
    frame_ = 0;
    ++generation_;
    if (!gif_ || gif_->frames.size() < 2) return;
    // No loop extension: one pass; 0: forever; n: n passes after the first.
    playsLeft_ = gif_->loopCount < 0 ? 1 : gif_->loopCount == 0 ? -1 : gif_->loopCount + 1;
    Schedule();
}

void TGIFPainter::Stop() {
    if (timer_ != 0) scheduler_.StopTimer(timer_);
    timer_ = 0;
}

void TGIFPainter::Schedule() {
    const GifFrame& frame = gif_->frames[frame_];
    timer_ = scheduler_.StartTimer(FrameDuration(frame), false, [this] {
        timer_ = 0;
        Advance();
    });
}

void TGIFPainter::Advance() {
    if (frame_ + 1 < gif_->frames.size()) {
        ++frame_;
    } else {
        if (playsLeft_ > 0) --playsLeft_;
        if (playsLeft_ == 0) return;  // the last frame stays
        frame_ = 0;
    }
    ++generation_;
    Schedule();
    if (repaint_) repaint_();
}

const Bitmap& TGIFPainter::Pixels() {
    if (pixelsFrame_ != frame_ && gif_) {
        pixels_ = RenderPicture(*gif_, frame_);
        pixelsFrame_ = frame_;
    }
    return pixels_;
}

}  // namespace orvo
