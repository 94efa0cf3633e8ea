// The ordered trees of a hypertext: loading, editing and saving.
#include "model/TKYTorderedTree.h"

#include "base/Cp1252.h"
#include "base/Paths.h"
#include "model/HeaderRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

const FieldSpec* TreeStoreField(TOggettiHel objects) {
    switch (objects) {
        case TOggettiHel::testoHtml:
            return &kHdrPageTree;
        case TOggettiHel::custom:
            return &kHdrPrototypeTree;
        default:
            return nullptr;
    }
}

namespace {
constexpr int kOtherImage = 3;
ViewIcon Extension(std::string extension) {
    return {std::move(extension), -1, false};
}
ViewIcon Image(int image) {
    return {{}, image, false};
}
}  // namespace

ViewIcon IconOf(const TKYToggetto& object) {
    switch (object.Kind()) {
        case TOggettiHel::testoHtml:
            return Extension(".txt");
        case TOggettiHel::custom:
            return Extension(".ini");
        case TOggettiHel::dbloc:
            return Extension(".dsn");
        case TOggettiHel::genLink:
        case TOggettiHel::immagine:
            return Extension(ExtensionOf(object.FileName()));
        case TOggettiHel::keyword:
            return {{}, -1, true};
        case TOggettiHel::internetLink: {
            const std::string address = object.Name();
            const unsigned char first =
                address.empty() ? 0 : UpperCase1252(static_cast<unsigned char>(address[0]));
            if (first == 'H') return Extension(".htm");
            if (first == 'M') return Extension(".msg");
            if (first == 'F') return Image(kOtherImage);
            if (ExtensionOf(address).starts_with(".htm")) return Extension(".htm");
            return Image(kOtherImage);
        }
        default:
            return Image(kOtherImage);
    }
}

ViewIcon IconOf(const TreeNode& node, const TKYTset* set) {
    switch (node.Kind()) {
        case TreeNodeKind::Root:
            return Extension(".kyt");
        case TreeNodeKind::Chapter:
            return Extension(".hlp");
        case TreeNodeKind::Object:
            if (const TKYToggetto* object = set ? set->ObjectByCode(node.Code()) : nullptr)
                return IconOf(*object);
            return Image(kOtherImage);
        case TreeNodeKind::None:
            return Image(kOtherImage);
    }
    return Image(kOtherImage);
}

TKYTorderedTree::TKYTorderedTree(TKYTset* set, TOggettiHel objects)
    : Objects(objects), LinkedKYTset(set) {}

TKYToggetto* TKYTorderedTree::LiveObject(std::int32_t code) const {
    if (!LinkedKYTset || CodeKind(code) != KindIndex(Objects)) return nullptr;
    TKYToggetto* object = LinkedKYTset->ObjectByCode(code);
    return object && object->Kind() == Objects && !object->IsFree() ? object : nullptr;
}

TKYToggetto* TKYTorderedTree::Store(bool create) {
    const FieldSpec* field = TreeStoreField(Objects);
    if (!LinkedKYTset || !field) return nullptr;
    const std::int32_t code = LinkedKYTset->HeaderView().I32(*field);
    if (code != 0) {
        // Only an in-use shortObj is a store: a header naming anything else (a damaged or
        // hostile file) must not have a page or a picture overwritten by tree text.
        TKYToggetto* store = LinkedKYTset->ObjectByCode(code);
        if (store && store->Kind() == TOggettiHel::shortObj && !store->IsFree()) return store;
    }
    if (!create) return nullptr;
    auto store = NewObjectOfKind(TOggettiHel::shortObj, LinkedKYTset);
    store->Clear();
    store->TakeIntoUse();
    const std::int32_t identifier = LinkedKYTset->Register(std::move(store));
    LinkedKYTset->HeaderRecordView().SetI32(*field, MakeCode(TOggettiHel::shortObj, identifier));
    return LinkedKYTset->ObjectByKind(TOggettiHel::shortObj, identifier);
}

void TKYTorderedTree::BuildDefaultTree() {
    tree_.Clear();
    TreeNode* root = tree_.Append(nullptr, TreeNodeKind::Root,
                                  std::string(LastComponent(LinkedKYTset->KYTFileName())));
    for (const auto& object : LinkedKYTset->KindList(Objects))
        if (!object->IsFree())
            tree_.Append(root, TreeNodeKind::Object, object->Name(), object->Code());
}

