// The Qt measurer: fonts from fontconfig, widths from QFontMetricsF, cached per font.
#include "ui/render/QtTextMeasurer.h"

#include <fontconfig/fontconfig.h>

#include <QString>
#include <QtMath>

#include <algorithm>
#include <cmath>
#include <set>
#include <vector>

#include "base/Cp1252.h"
#include "ui/QtConvert.h"

// fontconfig 2.14 keeps blocks from parsing its configuration files that it never frees;
// the leak checker of sanitizer builds is told to look past them.
#if defined(__SANITIZE_ADDRESS__)
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\n";
}
#endif

namespace orvo {
namespace {

constexpr std::string_view kFallbackFace = "Times New Roman";

std::string Lowered(const char* s) {
    std::string out(s);
    for (char& c : out)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return out;
}

bool IsGenericFamily(const std::string& lowered) {
    return lowered == "serif" || lowered == "sans-serif" || lowered == "monospace" ||
           lowered == "cursive" || lowered == "fantasy" || lowered == "sans" || lowered == "mono" ||
           lowered == "system-ui" || lowered == "emoji" || lowered == "math";
}

// The families fontconfig substitutes for a name: the name itself, then its configured
// aliases, then (as the last resort) the preferred families of generic names.
std::vector<std::string> SubstitutedFamilies(const std::string& utf8Face) {
    std::vector<std::string> out;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return out;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8Face.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i)
        out.push_back(Lowered(reinterpret_cast<const char*>(value)));
    FcPatternDestroy(pattern);
    return out;
}

// Every family that fontconfig offers for a generic name: what a face falls back to when
// nothing was configured for it.
const std::set<std::string>& GenericFallbacks() {
    static const std::set<std::string> families = [] {
        std::set<std::string> all;
        for (const char* generic :
             {"serif", "sans-serif", "monospace", "cursive", "fantasy", "system-ui"})
            for (std::string& name : SubstitutedFamilies(generic)) all.insert(std::move(name));
        return all;
    }();
    return families;
}

// What fontconfig makes of a face name: the names that stand for it (the name and the aliases
// its configuration puts before any generic fallback, such as the metric-compatible faces of
// the Windows fonts), the first generic family it falls into, the families of the font it
// matches and that font's spacing.
struct FontconfigAnswer {
    std::vector<std::string> acceptable;
    std::string generic;
    std::vector<std::string> matchedFamilies;
    int spacing = FC_PROPORTIONAL;
};

FontconfigAnswer AskFontconfig(const std::string& utf8Face) {
    FontconfigAnswer answer;
    const std::vector<std::string> families = SubstitutedFamilies(utf8Face);
    const std::set<std::string>& fallbacks = GenericFallbacks();
    for (std::size_t i = 0; i < families.size(); ++i) {
        if (i > 0 && fallbacks.count(families[i])) break;
        answer.acceptable.push_back(families[i]);
    }
    for (const std::string& name : families)
        if (IsGenericFamily(name)) {
            answer.generic = name;
            break;
        }
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return answer;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(utf8Face.c_str()));
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* value = nullptr;
        for (int i = 0; FcPatternGetString(match, FC_FAMILY, i, &value) == FcResultMatch; ++i)
            answer.matchedFamilies.push_back(Lowered(reinterpret_cast<const char*>(value)));
        int spacing = FC_PROPORTIONAL;
        if (FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch)
            answer.spacing = spacing;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return answer;
}

}  // namespace

struct QtTextMeasurer::Face {
    explicit Face(const QFont& f) : font(f), metrics(f) {
        text.ascent = qRound(metrics.ascent());
        text.height = text.ascent + qRound(metrics.descent());
        single.fill(-1);
    }
    QFont font;
    QFontMetricsF metrics;
    TextMetrics text;
    std::array<std::int32_t, 256> single;
    std::unordered_map<std::uint16_t, std::int32_t> pairs;

    std::int32_t Measure(std::string_view cp1252) const {
        return std::int32_t(std::lround(metrics.horizontalAdvance(ToQString(cp1252))));
    }
    std::int32_t One(unsigned char c) {
        std::int32_t& w = single[c];
        if (w < 0) {
            const char byte = static_cast<char>(c);
            w = Measure(std::string_view(&byte, 1));
        }
        return w;
    }
};

QtTextMeasurer::QtTextMeasurer(int pixelsPerInch)
    : pixelsPerInch_(pixelsPerInch > 0 ? pixelsPerInch : 96) {}

