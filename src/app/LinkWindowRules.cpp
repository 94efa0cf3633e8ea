// The link window's rules: modes, the objects its tabs yield, presets and Ok.
#include "app/LinkWindowRules.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "base/ByteStream.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "convert/HtmlImport.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/FixedMetrics.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "textbox/IBoxHost.h"
#include "textbox/TKYTpage.h"
#include "textbox/TKYTpageHeadless.h"
#include "textbox/uKYTattr.h"
#include "textbox/uKYTbox.h"
#include "textbox/uKYTboxView.h"

namespace orvo {

namespace {

using K = TOggettiHel;
using T = LinkTab;

constexpr std::size_t kAddressMax = 127;
constexpr std::size_t kFileNameMax = 79;

void ShowTabs(LinkWindowLayout& layout, std::initializer_list<LinkTab> tabs) {
    layout.shown.fill(false);
    for (LinkTab t : tabs) layout.shown[std::size_t(t)] = true;
}

bool IsLivePage(const TKYTset& set, std::int32_t page) {
    const TKYToggetto* object = set.ObjectByKind(K::testoHtml, page);
    return object && !object->IsFree();
}

// The folder names of a path, without empty or "." names.
std::vector<std::string> Components(const std::filesystem::path& path) {
    std::vector<std::string> names;
    for (const auto& part : path.lexically_normal())
        if (!part.empty() && part != "." && part != "/") names.push_back(part.string());
    return names;
}

}  // namespace

LinkWindowLayout LinkLayoutOfMode(int mode) {
    LinkWindowLayout layout;
    layout.shown.fill(true);
    switch (mode) {
        case 1:
            layout.anchorShown = true;
            layout.okStayShown = true;
            break;
        case 2:
            ShowTabs(layout, {T::Page, T::OtherPage, T::Internet, T::Embedded});
            layout.anchorShown = true;
            break;
        case 7:
            ShowTabs(layout, {T::Page, T::OtherPage, T::Internet});
            break;
        case 8:
            ShowTabs(layout, {T::Page, T::OtherPage, T::Internet});
            layout.start = T::Internet;
            break;
        case 3:
            ShowTabs(layout, {T::Page});
            layout.anchorShown = true;
            layout.pageListShown = false;
            layout.previewFollows = false;
            break;
        case 4:
            ShowTabs(layout, {T::Page, T::Internet, T::Embedded});
            break;
        case 5:
        case 6:
            ShowTabs(layout, {T::Page});
            layout.topPanelShown = false;
            if (mode == 6) layout.caption = "Visualizza...";
            break;
        case 9:
            ShowTabs(layout, {T::Empty, T::CopyPage, T::CopyOther, T::Template, T::Html});
            layout.caption = "Nuova...";
            layout.start = T::Empty;
            layout.captions[std::size_t(T::CopyPage)] = "Da pagina esistente";
            layout.captions[std::size_t(T::CopyOther)] = "Da altro ipertesto";
            break;
        case 10:
            ShowTabs(layout, {T::CopyPage, T::CopyOther, T::Template, T::Html});
            layout.caption = "Incolla...";
            layout.start = T::CopyPage;
            layout.captions[std::size_t(T::CopyPage)] = "Da pagina esistente";
            layout.captions[std::size_t(T::CopyOther)] = "Da altro ipertesto";
            layout.captions[std::size_t(T::Template)] = "Da modello";
            layout.captions[std::size_t(T::Html)] = "Da file Html";
            layout.importBackground = true;
            break;
        case 11:
            ShowTabs(layout, {T::Embedded});
            layout.start = T::Embedded;
            break;
        default:  // 0
            layout.okStayShown = true;
            break;
    }
    return layout;
}

std::unique_ptr<TKYToggetto> MakeInternetLink(TKYTset& set, std::string_view address) {
    auto link = NewObjectOfKind(K::internetLink, &set);
    link->Clear();
    link->SetName(address.substr(0, kAddressMax));
    link->TakeIntoUse();  // the subtype follows the address just set
    return link;
}

std::string DocumentLinkAddress(const std::string& documentFile, const std::string& chosenFile,
                                std::int32_t page, std::string_view automatic) {
    if (!automatic.empty()) return std::string(automatic);
    std::string file = chosenFile;
    if (!documentFile.empty()) {
        const std::vector<std::string> folder = Components(NativePath(documentFile).parent_path());
        const std::vector<std::string> target = Components(NativePath(chosenFile));
        const bool below =
            NativePath(documentFile).is_absolute() == NativePath(chosenFile).is_absolute() &&
            target.size() > folder.size() &&
            std::equal(folder.begin(), folder.end(), target.begin());
        if (below) {
            file.clear();
            for (std::size_t i = folder.size(); i < target.size(); ++i) {
                if (!file.empty()) file += '/';
                file += target[i];
            }
            file = NameOfPath(NativePath(file));
        }
    }
    return "orvo://" + file + "|" + std::to_string(page < 0 ? 0 : page);
}

Result<TKYToggetto*> AddEmbeddedFile(TKYTset& set, const std::filesystem::path& file,
                                     TKYToggetto* refill) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return Fail("Errore nell'apertura file: " + NameOfPath(file));
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return Fail("Errore nell'apertura file: " + NameOfPath(file));
    const std::string name = NameOfPath(file.filename());
    // The copy goes into the working folder under the file's own name (last component only).
    const std::string copy = set.TempFileName(name);
    {
        std::ofstream out(NativePath(copy), std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), std::streamsize(bytes.size()));
        out.flush();
        if (!out) {
            std::error_code ec;
            std::filesystem::remove(NativePath(copy), ec);
            return Fail(
                "Lo spazio su HD potrebbe essere insufficiente! Errore nella scorporazione file: " +
                copy);
        }
    }
    TKYToggetto* object = refill;
    std::unique_ptr<TKYToggetto> fresh;
    if (object) {
        // The previous copy goes, when it lies in the working folder.
        const std::string previous = object->ContentFileName();
        if (!previous.empty()) {
            const std::filesystem::path old = NativePath(previous);
            if (old.parent_path() == set.WorkingDirectory()) {
                std::error_code ec;
                std::filesystem::remove(old, ec);
            }
        }
        const std::int32_t id = object->Identifier();
        const bool registered = object->Registered();
        object->Clear();
        object->SetIdentifier(id);
        object->SetRegistered(registered);
    } else {
        fresh = NewObjectOfKind(K::genLink, &set);
        fresh->Clear();
        object = fresh.get();
    }
    object->TakeIntoUse();
    object->SetFileName(std::string_view(name).substr(0, kFileNameMax));
    object->SetContentFileName(copy);
    object->View().SetI32(kGenLinkSize, std::int32_t(bytes.size()));
    if (fresh) set.Register(std::move(fresh));
    set.SetModified(true);
    return object;
}

