// The FTP browser's rules.
#include "publish/FtpBrowserRules.h"

#include <algorithm>
#include <cstdio>
#include <tuple>

namespace orvo {

namespace {

std::string_view TypeText(const T_Filedata& entry) {
    switch (entry.kind) {
        case T_Filedata::kDirectory:
            return "Directory";
        case T_Filedata::kLink:
            return "Link";
        default:
            return "File";
    }
}

std::string ExtensionPart(const std::string& name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? std::string() : name.substr(dot);
}

}  // namespace

std::string ParentDirectory(const std::string& directory) {
    if (directory.size() <= 1) return "/";
    std::string d = directory;
    if (d.back() == '/') d.pop_back();
    const std::size_t slash = d.rfind('/');
    if (slash == std::string::npos) return "/";
    return d.substr(0, slash + 1);
}

std::string ChildDirectory(const std::string& directory, const std::string& name) {
    std::string d = directory.empty() ? "/" : directory;
    if (d.back() != '/') d += '/';
    return d + name + "/";
}

std::array<std::string, 4> ListingTexts(const T_Filedata& entry) {
    std::array<std::string, 4> texts;
    texts[0] = entry.name;
    if (entry.size > 0) texts[1] = std::to_string(entry.size);
    texts[2] = std::string(TypeText(entry));
    if (entry.date.known) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "%02d/%02d/%04d %02d:%02d", entry.date.day,
                      entry.date.month, entry.date.year, entry.date.hour, entry.date.minute);
        texts[3] = buffer;
    }
    return texts;
}

std::vector<T_Filedata> SortedListing(std::vector<T_Filedata> entries, TFtpSortType order,
                                      bool descending) {
    auto dateKey = [](const T_Filedata& e) {
        return std::make_tuple(e.date.year, e.date.month, e.date.day, e.date.hour, e.date.minute);
    };
    auto less = [&](const T_Filedata& a, const T_Filedata& b) {
        const std::string_view ta = TypeText(a), tb = TypeText(b);
        if (ta != tb) return ta < tb;
        auto key = [&](const T_Filedata& x, const T_Filedata& y) {
            switch (order) {
                case TFtpSortType::fsName:
                    return x.name < y.name;
                case TFtpSortType::fsSize:
                    return x.size < y.size;
                case TFtpSortType::fsType: {
                    const std::string ex = ExtensionPart(x.name), ey = ExtensionPart(y.name);
                    return ex != ey ? ex < ey : x.name < y.name;
                }
                case TFtpSortType::fsDate:
                    return dateKey(x) < dateKey(y);
            }
            return false;
        };
        return descending ? key(b, a) : key(a, b);
    };
    std::stable_sort(entries.begin(), entries.end(), less);
    return entries;
}

TFtpSortType SortForListingColumn(int column) {
    switch (column) {
        case 1:
            return TFtpSortType::fsSize;
        case 2:
            return TFtpSortType::fsType;
        case 3:
            return TFtpSortType::fsDate;
        default:
            return TFtpSortType::fsName;
    }
}

}  // namespace orvo
