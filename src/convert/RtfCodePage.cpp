// Code pages through the C library's iconv: each table is built once per document from the
// conversion of every byte, so the parser itself never calls iconv for single-byte text.
#include "convert/RtfCodePage.h"

#include <iconv.h>

#include <cerrno>
#include <cstring>

#include "base/Cp1252.h"

namespace orvo {

namespace {

// The iconv name of a Windows code page; empty for one we do not convert.
std::string IconvName(int codePage) {
    switch (codePage) {
        case 437:
        case 850:
        case 852:
        case 866:
        case 874:
        case 932:
        case 949:
        case 1250:
        case 1251:
        case 1253:
        case 1254:
        case 1255:
        case 1256:
        case 1257:
        case 1258:
            return "CP" + std::to_string(codePage);
        case 936:
            return "GBK";
        case 950:
            return "BIG5";
        case 10000:
            return "MACINTOSH";
        case 10001:
            return "SHIFT_JIS";
        case 10006:
            return "MACGREEK";
        case 10007:
            return "MACCYRILLIC";
        case 10029:
            return "MACCENTRALEUROPE";
        default:
            return {};
    }
}

bool IsDoubleByte(int codePage) {
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 10001;
}

// Converts `length` bytes to one code point; 0xFFFFFFFF when they are not exactly one
// complete character, 0xFFFFFFFE when they are the start of one.
char32_t Convert(iconv_t converter, const char* bytes, std::size_t length) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char in[2];
    std::memcpy(in, bytes, length);
    char32_t out[2] = {0, 0};
    char* inPtr = in;
    std::size_t inLeft = length;
    char* outPtr = reinterpret_cast<char*>(out);
    std::size_t outLeft = sizeof out;
    const std::size_t done = iconv(converter, &inPtr, &inLeft, &outPtr, &outLeft);
    if (done == std::size_t(-1)) return errno == EINVAL ? 0xFFFFFFFE : 0xFFFFFFFF;
    if (sizeof out - outLeft != sizeof(char32_t)) return 0xFFFFFFFF;
    return out[0];
}

}  // namespace

int CodePageOfCharset(int charset) {
    switch (charset) {
        case 0:
        case 2:  // symbol fonts: their bytes are taken as they are
            return 1252;
        case 77:
            return 10000;
        case 78:
        case 128:
            return charset == 78 ? 10001 : 932;
        case 129:
            return 949;
        case 134:
            return 936;
        case 136:
            return 950;
        case 161:
            return 1253;
        case 162:
            return 1254;
        case 163:
            return 1258;
        case 177:
            return 1255;
        case 178:
            return 1256;
        case 186:
            return 1257;
        case 204:
            return 1251;
        case 222:
            return 874;
        case 238:
            return 1250;
        case 255:
            return 437;
        default:
            return 0;
    }
}

int UnicodeTo1252(char32_t codePoint) {
    return CodePointToCp1252(codePoint);
}

RtfCodePage::RtfCodePage(int codePage) {
    for (int b = 0; b < 256; ++b) single_[std::size_t(b)] = std::int16_t(b);
    const std::string name = IconvName(codePage);
    if (name.empty()) return;
    iconv_t converter = iconv_open("UTF-32LE", name.c_str());
    if (converter == iconv_t(-1)) return;
    codePage_ = codePage;
    identity_ = false;
    for (int b = 0; b < 256; ++b) {
        const char byte = char(b);
        const char32_t cp = Convert(converter, &byte, 1);
        if (cp == 0xFFFFFFFE && IsDoubleByte(codePage)) {
            lead_[std::size_t(b)] = true;
            single_[std::size_t(b)] = -1;
        } else {
            single_[std::size_t(b)] = std::int16_t(cp >= 0xFFFFFFFE ? -1 : UnicodeTo1252(cp));
        }
    }
    if (IsDoubleByte(codePage))
        converter_ = converter;
    else
        iconv_close(converter);
}

RtfCodePage::~RtfCodePage() {
    if (converter_) iconv_close(iconv_t(converter_));
}

int RtfCodePage::Pair(unsigned char lead, unsigned char trail) const {
    if (!converter_) return -1;
    const char bytes[2] = {char(lead), char(trail)};
    const char32_t cp = Convert(iconv_t(converter_), bytes, 2);
    return cp >= 0xFFFFFFFE ? -1 : UnicodeTo1252(cp);
}

const RtfCodePage& RtfCodePages::Get(int codePage) {
    std::unique_ptr<RtfCodePage>& page = pages_[codePage];
    if (!page) page = std::make_unique<RtfCodePage>(codePage);
    return *page;
}

}  // namespace orvo
