// The one listener of a hypertext's replace notifications. A save reads the written file back
// and a load or a new document empties the container: every object is then replaced, so
// whatever keeps an object (or anything that points into one, as a box's paragraphs point at
// their styles) beyond one call either holds its code and looks it up each time, or registers
// here: told before the objects go, it lets them go (keeping codes or text), and told after,
// it finds them again from those codes. This is the rule for every holder: page views, browse
// windows, the editor and its undo steps, frames, visual objects, export lists.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace orvo {

class TKYTset;

class ObjectHolders {
public:
    /// Takes the container's OnBeforeNew and OnAfterNew, which must be free; gives them back
    /// when destroyed. The container outlives this.
    explicit ObjectHolders(TKYTset& set);
    ~ObjectHolders();
    ObjectHolders(const ObjectHolders&) = delete;
    ObjectHolders& operator=(const ObjectHolders&) = delete;

    /// A holder's place in the list; the holder leaves it when this is destroyed.
    class Registration {
    public:
        Registration() = default;
        Registration(Registration&&) noexcept = default;
        Registration& operator=(Registration&&) noexcept = default;
        ~Registration();

    private:
        friend class ObjectHolders;
        struct Entry;
        Registration(std::weak_ptr<std::vector<std::shared_ptr<Entry>>> list,
                     std::shared_ptr<Entry> entry)
            : list_(std::move(list)), entry_(std::move(entry)) {}
        std::weak_ptr<std::vector<std::shared_ptr<Entry>>> list_;
        std::shared_ptr<Entry> entry_;
    };

    /// `detach` runs before every replacement, in the order holders registered; `attach`
    /// after it, in the reverse order (a holder registered later may stand on an earlier one).
    [[nodiscard]] Registration Add(std::function<void()> detach, std::function<void()> attach);
    std::size_t Count() const { return entries_->size(); }
    /// Whether the objects are let go now (between the two notifications).
    bool Detached() const { return detached_; }

private:
    void Detach();
    void Attach();
    TKYTset& set_;
    std::shared_ptr<std::vector<std::shared_ptr<Registration::Entry>>> entries_;
    bool detached_ = false;
};

struct ObjectHolders::Registration::Entry {
    std::function<void()> detach;
    std::function<void()> attach;
};

}  // namespace orvo