std::int32_t AddNewEmptyPage(TKYTset& set) {
    auto page = NewObjectOfKind(K::testoHtml, &set);
    page->Clear();
    page->TakeIntoUse();
    set.SetModified(true);
    return set.Register(std::move(page));
}

namespace {

constexpr FieldSpec kBackgroundFields[] = {kPageBackPicture, kPageTextColour, kPageLinkColour,
                                           kPageVisitedColour, kPageBackColour};

// A picture of `source` brought into `set` through a file in the working folder: its
// identifier in `set`, -1 when it cannot be read.
std::int32_t CopyPictureInto(TKYTset& set, TKYTset& source, std::int32_t picture) {
    TKYToggetto* object = source.ObjectByKind(K::immagine, picture);
    if (!object || object->IsFree()) return -1;
    Result<std::string> bytes = object->ContentBytes();
    if (!bytes || bytes->empty()) return -1;
    std::string name = object->FileName();
    if (name.empty()) name = "sfondo.gif";
    const std::string file = set.TempFileName(name);
    {
        std::ofstream out(NativePath(file), std::ios::binary | std::ios::trunc);
        out.write(bytes->data(), std::streamsize(bytes->size()));
        if (!out) return -1;
    }
    Result<TKYToggetto*> added = set.AddPictureFromFile(file);
    return added ? (*added)->Identifier() : -1;
}

}  // namespace

