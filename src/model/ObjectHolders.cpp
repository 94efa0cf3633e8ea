#include "model/ObjectHolders.h"

#include <algorithm>

#include "model/uKYTset.h"

namespace orvo {

ObjectHolders::ObjectHolders(TKYTset& set)
    : set_(set), entries_(std::make_shared<std::vector<std::shared_ptr<Registration::Entry>>>()) {
    set_.OnBeforeNew = [this] { Detach(); };
    set_.OnAfterNew = [this] { Attach(); };
}

ObjectHolders::~ObjectHolders() {
    set_.OnBeforeNew = nullptr;
    set_.OnAfterNew = nullptr;
}

ObjectHolders::Registration::~Registration() {
    if (!entry_) return;
    if (auto list = list_.lock()) std::erase(*list, entry_);
}

ObjectHolders::Registration ObjectHolders::Add(std::function<void()> detach,
                                               std::function<void()> attach) {
    auto entry = std::make_shared<Registration::Entry>();
    entry->detach = std::move(detach);
    entry->attach = std::move(attach);
    entries_->push_back(entry);
    return Registration(entries_, std::move(entry));
}

void ObjectHolders::Detach() {
    detached_ = true;
    // A copy: a holder may leave while it is told.
    const auto entries = *entries_;
    for (const auto& entry : entries)
        if (entry->detach) entry->detach();
}

void ObjectHolders::Attach() {
    const auto entries = *entries_;
    for (auto it = entries.rbegin(); it != entries.rend(); ++it)
        if ((*it)->attach) (*it)->attach();
    detached_ = false;
}

}  // namespace orvo
