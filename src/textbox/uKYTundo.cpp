// The undo list, the control and frame indexes, and the box, deletion and object steps.
#include "textbox/uKYTundo.h"

#include <algorithm>

#include "base/ByteStream.h"
#include "model/Markup.h"
#include "model/StyleTable.h"
#include "model/uKYTset.h"
#include "textbox/UpdateLock.h"
#include "textbox/uKYTbox.h"

namespace orvo {

// --- Indexes -------------------------------------------------------------------------------

std::int32_t TKYTundoIndiciList::Register(IUndoControl* control) {
    ++lastNumber_;
    Put(control, lastNumber_);
    return lastNumber_;
}

IUndoControl* TKYTundoIndiciList::Lookup(std::int32_t number) const {
    if (number < 0 || number >= Count()) return nullptr;
    return controls_[std::size_t(number)];
}

void TKYTundoIndiciList::Put(IUndoControl* control, std::int32_t number) {
    if (number < 0) return;
    if (number >= Count()) controls_.resize(std::size_t(number) + 1, nullptr);
    controls_[std::size_t(number)] = control;
    lastNumber_ = std::max(lastNumber_, number);
}

void TKYTundoFrames::SetFrame(std::int32_t frameId, std::int32_t pageId,
                              TKYTundoIndiciList* controls) {
    frames_[frameId] = Entry{pageId, controls};
}

void TKYTundoFrames::RemoveFrame(std::int32_t frameId) {
    frames_.erase(frameId);
}

TKYTundoIndiciList* TKYTundoFrames::PageControls(std::int32_t frameId, std::int32_t pageId) const {
    auto it = frames_.find(frameId);
    if (it == frames_.end() || it->second.pageId != pageId) return nullptr;
    return it->second.controls;
}

// --- Steps ---------------------------------------------------------------------------------

std::size_t TKYTbackup::MemorySize() const {
    return sizeof(*this) + label_.capacity() + path_.capacity() * sizeof(std::int32_t);
}

IUndoControl* TKYTbackup::Resolve(TKYTundoList& list) const {
    const std::size_t n = path_.size();
    if (n == 0) return nullptr;
    const std::int32_t frameId = path_[n - 1];
    if (!list.Frames().HasFrame(frameId)) {
        if (n >= 2) list.Messages().Error(kUndoFrameMissing);
        return nullptr;
    }
    if (n < 2) return nullptr;
    TKYTundoIndiciList* controls = list.Frames().PageControls(frameId, path_[n - 2]);
    if (!controls) {
        if (n >= 3) list.Messages().Error(kUndoPageMissing);
        return nullptr;
    }
    if (n < 3) return nullptr;
    return controls->Lookup(path_[0]);
}

namespace {

std::string SnapshotOf(TKYTbox& box, std::int32_t first, std::int32_t last) {
    MemoryStream stream;
    for (std::int32_t i = first; i <= last && i < box.ParagraphCount(); ++i) {
        const TKYTparag& p = box.Paragraph(i);
        if (!p.WriteMarkup(stream, wmSnapshot, 0, -1, box.HostFor(p.kind))) break;
    }
    std::string bytes = stream.TakeBytes();
    bytes.push_back('\0');
    bytes.shrink_to_fit();
    return bytes;
}

TKYTTextPos PosAt(std::int32_t para, std::int32_t ch) {
    TKYTTextPos pos;
    pos.paraIndex = para;
    pos.charIndex = ch;
    return pos;
}

}  // namespace

TboBackup::TboBackup(std::string label, UndoPath path, TKYTbox& box, std::int32_t firstPara,
                     std::int32_t lastPara)
    : TKYTbackup(std::move(label), std::move(path)),
      savedFirst_(firstPara),
      savedLast_(lastPara),
      afterFirst_(firstPara),
      afterLast_(lastPara),
      markup_(SnapshotOf(box, firstPara, lastPara)) {}

std::size_t TboBackup::MemorySize() const {
    return TKYTbackup::MemorySize() + markup_.capacity();
}

bool TboBackup::Restore(TKYTbox& box) {
    const std::int32_t count = box.ParagraphCount();
    if (afterFirst_ < box.FirstEditable() || afterFirst_ > count || afterLast_ >= count ||
        afterLast_ < afterFirst_ - 1)
        return false;
    UpdateLock lock(box);
    box.ClearSelection();
    std::int32_t top = 0, oldBottom = 0;
    if (afterLast_ >= afterFirst_) {
        top = box.Paragraph(afterFirst_).top;
        oldBottom = box.Paragraph(afterLast_).bottom;
    } else if (afterFirst_ > 0) {
        top = oldBottom = box.Paragraph(afterFirst_ - 1).bottom + 1;
    }
    Paragraphs restored = ReadText(markup_, box.HostFor(kBodyParagraph), wmSnapshot);
    if (restored.empty()) return false;
    Paragraphs& all = box.MutableParagraphs();
    all.erase(all.begin() + afterFirst_, all.begin() + afterLast_ + 1);
    const std::int32_t n = std::int32_t(restored.size());
    for (auto& p : restored) p->kind = kBodyParagraph;
    all.insert(all.begin() + savedFirst_, std::make_move_iterator(restored.begin()),
               std::make_move_iterator(restored.end()));
    // The text under the old range stays where it is: only the difference moves it.
    box.RelayoutRange(savedFirst_, savedFirst_ + n - 1, true, oldBottom, top);
    return true;
}

IUndoControl* TboBackup::Apply(TKYTundoList& list) {
    IUndoControl* control = Resolve(list);
    TKYTbox* box = control ? control->EditedBox() : nullptr;
    if (!box || !Restore(*box)) return nullptr;
    const std::int32_t last = savedFirst_ + (savedLast_ - savedFirst_);
    box->SetCaret(PosAt(last, std::int32_t(box->Paragraph(last).text.size())));
    return control;
}

TcancelBackup::TcancelBackup(std::string label, UndoPath path, TKYTbox& box, std::int32_t startPara,
                             std::int32_t startChar, std::int32_t endPara, std::int32_t endChar)
    : TboBackup(std::move(label), std::move(path), box, startPara, endPara),
      startChar_(startChar),
      endChar_(endChar) {
    // A deletion leaves one paragraph unless the operation says otherwise.
    SetAfterRange(startPara, startPara);
}

IUndoControl* TcancelBackup::Apply(TKYTundoList& list) {
    IUndoControl* control = Resolve(list);
    TKYTbox* box = control ? control->EditedBox() : nullptr;
    if (!box || !Restore(*box)) return nullptr;
    const bool oneCharacter = savedFirst_ == savedLast_ && endChar_ == startChar_ + 1;
    const bool join = savedLast_ == savedFirst_ + 1 && endChar_ == 0 &&
                      startChar_ == std::int32_t(box->Paragraph(savedFirst_).text.size());
    if (oneCharacter || join) {
        box->ClearSelection();
        box->SetCaret(PosAt(savedFirst_, startChar_));
    } else {
        box->SetSelection(box->ResolvePosition(PosAt(savedFirst_, startChar_)),
                          box->ResolvePosition(PosAt(savedLast_, endChar_)));
        box->SetCaret(PosAt(savedLast_, endChar_));
    }
    return control;
}

TogBackup::TogBackup(std::string label, const TKYToggetto& object)
    : TKYTbackup(std::move(label), {}),
      kind_(KindIndex(object.Kind())),
      name_(object.Name()),
      record_(reinterpret_cast<const char*>(object.Record().data()), object.Record().size()),
      auxiliary_(object.Auxiliary()) {
    if (const std::string* bytes = object.Content().Memory()) content_ = *bytes;
}

std::size_t TogBackup::MemorySize() const {
    return TKYTbackup::MemorySize() + name_.capacity() + record_.capacity() + content_.capacity() +
           (auxiliary_ ? auxiliary_->capacity() : 0);
}

IUndoControl* TogBackup::Apply(TKYTundoList& list) {
    TKYTset& set = list.Set();
    TKYToggetto* target = nullptr;
    if (KindOf(kind_) == TOggettiHel::stileParagrafo) {
        target = StyleByName(set, name_);
    } else {
        for (const auto& object : set.KindList(KindOf(kind_)))
            if (object && !object->IsFree() && object->Name() == name_) {
                target = object.get();
                break;
            }
    }
    if (!target) return nullptr;
    std::copy(record_.begin(), record_.end(), target->Record().begin());
    if (!content_.empty()) target->SetContent(content_);
    target->SetAuxiliary(auxiliary_);
    if (KindOf(kind_) == TOggettiHel::immagine) set.DropCachedPicture(target->Identifier());
    return nullptr;
}

// --- The list ------------------------------------------------------------------------------

TKYTundoList::TKYTundoList(TKYTset& set, TKYTundoFrames& frames, IMessages& messages)
    : set_(set), frames_(frames), messages_(messages) {}

TKYTundoList::TKYTundoList(TKYTset& set, IMessages& messages)
    : ownFrames_(std::make_unique<TKYTundoFrames>()),
      set_(set),
      frames_(*ownFrames_),
      messages_(messages) {}

TKYTundoList::~TKYTundoList() {
    const auto destroyed = std::move(destroyed_);
    for (const auto& [owner, callback] : destroyed) callback();
}

void TKYTundoList::AddUndo(std::unique_ptr<TKYTbackup> step) {
    if (!step) return;
    step->serial_ = ++lastSerial_;
    redo_.clear();
    while (!undo_.empty() && int(undo_.size()) >= depth_) undo_.erase(undo_.begin());
    undo_.push_back(std::move(step));
    set_.SetModified(true);
}

void TKYTundoList::AddRedo(std::unique_ptr<TKYTbackup> step) {
    if (!step) return;
    step->serial_ = ++lastSerial_;
    redo_.push_back(std::move(step));
}

IUndoControl* TKYTundoList::UndoOne() {
    if (undo_.empty()) return nullptr;
    // Taken off the list first: a step that cannot be applied is still removed and freed.
    std::unique_ptr<TKYTbackup> step = std::move(undo_.back());
    undo_.pop_back();
    IUndoControl* focus = step->Apply(*this);
    NotifyApplied();
    return focus;
}

IUndoControl* TKYTundoList::RedoOne() {
    if (redo_.empty()) return nullptr;
    std::unique_ptr<TKYTbackup> step = std::move(redo_.back());
    redo_.pop_back();
    IUndoControl* focus = step->Apply(*this);
    NotifyApplied();
    return focus;
}

IUndoControl* TKYTundoList::UndoFromList(int count) {
    if (busy || undo_.empty()) return nullptr;
    busy = true;
    IUndoControl* focus = nullptr;
    for (int i = 0; i < count && !undo_.empty(); ++i) {
        if (focus && i > 0)
            if (TKYTbox* box = focus->EditedBox()) box->ClearSelection();
        focus = UndoOne();
    }
    busy = false;
    return focus;
}

void TKYTundoList::OnApplied(const void* owner, std::function<void()> callback) {
    std::erase_if(applied_, [owner](const auto& entry) { return entry.first == owner; });
    if (callback) applied_.emplace_back(owner, std::move(callback));
}

void TKYTundoList::OnDestroyed(const void* owner, std::function<void()> callback) {
    std::erase_if(destroyed_, [owner](const auto& entry) { return entry.first == owner; });
    if (callback) destroyed_.emplace_back(owner, std::move(callback));
}

void TKYTundoList::NotifyApplied() {
    // A callback may add or remove others: those registered now and still registered when
    // their turn comes are called.
    std::vector<const void*> owners;
    for (const auto& entry : applied_) owners.push_back(entry.first);
    for (const void* owner : owners) {
        auto it = std::find_if(applied_.begin(), applied_.end(),
                               [owner](const auto& entry) { return entry.first == owner; });
        if (it == applied_.end()) continue;
        const std::function<void()> callback = it->second;
        callback();
    }
}

void TKYTundoList::SetDepth(int n) {
    if (n < 2) return;
    depth_ = n;
    while (int(undo_.size()) > depth_) undo_.erase(undo_.begin());
}

void TKYTundoList::Clear() {
    undo_.clear();
    redo_.clear();
}

void TKYTundoList::Restart(int depth) {
    Clear();
    SetDepth(depth);
}

TKYTundoList& UndoListOf(TKYTset& set) {
    if (auto* list = dynamic_cast<TKYTundoList*>(set.UndoHistory.get())) return *list;
    auto list = std::make_unique<TKYTundoList>(set, set.Messages());
    list->SetDepth(set.UndoDeep);
    TKYTundoList& made = *list;
    set.UndoHistory = std::move(list);
    return made;
}

std::vector<std::string> TKYTundoList::Labels() const {
    std::vector<std::string> labels;
    for (auto it = undo_.rbegin(); it != undo_.rend(); ++it) labels.push_back((*it)->Label());
    return labels;
}

std::size_t TKYTundoList::MemorySize() const {
    std::size_t total = 0;
    for (const auto& step : undo_) total += step->MemorySize();
    return total;
}

void TKYTundoList::PurgePage(const TKYTpage&) {
    Clear();
}

const TKYTbackup* TKYTundoList::Newest() const {
    return undo_.empty() ? nullptr : undo_.back().get();
}

TKYTbackup* TKYTundoList::Newest() {
    return undo_.empty() ? nullptr : undo_.back().get();
}

TKYTbackup* TKYTundoList::NewestWithSerial(std::uint64_t serial) {
    TKYTbackup* newest = Newest();
    return newest && serial != 0 && newest->Serial() == serial ? newest : nullptr;
}

}  // namespace orvo