Result<PageCopy> CopyOfPage(TKYTset& source, std::int32_t page) {
    if (!IsLivePage(source, page)) return Fail("Pagina non trovata: " + std::to_string(page));
    FixedMetrics metrics;
    RecordingBoxHost host(600, 400);
    TKYTboxViewFactory views(metrics, host);
    HeadlessFrameSet frames;
    RecordingUndoPurge purge;
    ManualSpellPacer spell;
    ManualScheduler scheduler;
    TKYTpage surface(source, frames, views, purge, spell, scheduler);
    TKYTtesto* text = surface.ShowText(page);
    if (!text || !views.Last()) return Fail("Pagina non trovata: " + std::to_string(page));
    TKYTbox& box = views.Last()->Box();
    RecordingMessages messages;
    EditContext context(source, *text, messages);
    BoxEditing editing(box, std::move(context), nullptr, page, -1);
    const std::int32_t last = box.LastEditable();
    editing.Text().Select({box.FirstEditable(), 0},
                          {last, std::int32_t(box.Paragraph(last).text.size())});
    PageCopy copy;
    copy.stream = editing.WriteSelection(false, nullptr);
    const RecordView record = source.ObjectByKind(K::testoHtml, page)->ReadView();
    for (const FieldSpec& f : kBackgroundFields) {
        const std::int32_t v = record.I32(f);
        copy.background.append(reinterpret_cast<const char*>(&v), 4);
    }
    copy.background.push_back(char(record.U8(kPageFixedBackground)));
    return copy;
}

void ApplyPageBackground(TKYTset& set, TKYTset& source, const std::string& background,
                         TKYToggetto& page) {
    if (background.size() != 4 * std::size(kBackgroundFields) + 1) return;
    RecordView record = page.View();
    for (std::size_t i = 0; i < std::size(kBackgroundFields); ++i) {
        std::int32_t v = 0;
        std::memcpy(&v, background.data() + 4 * i, 4);
        if (i == 0 && v >= 0 && &set != &source) v = CopyPictureInto(set, source, v);
        record.SetI32(kBackgroundFields[i], v);
    }
    record.SetU8(kPageFixedBackground, std::uint8_t(background.back()));
    set.SetModified(true);
}

PresetEntry PresetEntryOf(const TKYTset& set, const TKYToggetto* preset) {
    PresetEntry entry;
    if (!preset || preset->IsFree()) return entry;
    switch (preset->Kind()) {
        case K::testoHtml:
            entry.page = preset->Identifier();
            entry.found = true;
            break;
        case K::internetLink: {
            const DocumentLink link = set.ParseDocumentLink(preset->Name());
            if (link.isDocumentLink) {
                const std::int32_t page = link.page < 0 ? 0 : link.page;
                if (link.isCurrentDocument) {
                    entry.page = page;
                    entry.found = IsLivePage(set, page);
                } else {
                    entry.tab = LinkTab::OtherPage;
                    std::error_code ec;
                    entry.found = std::filesystem::is_regular_file(NativePath(link.file), ec);
                    if (entry.found) {
                        entry.otherFile = link.file;
                        entry.page = page;
                    }
                }
            } else {
                entry.tab = LinkTab::Internet;
                entry.agendaCode = preset->Registered() ? preset->Code() : -1;
                if (entry.agendaCode < 0)
                    if (const TKYToggetto* same = preset->FindEqual())
                        entry.agendaCode = same->Code();
                entry.found = entry.agendaCode >= 0;
            }
            break;
        }
        case K::genLink: {
            entry.tab = LinkTab::Embedded;
            bool albumEmpty = true;
            for (const auto& o : set.KindList(K::genLink))
                if (o && !o->IsFree()) albumEmpty = false;
            entry.fromDisk = albumEmpty;
            entry.embeddedCode = preset->Code();
            entry.found = !albumEmpty;
            break;
        }
        default:
            break;
    }
    return entry;
}

bool LinkOkEnabled(const LinkChoice& choice) {
    if (choice.tab != LinkTab::Embedded) return true;
    return choice.fromDisk ? !choice.diskFile.empty() : choice.albumCode >= 0;
}