void TKYTorderedTree::LoadTree() {
    selected_ = nullptr;
    tree_.Clear();
    if (!LinkedKYTset) return;
    TKYToggetto* store = Store(true);
    std::string text;
    if (store) {
        if (Result<std::string> bytes = store->ContentBytes(); bytes.ok()) text = *bytes;
    }
    if (text.empty()) {
        BuildDefaultTree();
        SaveTree();
        return;
    }
    TreeTextReading reading = ReadTreeText(text, KindIndex(Objects),
                                           [this](std::int32_t code) -> std::optional<std::string> {
                                               if (TKYToggetto* object = LiveObject(code))
                                                   return object->Name();
                                               return std::nullopt;
                                           });
    tree_ = std::move(reading.tree);
    for (const std::string& error : reading.errors) LinkedKYTset->Messages().Error(error);
}

void TKYTorderedTree::SaveTree() {
    TKYToggetto* store = Store(true);
    if (!store) return;
    std::string text = WriteTreeText(tree_);
    if (const std::string* old = store->Content().Memory(); old && *old == text) return;
    store->SetContent(std::move(text));
}

bool TKYTorderedTree::AddChapter(std::string_view title) {
    if (!selected_ || !selected_->HoldsChildren()) return false;
    selected_ = tree_.Append(selected_, TreeNodeKind::Chapter, std::string(title));
    if (OnStartEdit) OnStartEdit(*selected_);
    return true;
}

bool TKYTorderedTree::AddObject(std::int32_t code) {
    if (!selected_ || !selected_->HoldsChildren()) return false;
    TKYToggetto* object = LiveObject(code);
    if (!object) return false;
    selected_ = tree_.Append(selected_, TreeNodeKind::Object, object->Name(), code);
    return true;
}

bool TKYTorderedTree::MoveUp() {
    return selected_ && tree_.MoveUp(selected_);
}
bool TKYTorderedTree::MoveDown() {
    return selected_ && tree_.MoveDown(selected_);
}

bool TKYTorderedTree::DeleteSelected() {
    if (!selected_ || selected_->Kind() == TreeNodeKind::Root) return false;
    if (Objects == TOggettiHel::custom && !(OnDel && OnDel(*selected_))) return false;
    tree_.Remove(selected_);
    selected_ = nullptr;
    return true;
}

bool TKYTorderedTree::CanDrop(const TreeNode& node, const TreeNode& target) const {
    return Editable && node.Kind() != TreeNodeKind::Root && target.HoldsChildren() &&
           !target.IsWithin(node);
}

bool TKYTorderedTree::Drop(TreeNode& node, TreeNode& target) {
    return CanDrop(node, target) && tree_.MoveUnder(&node, &target);
}

void TKYTorderedTree::Rename(TreeNode& node, std::string_view text) {
    node.SetText(std::string(text));
    if (node.Kind() == TreeNodeKind::Object) {
        if (OnRenameItem) OnRenameItem(node);
        if (TKYToggetto* object = LiveObject(node.Code())) node.SetText(object->Name());
    }
}

bool TKYTorderedTree::SelectObject(std::int32_t code) {
    TreeNode* node = tree_.FindObject(code);
    if (node) selected_ = node;
    return node != nullptr;
}

std::string TKYTorderedTree::SelectedChapterTitle() const {
    return selected_ && selected_->Kind() == TreeNodeKind::Chapter ? selected_->Text()
                                                                   : std::string();
}

TKYToggetto* TKYTorderedTree::SelectedObject() const {
    return selected_ && selected_->Kind() == TreeNodeKind::Object ? LiveObject(selected_->Code())
                                                                  : nullptr;
}

void TKYTorderedTree::CollectObjects(std::vector<TKYToggetto*>& list) const {
    tree_.ForEach([&](TreeNode& node) {
        if (node.Kind() != TreeNodeKind::Object) return;
        if (TKYToggetto* object = LiveObject(node.Code())) list.push_back(object);
    });
}

void TKYTorderedTree::CollectCodes(std::vector<std::int32_t>& codes) const {
    tree_.ForEach([&](TreeNode& node) {
        if (node.Kind() == TreeNodeKind::Object && LiveObject(node.Code()))
            codes.push_back(node.Code());
    });
}

}  // namespace orvo
