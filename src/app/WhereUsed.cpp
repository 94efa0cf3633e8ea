#include "app/WhereUsed.h"

#include <algorithm>
#include <charconv>

#include "base/Cp1252.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"

namespace orvo {

using K = TOggettiHel;

namespace {

constexpr std::array<std::string_view, kReferenceReasonCount> kReasonTexts{
    "Nessun riferimento",
    "nel testo",
    "nello sfondo testo",
    "nello sfondo di una tabella",
    "come intestazione o pi\xE8 di pagina",
    "come diapositiva successiva",
    "come script/html",
    "come immagine alternativa a multimedia",
    "come/in cornice libera",
    "come/in bottone",
    "in collegamento speciale",
    "in mappa cliccabile",
    "in oggetto \"lancia finestra\"",
    "in prototipo",
    "in multimedia",
    "in oggetto personalizzato - istanza di prototipo",
    "in oggetto DB locale",
};

constexpr int kReasonSpecialLink = 10;
constexpr int kReasonPrototype = 13;

constexpr std::array<std::string_view, kKindCount> kKindNames{
    "testoHtml",  "internetLink", "zipLink",     "genLink",    "keyword",     "immagine",
    "mappaClic",  "programma",    "tabellaHtml", "mappaFrame", "speclink",    "shortObj",
    "custom",     "dbloc",        "spazio4",     "spazio5",    "immagineNew", "stileParagrafo",
    "fontFace",   "formato",      "inputStat",   "inputDin",   "bottoneCGI",  "inizioForm",
    "multiMedia", "none",         "testoHtmlRtf"};

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Every well-formed "<$" code of a stored text, in order.
std::vector<std::int32_t> CodesOfText(std::string_view text) {
    std::vector<std::int32_t> codes;
    for (std::size_t at = text.find("<$"); at != std::string_view::npos;
         at = text.find("<$", at + 2)) {
        if (at + 11 > text.size() || text[at + 10] != '>') continue;
        std::uint32_t value = 0;
        bool ok = true;
        for (std::size_t i = 0; i < 8 && ok; ++i) {
            const int d = HexDigit(text[at + 2 + i]);
            ok = d >= 0;
            value = (value << 4) | std::uint32_t(d < 0 ? 0 : d);
        }
        if (ok) codes.push_back(std::int32_t(value));
    }
    return codes;
}

std::int32_t LittleI32(std::string_view bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int b = 3; b >= 0; --b)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + std::size_t(b)]);
    return std::int32_t(v);
}

// A prototype's custom code begins with the length of its header and the header, a list of
// the object codes the prototype uses.
bool PrototypeNames(const TKYToggetto& prototype, std::int32_t code) {
    const auto& aux = prototype.Auxiliary();
    if (!aux || aux->size() < 4) return false;
    const std::int32_t length = LittleI32(*aux, 0);
    if (length < 0 || std::size_t(length) > aux->size() - 4) return false;
    for (std::size_t at = 4; at + 4 <= 4 + std::size_t(length); at += 4)
        if (LittleI32(*aux, at) == code) return true;
    return false;
}

// The reasons a page refers to `code` through the objects its text holds.
int ThroughHeldObjects(const TKYToggetto& page, std::int32_t code) {
    const TKYTset* set = page.Owner();
    if (!set) return 0;
    Result<std::string> text = page.ContentBytes();
    if (!text) return 0;
    for (std::int32_t held : CodesOfText(*text)) {
        if (held == code || CodeKind(held) == KindIndex(K::testoHtml)) continue;
        const TKYToggetto* object = set->ObjectByCode(held);
        if (!object || object == &page || object->IsFree()) continue;
        if (object->Kind() == K::speclink && object->ReadView().I32(kSpecTarget) == code)
            return kReasonSpecialLink;
        if (const int reason = object->Refers(code)) return reason;
    }
    return 0;
}

class SilentMessages final : public IMessages {
public:
    void Show(Box, std::string_view) override {}
    bool Ask(std::string_view) override { return false; }
    Answer AskYesNoCancel(std::string_view) override { return Answer::Cancel; }
};

}  // namespace

std::string_view ReferenceText(int reason) {
    if (reason < 0 || reason >= kReferenceReasonCount) return {};
    return kReasonTexts[std::size_t(reason)];
}

std::string_view KindName(int kind) {
    if (kind < 0 || kind >= kKindCount) return {};
    return kKindNames[std::size_t(kind)];
}

int ReferenceReason(const TKYToggetto& holder, std::int32_t code) {
    if (holder.IsFree()) return 0;
    if (const int reason = holder.Refers(code)) return reason;
    if (holder.Kind() == K::testoHtml) return ThroughHeldObjects(holder, code);
    if (holder.Kind() == K::custom && PrototypeNames(holder, code)) return kReasonPrototype;
    return 0;
}

