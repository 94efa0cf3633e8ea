// Placing a page object in a page's text.
#include "objects/PagePlacement.h"

#include <algorithm>
#include <string_view>
#include <vector>

#include "model/Markup.h"
#include "model/TKYTparag.h"
#include "model/TextForms.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {
namespace {

// The codes of one kind that a stored text names.
std::vector<std::int32_t> CodesOfKind(std::string_view content, TOggettiHel kind) {
    std::vector<std::int32_t> codes;
    for (std::size_t p = content.find("<$");
         p != std::string_view::npos && p + 11 <= content.size(); p = content.find("<$", p + 2)) {
        std::uint32_t code = 0;
        bool ok = content[p + 10] == '>';
        for (std::size_t i = p + 2; ok && i < p + 10; ++i) {
            const char c = content[i];
            const int digit = c >= '0' && c <= '9'   ? c - '0'
                              : c >= 'a' && c <= 'f' ? c - 'a' + 10
                              : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                     : -1;
            ok = digit >= 0;
            code = (code << 4) | std::uint32_t(digit < 0 ? 0 : digit);
        }
        if (ok && CodeKind(std::int32_t(code)) == KindIndex(kind))
            codes.push_back(std::int32_t(code));
    }
    return codes;
}

}  // namespace

Result<std::int32_t> PlaceObjectInPage(TKYTset& set, TKYToggetto& page,
                                       std::unique_ptr<TKYToggetto> object, TextPlace place,
                                       ITextMeasurer& measurer) {
    if (page.Kind() != TOggettiHel::testoHtml || page.IsFree()) return Fail("not a page");
    if (!object) return Fail("no object");
    auto text = OpenText(set, page, false);
    TextMarkupHost host(set, *text, measurer);
    const Result<std::string> content = text->ContentBytes();
    if (!content) return content.failure();
    Paragraphs paragraphs = ReadText(*content, host, 0);
    if (paragraphs.empty()) return Fail("the page has no paragraph");
    const std::int32_t count = std::int32_t(paragraphs.size());
    const std::int32_t p = place.paragraph < 0 ? count - 1 : place.paragraph;
    if (p >= count)
        return Fail("the page has " + std::to_string(count) + " paragraphs (0 to " +
                    std::to_string(count - 1) + ")");
    TKYTparag& paragraph = *paragraphs[std::size_t(p)];
    if (paragraph.IsTableParagraph(host))
        return Fail("paragraph " + std::to_string(p) + " holds a table");
    const std::int32_t length = std::int32_t(paragraph.text.size());
    const std::int32_t c = place.character < 0 ? length : place.character;
    if (c > length)
        return Fail("paragraph " + std::to_string(p) + " has " + std::to_string(length) +
                    " characters");

    // The object's character: a working copy owned by the text, as an edit makes it.
    TKYToggetto* working = object.get();
    text->pageObjects.push_back(std::move(object));
    TKYTcharMetric m;
    m.objectIndex = std::int32_t(paragraph.objects.size());
    if (c > 0) m.linkId = paragraph.metrics[std::size_t(c - 1)].linkId;
    const ObjectSize size = host.SizeOf(*working);
    m.width = size.width;
    m.height = size.height;
    m.ascent = size.height;
    paragraph.objects.push_back(working);
    paragraph.text.insert(std::size_t(c), 1, ' ');
    paragraph.metrics.insert(paragraph.metrics.begin() + c, m);
    if (!paragraph.spellFlags.empty() && std::size_t(c) <= paragraph.spellFlags.size())
        paragraph.spellFlags.insert(std::size_t(c), 1, ' ');

    const TOggettiHel kind = working->Kind();
    const Result<std::string> previous = page.ContentBytes();
    const std::vector<std::int32_t> before =
        previous ? CodesOfKind(*previous, kind) : std::vector<std::int32_t>{};
    const std::string markup = WriteText(paragraphs, host);
    StoreText(set, *text, markup, page, false);
    const Result<std::string> stored = page.ContentBytes();
    if (stored)
        for (std::int32_t code : CodesOfKind(*stored, kind))
            if (std::find(before.begin(), before.end(), code) == before.end())
                return CodeIdentifier(code);
    return Fail("the object could not be stored");
}

}  // namespace orvo