void TLinkChooser::Choose(TKYToggetto& object) {
    result_ = &object;
    if (onChoose) onChoose(object);
}

Status TLinkChooser::CopyContent(TKYTset& source, std::int32_t page, bool background) {
    TKYTTextAttributes* text = editor_.CurrentText();
    if (!text) return Fail("Nessuna pagina in modifica.");
    Result<PageCopy> copy = CopyOfPage(source, page);
    if (!copy) return copy.failure();
    if (!text->InsertFromStream(copy->stream, kCopyPageLabel, false, false))
        return Fail(std::string(kStreamRefused));
    if (background)
        if (TKYToggetto* target = editor_.CurrentPage())
            ApplyPageBackground(set_, source, copy->background, *target);
    return {};
}

Result<std::int32_t> TLinkChooser::ImportHtml(const std::filesystem::path& chosen) {
    const std::string failed = "Errore nell'apertura file: " + NameOfPath(chosen);
    if (chosen.empty()) return Fail(failed);
    std::error_code ec;
    const std::filesystem::path file = std::filesystem::absolute(chosen, ec);
    if (html_ && file == htmlFile_) return htmlPage_;  // its preview is already there
    DropHtml();
    // The file becomes a page of a hypertext of the window's own; its pictures and style
    // sheets are read only from the file's folder.
    auto html = std::make_unique<TKYTset>(set_.Env(), set_.Messages());
    html->NewDocument();
    HtmlImportOptions options;
    options.rootFolder = file.parent_path();
    THt2Imp importer(*html, options);
    importer.ImportFiles({NameOfPath(file)});
    if (importer.ImportedPages.empty()) return Fail(failed);
    html_ = std::move(html);
    htmlFile_ = file;
    htmlPage_ = importer.ImportedPages.front();
    return htmlPage_;
}

Result<TKYToggetto*> TLinkChooser::NewPage(const LinkChoice& choice) {
    // The source of the copy is read first: a file that cannot be read creates nothing.
    TKYTset* source = &set_;
    std::int32_t sourcePage = -1;
    switch (choice.tab) {
        case LinkTab::CopyPage:
            if (!IsLivePage(set_, choice.page)) return Fail("Scegli una pagina.");
            sourcePage = choice.page;
            break;
        case LinkTab::CopyOther:
        case LinkTab::Template: {
            other_ = std::make_unique<TKYTset>(set_.Env(), set_.Messages());
            if (choice.otherFile.empty() || !other_->LoadFromFile(choice.otherFile))
                return Fail("Errore nell'apertura file: " + choice.otherFile);
            sourcePage = choice.otherPage < 0 ? 0 : choice.otherPage;
            if (!IsLivePage(*other_, sourcePage)) return Fail("Scegli una pagina.");
            source = other_.get();
            break;
        }
        case LinkTab::Html: {
            Result<std::int32_t> imported = ImportHtml(choice.htmlFile);
            if (!imported) return imported.failure();
            sourcePage = *imported;
            source = html_.get();
            break;
        }
        default:
            break;
    }
    TKYToggetto* created = nullptr;
    if (mode != 10) {
        const std::int32_t id = AddNewEmptyPage(set_);
        created = set_.ObjectByKind(K::testoHtml, id);
        Choose(*created);
        editor_.ShowPage(id);
    }
    if (sourcePage >= 0) {
        const bool background = mode != 10 || choice.importBackground;
        if (Status s = CopyContent(*source, sourcePage, background); !s) return s.failure();
    }
    if (!created) {
        result_ = editor_.CurrentPage();
        return result_;
    }
    return created;
}

