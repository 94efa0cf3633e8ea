// The update lock of a text box as a scoped guard.
#pragma once

namespace orvo {

class TKYTbox;

/// BeginUpdate on construction, EndUpdate on destruction (also when the operation in between
/// fails or throws).
class UpdateLock {
public:
    explicit UpdateLock(TKYTbox& box);
    ~UpdateLock();
    UpdateLock(const UpdateLock&) = delete;
    UpdateLock& operator=(const UpdateLock&) = delete;

private:
    TKYTbox& box_;
};

}  // namespace orvo
