#include "app/CustomCodePanel.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "base/ByteReader.h"
#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/TextExport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTboxView.h"
#include "textbox/uKYTundo.h"

namespace orvo {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kTemplateRoot = "ModelliHtml";

// Page 0 of the panel's hypertext, holding one empty paragraph (a blank there would end up
// after the code loaded and be stored with it, one more at each store).
void NewCodePage(TKYTset& set) {
    set.NewDocument();
    auto page = NewObjectOfKind(TOggettiHel::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    PageRecord(*page).SetBackgroundColour(0xFFFFFF);  // code is written on white
    page->SetContent(std::string("<Z S0 >") + '\0');
    set.Register(std::move(page), 0);
}

class HeadlessCodeEditor final : public ICodeEditor {
public:
    HeadlessCodeEditor(TKYTset& set, IMessages& messages)
        : set_(set), messages_(messages), host_(600, 400), views_(metrics_, host_) {}
    ~HeadlessCodeEditor() override { Close(); }

    void ShowCode() override {
        Close();
        undo_ = &UndoListOf(set_);
        frameId_ = undo_->Frames().NewFrameId();
        surface_ = std::make_unique<TKYTpage>(set_, frames_, views_, *undo_, spell_, scheduler_);
        if (!surface_->ShowText(0) || !views_.Last()) return;
        undo_->Frames().SetFrame(frameId_, 0, &controls_);
        EditContext context(set_, *surface_->WorkingText(), messages_);
        context.undo = undo_;
        context.wrapper = true;
        editing_ = std::make_unique<BoxEditing>(views_.Last()->Box(), std::move(context),
                                                &controls_, 0, frameId_);
        edited_ = false;
    }
    void Release() override { Close(); }
    bool InsertStream(std::string_view stream, std::string_view label) override {
        if (!editing_) return false;
        const bool done = editing_->Text().InsertFromStream(stream, label, true, false);
        // The code inserted is not left selected: a reference inserted next goes after it.
        if (done) editing_->Text().SetCaretAt(editing_->Text().Selection().second);
        edited_ = edited_ || done;
        return done;
    }
    bool InsertObject(std::unique_ptr<TKYToggetto> object) override {
        if (!editing_) return false;
        const bool done = editing_->Text().InsertObject(std::move(object), true);
        edited_ = edited_ || done;
        return done;
    }
    void Commit() override {
        if (!surface_ || !editing_) return;
        TKYTbox& box = editing_->Text().Box();
        const EditPos caret = editing_->Text().CaretPos();
        editing_.reset();
        surface_->CommitText();
        // The page is shown again, as the desktop's page widget does after a commit.
        (void)box;
        const bool edited = edited_;
        ShowCode();
        edited_ = edited;
        if (editing_) editing_->Text().SetCaretAt(caret);
    }
    bool Edited() const override { return edited_; }
    void ClearEdited() override { edited_ = false; }
    void NoteEdit() override { edited_ = true; }
    std::vector<TKYToggetto*> Objects() override {
        std::vector<TKYToggetto*> objects;
        if (TKYTtesto* text = surface_ ? surface_->WorkingText() : nullptr)
            for (const auto& o : text->pageObjects) objects.push_back(o.get());
        return objects;
    }

private:
    void Close() {
        editing_.reset();
        surface_.reset();
        if (undo_) undo_->Frames().RemoveFrame(frameId_);
        undo_ = nullptr;
    }

    TKYTset& set_;
    IMessages& messages_;
    FixedMetrics metrics_;
    RecordingBoxHost host_;
    TKYTboxViewFactory views_;
    HeadlessFrameSet frames_;
    ManualSpellPacer spell_;
    ManualScheduler scheduler_;
    TKYTundoList* undo_ = nullptr;
    std::int32_t frameId_ = -1;
    TKYTundoIndiciList controls_;
    std::unique_ptr<TKYTpage> surface_;
    std::unique_ptr<BoxEditing> editing_;
    bool edited_ = false;
};

bool MatchesMask(std::string_view name, std::string_view mask) {
    // "*" any run, "?" one character, case ignored.
    const std::string n = Lower1252(name);
    const std::string m = Lower1252(mask);
    std::size_t i = 0, j = 0, star = std::string::npos, mark = 0;
    while (i < n.size()) {
        if (j < m.size() && (m[j] == '?' || m[j] == n[i])) {
            ++i;
            ++j;
        } else if (j < m.size() && m[j] == '*') {
            star = j++;
            mark = i;
        } else if (star != std::string::npos) {
            j = star + 1;
            i = ++mark;
        } else {
            return false;
        }
    }
    while (j < m.size() && m[j] == '*') ++j;
    return j == m.size();
}

std::optional<std::string> ReadTemplate(const std::string& path) {
    std::error_code ec;
    const fs::path native = NativePath(path);
    const auto size = fs::file_size(native, ec);
    if (ec || size > kMaxTemplateBytes) return std::nullopt;
    std::ifstream in(native, std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

std::unique_ptr<ICodeEditor> NewHeadlessCodeEditor(TKYTset& codeSet, IMessages& messages) {
    return std::make_unique<HeadlessCodeEditor>(codeSet, messages);
}

std::vector<TKYToggetto*> ReferenceObjects(const std::vector<TKYToggetto*>& objects) {
    std::vector<TKYToggetto*> references;
    for (TKYToggetto* o : objects)
        if (o && o->Kind() == TOggettiHel::shortObj) references.push_back(o);
    return references;
}

std::string TemplateFolder(std::string_view base, std::string_view directory, bool dirApp) {
    if (dirApp) return std::string(directory);
    std::string folder(base);
    if (!folder.empty() && folder.back() != '/') folder += '/';
    folder += kTemplateRoot;
    if (!directory.empty()) folder += "/" + std::string(directory);
    return folder;
}

std::vector<std::string> TemplateMasks(std::string_view mask) {
    std::vector<std::string> masks;
    std::size_t start = 0;
    while (start <= mask.size()) {
        std::size_t end = mask.find(';', start);
        if (end == std::string_view::npos) end = mask.size();
        if (end > start) masks.emplace_back(mask.substr(start, end - start));
        start = end + 1;
    }
    return masks;
}

std::vector<std::string> TemplateList(const std::string& folder, std::string_view mask) {
    std::vector<std::string> list{std::string(kTemplateNone)};
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(NativePath(folder), ec)) {
        std::error_code e2;
        if (!entry.is_regular_file(e2)) continue;
        names.push_back(Utf8ToCp1252(entry.path().filename().string()));
    }
    std::sort(names.begin(), names.end());
    for (const std::string& m : TemplateMasks(mask))
        for (const std::string& name : names)
            if (MatchesMask(name, m) && std::find(list.begin(), list.end(), name) == list.end())
                list.push_back(name);
    return list;
}

std::string TemplateExtension(std::string_view mask) {
    const std::size_t end = mask.find(';');
    const std::string_view first = mask.substr(0, end);
    if (first.size() < 2) return {};
    const std::string_view extension = first.substr(1);
    if (extension.find_first_of("*?") != std::string_view::npos) return {};
    return std::string(extension);
}

CustomCodePanel::CustomCodePanel(TKYTset& main, Environment& environment, IMessages& messages)
    : main_(main),
      environment_(environment),
      messages_(messages),
      codeSet_(std::make_unique<TKYTset>(environment, messages)) {
    NewCodePage(*codeSet_);
    editor_ = NewHeadlessCodeEditor(*codeSet_, messages_);
    editor_->ShowCode();
}

CustomCodePanel::~CustomCodePanel() {
    editor_.reset();
}

void CustomCodePanel::SetEditor(std::unique_ptr<ICodeEditor> editor) {
    editor_->Release();
    editor_ = std::move(editor);
    editor_->ShowCode();
}

void CustomCodePanel::InsertCode(std::string_view text) {
    // The text import drops control characters but tab and line ends; dropped here first, a
    // reference they split reads as one at once, and a line left empty at the end goes as it
    // goes when the stored code is loaded again.
    std::string code(text);
    std::erase_if(code, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\r' && c != '\n';
    });
    TKYTtoTxt converter(codeSet_.get());
    MemoryStream stream;
    if (!converter.ImportText(code, stream, 1, 0)) return;
    editor_->InsertStream(stream.Bytes(), kCodeLoadLabel);
}

void CustomCodePanel::LoadCode(const std::optional<std::string>& stream) {
    header_.clear();
    editor_->Release();
    NewCodePage(*codeSet_);
    editor_->ShowCode();
    if (stream) {
        std::string_view bytes(*stream);
        std::size_t skip = 0;
        if (bytes.size() >= 4) {
            ByteReader reader(bytes);
            const std::int32_t length = reader.I32();
            // A length the stream cannot hold is no header: the code starts after the int32.
            skip = (length >= 0 && std::size_t(length) <= bytes.size() - 4)
                       ? 4 + std::size_t(length)
                       : 4;
            header_ = std::string(bytes.substr(0, skip));
            if (skip == 4) header_.assign(4, '\0');
        } else {
            skip = bytes.size();
        }
        const std::string_view code = bytes.substr(skip);
        if (!code.empty()) InsertCode(code);
    }
    editor_->ClearEdited();
}

std::string CustomCodePanel::CodeText() {
    editor_->Commit();
    std::string text = PageText(*codeSet_, 0);
    // The text import takes a last line end as the end of the last line: a code whose last
    // line is empty ends with one line end more, so that loading it gives that line again.
    if (text.ends_with("\r\n")) text += "\r\n";
    return text;
}

std::size_t CustomCodePanel::StoreCode(std::optional<std::string>& stream) {
    if (!editor_->Edited()) return stream ? stream->size() : 0;
    std::string out = header_.empty() ? std::string(4, '\0') : header_;
    out += CodeText();
    stream = std::move(out);
    return stream->size();
}

bool CustomCodePanel::InsertReference(CodeReference kind, bool generic, int choice) {
    std::int32_t reference = -1;
    std::string content;
    switch (kind) {
        case CodeReference::Picture:
        case CodeReference::PageOrFile:
        case CodeReference::PageText:
        case CodeReference::Fundamental: {
            if (generic && kind != CodeReference::PageText) break;
            if (!OnGetRif) return false;
            const std::int32_t start = kind == CodeReference::Fundamental ? lastFundamental_ : -1;
            std::optional<std::int32_t> chosen = OnGetRif(kind, start);
            if (!chosen) return false;
            reference = *chosen;
            if (kind == CodeReference::Fundamental) lastFundamental_ = reference;
            break;
        }
        case CodeReference::SizeX:
        case CodeReference::SizeY:
            break;
        case CodeReference::Parameter:
            if (choice < 0 || std::size_t(choice) >= Parameters.size()) return false;
            content = Parameters[std::size_t(choice)];
            break;
        case CodeReference::File:
            if (choice < 0 || std::size_t(choice) >= Files.size()) return false;
            reference = choice;
            break;
    }
    auto object = NewObjectOfKind(TOggettiHel::shortObj, codeSet_.get());
    object->Clear();
    object->TakeIntoUse();
    object->View().SetU8(kRecSubtype, std::uint8_t(kind));
    object->View().SetI32(kShortReference, reference);
    if (kind == CodeReference::Parameter) object->SetContent(content);
    if (!editor_->InsertObject(std::move(object))) {
        messages_.Error(kCodeNoTextBox);
        return false;
    }
    return true;
}

bool CustomCodePanel::ChangeReference(TKYToggetto& reference, int choice) {
    if (reference.Kind() != TOggettiHel::shortObj) return false;
    const auto kind = CodeReference(reference.Subtype());
    switch (kind) {
        case CodeReference::Picture:
        case CodeReference::PageOrFile:
        case CodeReference::PageText:
        case CodeReference::Fundamental: {
            if (!OnGetRif) return false;
            std::optional<std::int32_t> chosen =
                OnGetRif(kind, reference.ReadView().I32(kShortReference));
            if (!chosen) return false;
            reference.View().SetI32(kShortReference, *chosen);
            break;
        }
        case CodeReference::Parameter:
        case CodeReference::File: {
            const auto& names = kind == CodeReference::Parameter ? Parameters : Files;
            const bool known = choice >= 0 && std::size_t(choice) < names.size();
            const std::string name =
                known ? names[std::size_t(choice)] : std::string(kReferenceUndefined);
            reference.View().SetI32(kShortReference, choice);
            if (kind == CodeReference::Parameter) reference.SetContent(name);
            break;
        }
        default:
            return false;
    }
    editor_->NoteEdit();
    return true;
}

std::string CustomCodePanel::Folder() const {
    return Folder(Utf8ToCp1252(environment_.UserDataDir().string()));
}

std::string CustomCodePanel::Folder(std::string_view base) const {
    const std::string folder = TemplateFolder(base, Directory, DirApp);
    std::error_code ec;
    fs::create_directories(NativePath(folder), ec);
    return folder;
}

bool CustomCodePanel::ChooseTemplate(const std::string& path,
                                     const std::function<bool()>& confirm) {
    if (path.empty() || path == kTemplateNone) {
        LoadCode(std::nullopt);
        return true;
    }
    if (OnChangeFile) {
        if (!OnChangeFile()) return false;
    } else if (Confirm && confirm && !confirm()) {
        return false;
    }
    std::optional<std::string> text = ReadTemplate(path);
    if (!text) return false;
    const std::string header = header_;
    LoadCode(std::nullopt);
    header_ = header;
    if (!text->empty()) InsertCode(*text);
    return true;
}

bool CustomCodePanel::SaveTemplate(std::string path) {
    const std::string extension = TemplateExtension(Mask);
    const std::string last = path.substr(path.find_last_of('/') + 1);
    if (!extension.empty() && last.find('.') == std::string::npos) path += extension;
    const std::string text = CodeText();
    std::ofstream out(NativePath(path), std::ios::binary | std::ios::trunc);
    if (!out) return false;
    out.write(text.data(), std::streamsize(text.size()));
    return bool(out);
}

}  // namespace orvo