std::vector<Referrer> FindReferrers(const TKYTset& set, std::int32_t code,
                                    const std::atomic<bool>* stop) {
    std::vector<Referrer> found;
    for (K kind : {K::testoHtml, K::custom})
        for (const auto& holder : set.KindList(kind)) {
            if (stop && stop->load(std::memory_order_relaxed)) return found;
            if (!holder || holder->IsFree()) continue;
            if (const int reason = ReferenceReason(*holder, code))
                found.push_back({holder->Code(), holder->Name(), reason});
        }
    return found;
}

std::vector<std::string> ReferenceLines(const TKYTset& set, std::int32_t code,
                                        const std::atomic<bool>* stop) {
    const TKYToggetto* object = set.ObjectByCode(code);
    if (!object) return {};
    const std::string name = Upper1252(object->Name());
    std::vector<std::string> lines{"+ \"" + name + "\" " +
                                   "\xE8 presente in/collegato da /utilizzato in:"};
    for (const Referrer& r : FindReferrers(set, code, stop))
        lines.push_back("    - " + r.name + "   {" + std::string(ReferenceText(r.reason)) + "}");
    if (lines.size() == 1) lines = {"- \"" + name + "\" " + "sembra inutilizzato."};
    return lines;
}

// ---------------------------------------------------------------------------------------------
// The snapshot

struct DocumentSnapshot::Parts {
    explicit Parts(Environment& environment) : set(environment, messages) {}
    SilentMessages messages;
    TKYTset set;
};

DocumentSnapshot::DocumentSnapshot(const TKYTset& live)
    : parts_(std::make_unique<Parts>(live.Env())) {
    set_ = &parts_->set;
    const auto header = live.HeaderView().Bytes();
    std::copy(header.begin(), header.end(), set_->Header().begin());
    for (int kind = 0; kind < kKindCount; ++kind) {
        const K k = KindOf(kind);
        // Styles are never referred to by code; the snapshot keeps its own two.
        if (k == K::stileParagrafo || k == K::fontFace) continue;
        // Pictures and files are named by the objects that use them, never read.
        const bool withContent =
            k != K::immagine && k != K::genLink && k != K::zipLink && k != K::mappaClic;
        for (const auto& object : live.KindList(k)) {
            if (!object) continue;
            auto copy = NewObjectOfKind(k, set_);
            std::copy(object->Record().begin(), object->Record().end(), copy->Record().begin());
            if (withContent) copy->MutableContent() = object->Content();
            copy->SetAuxiliary(object->Auxiliary());
            copy->SetContentFileName(object->ContentFileName());
            set_->Register(std::move(copy), object->Identifier());
        }
    }
}

DocumentSnapshot::~DocumentSnapshot() = default;

// ---------------------------------------------------------------------------------------------
// The search thread

WhereUsedSearch::WhereUsedSearch(const TKYTset& live, std::vector<std::int32_t> codes, Found found,
                                 Ended ended)
    : snapshot_(std::make_unique<DocumentSnapshot>(live)),
      codes_(std::move(codes)),
      found_(std::move(found)),
      ended_(std::move(ended)) {}

WhereUsedSearch::~WhereUsedSearch() {
    Stop();
}

void WhereUsedSearch::Start() {
    if (worker_.joinable() || finished_) return;
    worker_ = std::thread([this] { Run(); });
}

void WhereUsedSearch::Stop() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
}

void WhereUsedSearch::Wait() {
    if (worker_.joinable()) worker_.join();
}

void WhereUsedSearch::Run() {
    const TKYTset& set = snapshot_->Set();
    for (std::size_t i = 0; i < codes_.size(); ++i) {
        if (stop_) return;
        std::vector<std::string> lines = ReferenceLines(set, codes_[i], &stop_);
        if (stop_) return;
        if (!lines.empty() && found_) found_(i, std::move(lines));
    }
    finished_ = true;
    if (!stop_ && ended_) ended_();
}

std::optional<std::int32_t> ParseObjectCode(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view kindText = text.substr(0, colon);
    const std::string_view idText = text.substr(colon + 1);
    int kind = -1;
    for (int k = 0; k < kKindCount; ++k)
        if (SameText1252(kindText, kKindNames[std::size_t(k)])) kind = k;
    if (kind < 0) {
        auto [end, ec] = std::from_chars(kindText.data(), kindText.data() + kindText.size(), kind);
        if (ec != std::errc() || end != kindText.data() + kindText.size() || kind < 0 ||
            kind >= kKindCount)
            return std::nullopt;
    }
    std::int32_t id = -1;
    auto [end, ec] = std::from_chars(idText.data(), idText.data() + idText.size(), id);
    if (ec != std::errc() || end != idText.data() + idText.size() || id < 0 || id > 0xFFFFFF)
        return std::nullopt;
    return MakeCode(KindOf(kind), id);
}

}  // namespace orvo
