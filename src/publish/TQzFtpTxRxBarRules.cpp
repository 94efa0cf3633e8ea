// The progress bar of an FTP operation, without its widgets.
#include "publish/TQzFtpTxRxBarRules.h"

namespace orvo {

TQzFtpTxRxBarRules::TQzFtpTxRxBarRules(IScheduler& scheduler, IEventPump& pump)
    : scheduler_(scheduler), comm_(scheduler, pump) {
    comm_.OnBusyChanged = [this](bool busy) {
        if (busy)
            Show();
        else
            Hide();
    };
}

TQzFtpTxRxBarRules::~TQzFtpTxRxBarRules() {
    comm_.OnBusyChanged = nullptr;
    if (timer_ != 0) scheduler_.StopTimer(timer_);
}

void TQzFtpTxRxBarRules::Show() {
    visible_ = true;
    gauge_ = 0;
    gaugeShown_ = true;
    status_.clear();
    if (timer_ == 0) timer_ = scheduler_.StartTimer(kRefreshInterval, true, [this] { Tick(); });
    if (OnRefresh) OnRefresh();
}

void TQzFtpTxRxBarRules::Hide() {
    visible_ = false;
    gaugeShown_ = false;
    if (timer_ != 0) scheduler_.StopTimer(timer_);
    timer_ = 0;
    if (OnRefresh) OnRefresh();
}

void TQzFtpTxRxBarRules::Tick() {
    // The stop button's caption turns by one character at every refresh.
    if (!caption_.empty()) caption_ = caption_.substr(1) + caption_.front();
    const int percent = comm_.ProgressPercent();
    if (percent >= 0) {
        gauge_ = percent;
        gaugeShown_ = true;
        status_.clear();
    } else {
        gaugeShown_ = false;
        status_ = comm_.StatusText();
    }
    if (OnRefresh) OnRefresh();
}

void TQzFtpTxRxBarRules::StopClick() {
    comm_.StopOperation();
    if (OnStopClick) OnStopClick();
}

}  // namespace orvo