Result<TKYToggetto*> TLinkChooser::Ok(const LinkChoice& choice, bool changePage) {
    const LinkWindowLayout layout = LinkLayoutOfMode(mode);
    if (!layout.Shows(choice.tab)) return Fail("Scheda non disponibile.");
    if (!LinkOkEnabled(choice)) return Fail("Scegli un file.");
    owned_.reset();
    result_ = nullptr;
    changePage_ = changePage && (mode == 0 || mode == 9);
    switch (choice.tab) {
        case LinkTab::CopyPage:
        case LinkTab::CopyOther:
        case LinkTab::Empty:
        case LinkTab::Template:
        case LinkTab::Html:
            return NewPage(choice);
        case LinkTab::Page: {
            TKYToggetto* page = set_.ObjectByKind(K::testoHtml, choice.page);
            if (!page || page->IsFree()) return Fail("Scegli una pagina.");
            Choose(*page);
            if (changePage_) editor_.ShowPage(choice.page);
            return page;
        }
        case LinkTab::OtherPage: {
            if (choice.automatic.empty() && choice.otherFile.empty())
                return Fail("Scegli un ipertesto.");
            owned_ =
                MakeInternetLink(set_, DocumentLinkAddress(set_.KYTFileName(), choice.otherFile,
                                                           choice.otherPage, choice.automatic));
            Choose(*owned_);
            return owned_.get();
        }
        case LinkTab::Internet: {
            if (choice.agendaCode >= 0) {
                TKYToggetto* entry = set_.ObjectByCode(choice.agendaCode);
                if (entry && !entry->IsFree() && entry->Kind() == K::internetLink) {
                    owned_ = MakeInternetLink(set_, entry->Name());
                    Choose(*owned_);
                    return owned_.get();
                }
            }
            if (choice.address.empty()) return Fail("Scrivi un indirizzo.");
            owned_ = MakeInternetLink(set_, choice.address);
            Choose(*owned_);
            return owned_.get();
        }
        case LinkTab::Embedded: {
            TKYToggetto* file = nullptr;
            if (choice.fromDisk) {
                Result<TKYToggetto*> added = AddEmbeddedFile(set_, choice.diskFile);
                if (!added) return added.failure();
                file = *added;
            } else {
                file = set_.ObjectByCode(choice.albumCode);
                if (!file || file->IsFree() || file->Kind() != K::genLink)
                    return Fail("Scegli un file.");
            }
            Choose(*file);
            return file;
        }
    }
    return Fail("Scheda non disponibile.");
}

}  // namespace orvo

namespace orvo {

Result<NamedTarget> TargetNamed(TKYTset& set, std::string_view words) {
    NamedTarget target;
    if (words.empty()) return Fail("a link needs a target");
    if (words.find_first_not_of("0123456789") == std::string_view::npos && words.size() < 9) {
        const std::int32_t page = std::stoi(std::string(words));
        if (!IsLivePage(set, page)) return Fail("the document has no page " + std::string(words));
        target.object = set.ObjectByKind(K::testoHtml, page);
        return target;
    }
    if (words.starts_with("file:")) {
        const std::string_view name = words.substr(5);
        if (name.empty()) return Fail("file: needs a file name");
        for (const auto& o : set.KindList(K::genLink))
            if (o && !o->IsFree() && SameText1252(o->FileName(), name)) {
                target.object = o.get();
                return target;
            }
        Result<TKYToggetto*> added = AddEmbeddedFile(set, NativePath(name));
        if (!added) return added.failure();
        target.object = *added;
        return target;
    }
    if (words.size() > kAddressMax)
        return Fail("an address holds at most " + std::to_string(kAddressMax) + " characters");
    target.owned = MakeInternetLink(set, words);
    target.object = target.owned.get();
    return target;
}

}  // namespace orvo

#include "app/SpecialLinkRules.h"

namespace orvo {

bool TextSelectionLink::CanLink() const {
    return text_.HasSelection();
}

const TKYToggetto* TextSelectionLink::PresentLink() const {
    const std::int32_t code = text_.CurrentLink();
    if (code == -1) return nullptr;
    if (CodeKind(code) == kLocalLinkKind) {
        const auto& links = text_.Context().text.links;
        const std::size_t index = std::size_t(CodeIdentifier(code));
        return index < links.size() ? links[index].get() : nullptr;
    }
    return text_.Context().set.ObjectByCode(code);
}

void TextSelectionLink::ApplyLink(const TKYToggetto* link) {
    text_.ApplyLink(link);
}

void TextSelectionLink::ApplySpecialLink(TKYToggetto& link, const TKYToggetto* target) {
    ApplySpecialLinkToText(text_, link, target);
}

}  // namespace orvo