QtTextMeasurer::~QtTextMeasurer() = default;

const QtTextMeasurer::FaceInfo& QtTextMeasurer::InfoFor(std::string_view faceName) {
    const std::string key(faceName);
    auto it = info_.find(key);
    if (it != info_.end()) return it->second;
    FaceInfo info;
    const FontconfigAnswer answer = AskFontconfig(Cp1252ToUtf8(faceName));
    if (!faceName.empty())
        for (const std::string& family : answer.matchedFamilies)
            if (std::find(answer.acceptable.begin(), answer.acceptable.end(), family) !=
                answer.acceptable.end())
                info.installed = true;
    info.pitch = answer.spacing >= FC_DUAL ? FontPitch::Fixed : FontPitch::Variable;
    if (info.pitch == FontPitch::Fixed || answer.generic == "monospace" || answer.generic == "mono")
        info.family = FontFamily::Modern;
    else if (answer.generic == "serif")
        info.family = FontFamily::Roman;
    else if (answer.generic == "sans-serif" || answer.generic == "sans")
        info.family = FontFamily::Swiss;
    else if (answer.generic == "cursive")
        info.family = FontFamily::Script;
    else if (answer.generic == "fantasy")
        info.family = FontFamily::Decorative;
    return info_.emplace(key, info).first->second;
}

bool QtTextMeasurer::IsInstalled(std::string_view faceName) {
    return InfoFor(faceName).installed;
}

std::string QtTextMeasurer::EffectiveFace(std::string_view faceName) {
    return IsInstalled(faceName) ? std::string(faceName) : std::string(kFallbackFace);
}

QFont QtTextMeasurer::ToQFont(const TMyFont& font) {
    QFont q(QString::fromStdString(Cp1252ToUtf8(EffectiveFace(font.name))));
    const std::int64_t points = std::clamp<std::int64_t>(font.size, 0, 4000);
    // size × ppi / 72, rounded to the nearest pixel; Qt refuses a pixel size of 0.
    const int pixels = int((points * pixelsPerInch_ + 36) / 72);
    q.setPixelSize(std::max(1, pixels));
    q.setBold(font.styleBits & kFontBold);
    q.setItalic(font.styleBits & kFontItalic);
    q.setUnderline(font.styleBits & kFontUnderline);
    q.setStrikeOut(font.styleBits & kFontStrikeOut);
    q.setKerning(true);
    return q;
}

QtTextMeasurer::Face& QtTextMeasurer::FaceFor(const TMyFont& font) {
    if (last_ && lastFont_.name == font.name && lastFont_.size == font.size &&
        lastFont_.styleBits == font.styleBits)
        return *last_;
    std::string key = font.name;
    key += '\0';
    key += std::to_string(font.size);
    key += '\0';
    key += char(font.styleBits & 15);
    auto it = faces_.find(key);
    if (it == faces_.end()) it = faces_.emplace(key, std::make_unique<Face>(ToQFont(font))).first;
    last_ = it->second.get();
    lastFont_ = font;
    return *last_;
}

std::int32_t QtTextMeasurer::Extent(const TMyFont& font, std::string_view text) {
    if (font.size <= 0 || text.empty()) return 0;
    Face& face = FaceFor(font);
    if (text.size() == 1) return face.One(static_cast<unsigned char>(text[0]));
    return face.Measure(text);
}

TextMetrics QtTextMeasurer::Metrics(const TMyFont& font) {
    if (font.size <= 0) return {};
    return FaceFor(font).text;
}

std::int32_t QtTextMeasurer::PairWidth(const TMyFont& font, int previous, unsigned char current) {
    if (font.size <= 0) return 0;
    Face& face = FaceFor(font);
    if (previous < 0 || previous > 255) return face.One(current);
    const std::uint16_t key = std::uint16_t((previous << 8) | current);
    auto it = face.pairs.find(key);
    if (it != face.pairs.end()) return it->second;
    const char pair[2] = {static_cast<char>(previous), static_cast<char>(current)};
    const std::int32_t width =
        face.Measure(std::string_view(pair, 2)) - face.One(static_cast<unsigned char>(previous));
    face.pairs.emplace(key, width);
    return width;
}

FontPitch QtTextMeasurer::Pitch(const TMyFont& font) {
    return InfoFor(EffectiveFace(font.name)).pitch;
}

FontFamily QtTextMeasurer::Family(const TMyFont& font) {
    return InfoFor(EffectiveFace(font.name)).family;
}

}  // namespace orvo
