// "TQzFtpTxRxBar" without its widgets: the progress bar of an FTP operation, with its stop
// button whose caption turns, its gauge and its status label, refreshed every 150 ms.
#pragma once

#include <functional>
#include <string>

#include "platform/IScheduler.h"
#include "publish/uQzFtp.h"

namespace orvo {

inline constexpr std::string_view kStopCaption = "Stop! ";

/// Owns the runner it shows; the panel in the desktop program copies Visible(), StopCaption(),
/// Gauge(), GaugeShown() and StatusLabel() into its widgets after every OnRefresh.
class TQzFtpTxRxBarRules {
public:
    static constexpr std::chrono::milliseconds kRefreshInterval{150};

    TQzFtpTxRxBarRules(IScheduler& scheduler, IEventPump& pump);
    ~TQzFtpTxRxBarRules();

    TQzFtpComm& Comm() { return comm_; }

    /// Bar, button and gauge visible, gauge at 0, the timer on (the runner calls it when an
    /// operation starts).
    void Show();
    /// Everything hidden, the timer off (when the operation ends).
    void Hide();
    /// The stop button: stops the running operation, then OnStopClick.
    void StopClick();
    std::function<void()> OnStopClick;
    std::function<void()> OnRefresh;

    bool Visible() const { return visible_; }
    const std::string& StopCaption() const { return caption_; }
    int Gauge() const { return gauge_; }
    bool GaugeShown() const { return gaugeShown_; }
    const std::string& StatusLabel() const { return status_; }

private:
    void Tick();

    IScheduler& scheduler_;
    TQzFtpComm comm_;
    IScheduler::TimerId timer_ = 0;
    bool visible_ = false;
    std::string caption_ = std::string(kStopCaption);
    int gauge_ = 0;
    bool gaugeShown_ = false;
    std::string status_;
};

}  // namespace orvo
