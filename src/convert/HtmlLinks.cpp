// Pages found through links before an import, and links between imported pages after it.
#include <algorithm>
#include <map>
#include <set>
#include <unordered_set>

#include "base/ByteReader.h"
#include "base/Cp1252.h"
#include "base/Files.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlImport.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"

namespace orvo {

using K = TOggettiHel;

namespace {

bool PageExtension(std::string_view reference) {
    const std::string e = Lower1252(ExtensionOf(reference));
    return e == ".htm" || e == ".html" || e == ".txt";
}

// The value of attribute `key` (capitals) in the tag text between "<" and ">".
std::string AttributeOf(std::string_view tag, std::string_view key) {
    const std::string upper = Upper1252(tag);
    for (std::size_t at = upper.find(key); at != std::string::npos; at = upper.find(key, at + 1)) {
        if (at > 0 && !(static_cast<unsigned char>(upper[at - 1]) <= ' ')) continue;
        std::size_t i = at + key.size();
        while (i < tag.size() && static_cast<unsigned char>(tag[i]) <= ' ') ++i;
        if (i >= tag.size() || tag[i] != '=') continue;
        ++i;
        while (i < tag.size() && static_cast<unsigned char>(tag[i]) <= ' ') ++i;
        if (i < tag.size() && (tag[i] == '"' || tag[i] == '\'')) {
            const char quote = tag[i];
            const std::size_t close = tag.find(quote, i + 1);
            return std::string(
                tag.substr(i + 1, (close == std::string_view::npos ? tag.size() : close) - i - 1));
        }
        const std::size_t start = i;
        while (i < tag.size() && static_cast<unsigned char>(tag[i]) > ' ') ++i;
        return std::string(tag.substr(start, i - start));
    }
    return {};
}

}  // namespace

void PageLinks(const std::string& file, std::vector<std::string>& list,
               const std::filesystem::path& root) {
    Result<std::string> bytes = ReadFileBytes(NativePath(file));
    if (!bytes) return;
    const std::string text = HtmlBytesToCp1252(*bytes);
    const std::filesystem::path folder = NativePath(file).parent_path();
    std::string base;
    for (std::size_t at = text.find('<'); at != std::string::npos; at = text.find('<', at + 1)) {
        if (text.compare(at, 4, "<!--") == 0) {
            const std::size_t close = text.find("-->", at + 4);
            if (close == std::string::npos) break;
            at = close;
            continue;
        }
        const std::size_t close = text.find('>', at);
        const std::string_view tag = std::string_view(text).substr(
            at + 1, (close == std::string::npos ? text.size() : close) - at - 1);
        const std::string name = Lower1252(tag.substr(0, tag.find_first_of(" \t\r\n")));
        if (name == "base") {
            base = AttributeOf(tag, "HREF");
            if (Lower1252(base).find("http:") != std::string::npos) base.clear();
        } else {
            std::string reference = AttributeOf(tag, "HREF");
            if (reference.empty()) reference = AttributeOf(tag, "SRC");
            reference = reference.substr(0, reference.find('#'));
            const std::string lower = Lower1252(reference);
            if (!reference.empty() && PageExtension(reference) &&
                lower.find(':') == std::string::npos) {
                std::string r = base + reference;
                std::replace(r.begin(), r.end(), '\\', '/');
                const std::filesystem::path p = NativePath(r);
                const std::filesystem::path full =
                    (p.is_absolute() ? p : folder / p).lexically_normal();
                if (root.empty() || InsideFolder(full, root)) list.push_back(NameOfPath(full));
            }
        }
        if (close == std::string::npos) break;
        at = close;
    }
}

void CollectLinkedPages(const std::string& root, std::vector<std::string>& pages, int levels) {
    std::error_code ec;
    const std::filesystem::path rootPath =
        std::filesystem::absolute(NativePath(root), ec).lexically_normal();
    const std::filesystem::path folder = rootPath.parent_path();
    const std::string rootName = NameOfPath(rootPath);
    std::set<std::string> seen(pages.begin(), pages.end());
    std::vector<std::string> level{rootName};
    for (int l = 0; l < levels && !level.empty(); ++l) {
        std::vector<std::string> next;
        for (const std::string& file : level) {
            if (seen.count(file)) continue;
            seen.insert(file);
            pages.push_back(file);
            if (l + 1 < levels && std::filesystem::is_regular_file(NativePath(file), ec))
                PageLinks(file, next, folder);
        }
        level = std::move(next);
    }
    std::erase(pages, rootName);
}

std::string ImportedFileOf(const TKYTset& set, std::int32_t page) {
    const TKYToggetto* object = set.ObjectByKind(K::testoHtml, page);
    if (!object || object->IsFree() || !object->Auxiliary()) return {};
    const std::string& aux = *object->Auxiliary();
    if (aux.size() < 8) return {};
    ByteReader reader(aux);
    const std::int32_t headerLength = reader.I32();
    const std::int32_t nameLength = reader.I32();
    if (headerLength != nameLength + 4 || nameLength <= 0 ||
        std::size_t(nameLength) > reader.Remaining())
        return {};
    return aux.substr(8, std::size_t(nameLength));
}

namespace {

// Frees the special links among `candidates` that no live object refers to any more; the
// codes left in the pages' texts were taken out of them already.
void FreeUnreferencedLinks(TKYTset& set, std::unordered_set<std::int32_t>& candidates) {
    if (candidates.empty()) return;
    auto keep = [&](std::int32_t code) {
        if (CodeKind(code) == KindIndex(K::speclink)) candidates.erase(CodeIdentifier(code));
    };
    // One pass over the other holders of links: zones, references of markers, buttons and
    // special links, and the "!RefL:" references of custom code.
    for (const auto& image : set.KindList(K::immagineNew)) {
        if (!image || image->IsFree()) continue;
        ImageRecord record(*image);
        for (int z = 0; z < kZoneCount; ++z)
            if (const ZoneRecord zone = record.Zone(z); !zone.Empty()) keep(zone.link);
    }
    for (const auto& marker : set.KindList(K::shortObj))
        if (marker && !marker->IsFree()) keep(marker->ReadView().I32(kShortReference));
    for (const auto& button : set.KindList(K::bottoneCGI))
        if (button && !button->IsFree()) keep(button->ReadView().I32(kButtonLink));
    for (const auto& link : set.KindList(K::speclink))
        if (link && !link->IsFree()) keep(link->ReadView().I32(kSpecTarget));
    // Custom code names objects by "!RefI:", "!RefL:", "!RefP:" or "!RefF:" and 8 digits.
    for (int kind = 0; kind < kKindCount && !candidates.empty(); ++kind) {
        if (TOggettiHel(kind) == K::custom) continue;
        for (const auto& object : set.KindList(TOggettiHel(kind))) {
            if (!object || object->IsFree() || !object->Auxiliary()) continue;
            const std::string& code = *object->Auxiliary();
            for (std::size_t at = code.find("!Ref"); at != std::string::npos;
                 at = code.find("!Ref", at + 1)) {
                std::uint32_t value = 0;
                if (at + 14 <= code.size() && code[at + 5] == ':' &&
                    std::string_view("ILPF").find(code[at + 4]) != std::string_view::npos &&
                    ParseHex(std::string_view(code).substr(at + 6, 8), 8, value) == 8)
                    keep(std::int32_t(value));
            }
        }
    }
    for (std::int32_t id : candidates)
        if (TKYToggetto* link = set.ObjectByKind(K::speclink, id); link && !link->IsFree()) {
            link->Clear();
            set.SetModified(true);
        }
}

}  // namespace

void ResolveImportedLinks(TKYTset& set) {
    // Imported file (capitals) to its page.
    std::map<std::string, std::int32_t> pages;
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (!page || page->IsFree()) continue;
        const std::string file = ImportedFileOf(set, page->Identifier());
        if (!file.empty()) pages.emplace(Upper1252(file), page->Identifier());
    }
    if (pages.empty()) return;
    // The special links replaced by their pages somewhere: freed at the end when nothing
    // refers to them any more.
    std::unordered_set<std::int32_t> replaced;
    // The special links a text still names after its own were replaced.
    std::vector<std::int32_t> named;
    // The page a special link of automatic import names, when it was imported.
    auto target = [&](std::int32_t code) -> std::int32_t {
        if (CodeKind(code) != KindIndex(K::speclink)) return -1;
        const TKYToggetto* link = set.ObjectByKind(K::speclink, CodeIdentifier(code));
        if (!link || link->IsFree() || link->Subtype() != 6) return -1;
        Result<std::string> file = link->ContentBytes();
        if (!file) return -1;
        std::string name = *file;
        while (!name.empty() && name.back() == '\0') name.pop_back();
        const auto found = pages.find(Upper1252(name));
        if (found == pages.end()) return -1;
        replaced.insert(CodeIdentifier(code));
        return found->second;
    };
    for (const auto& page : set.KindList(K::testoHtml)) {
        if (!page || page->IsFree()) continue;
        Result<std::string> bytes = page->ContentBytes();
        if (!bytes || bytes->empty() || (*bytes)[0] == '\0') {
            page->SetContent(std::string("<Z S0 >") + '\0');
            continue;
        }
        std::string text = *bytes;
        bool changed = false;
        for (std::size_t at = text.find("<$"); at != std::string::npos;
             at = text.find("<$", at + 2)) {
            if (at + 11 > text.size() || text[at + 10] != '>') continue;
            std::uint32_t value = 0;
            if (ParseHex(std::string_view(text).substr(at + 2, 8), 8, value) != 8) continue;
            const std::int32_t code = std::int32_t(value);
            const std::int32_t direct = target(code);
            if (direct >= 0) {
                text.replace(at + 2, 8, Hex8(std::uint32_t(MakeCode(K::testoHtml, direct))));
                changed = true;
                continue;
            }
            const int kind = CodeKind(code);
            if (kind == KindIndex(K::speclink)) named.push_back(CodeIdentifier(code));
            TKYToggetto* object = set.ObjectByCode(code);
            if (!object || object->IsFree()) continue;
            if (kind == KindIndex(K::immagineNew)) {
                ImageRecord record(*object);
                for (int z = 0; z < kZoneCount; ++z) {
                    ZoneRecord zone = record.Zone(z);
                    if (zone.Empty()) continue;
                    const std::int32_t p = target(zone.link);
                    if (p < 0) continue;
                    zone.link = MakeCode(K::testoHtml, p);
                    record.SetZone(z, zone);
                }
            } else if (kind == KindIndex(K::speclink)) {
                const std::int32_t t = object->ReadView().I32(kSpecTarget);
                const std::int32_t p = t >= 0 ? target(t) : -1;
                if (p >= 0) object->View().SetI32(kSpecTarget, MakeCode(K::testoHtml, p));
            } else if (kind == KindIndex(K::shortObj)) {
                if (object->Subtype() != 14 && object->Subtype() != 15) {
                    const std::int32_t t = object->ReadView().I32(kShortReference);
                    const std::int32_t p = target(t);
                    if (p >= 0) object->View().SetI32(kShortReference, MakeCode(K::testoHtml, p));
                }
            } else if (kind == KindIndex(K::bottoneCGI)) {
                const std::int32_t t = object->ReadView().I32(kButtonLink);
                const std::int32_t p = target(t);
                if (p >= 0) object->View().SetI32(kButtonLink, MakeCode(K::testoHtml, p));
            }
        }
        if (changed) {
            page->SetContent(std::move(text));
            set.SetModified(true);
        }
    }
    for (std::int32_t id : named) replaced.erase(id);
    FreeUnreferencedLinks(set, replaced);
}

}  // namespace orvo
