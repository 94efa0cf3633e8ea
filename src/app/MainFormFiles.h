// What the parts of the main window's command flow share: the texts and file types they all
// use, and small helpers over Windows-1252 file names.
#pragma once

#include <algorithm>
#include <array>
#include <chrono>
#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace orvo::mainform {

inline constexpr std::string_view kOptions = "options";
inline constexpr std::string_view kNoPrinter =
    "Nessuna stampante raggiungibile nell'ambiente Windows.\rUscire dal programma ed usare il "
    "pannello di controllo per installare stampanti.";
inline constexpr std::string_view kSaveFailed = "Salvataggio non riuscito!";
inline constexpr std::string_view kOpenFilter =
    "Orvo hypertext (*.kyt)|*.kyt|Tutti i files (*.*)|*.*";
inline constexpr std::string_view kHtmlFilter = "HTML|*.htm;*.html";
inline constexpr std::size_t kPageMenuMax = 15;
inline constexpr auto kNextActionDelay = std::chrono::milliseconds(300);

inline constexpr std::array<std::string_view, 5> kImageExtensions{".gif", ".jpg", ".wmf", ".jpeg",
                                                                  ".bmp"};
inline constexpr std::array<std::string_view, 9> kTextExtensions{
    ".txt", ".ini", ".asc", ".rtf", ".pas", ".c", ".cpp", ".doc", ".wri"};
inline constexpr std::array<std::string_view, 5> kPlainTextExtensions{".txt", ".c", ".pas", ".asc",
                                                                      ".ini"};

template <std::size_t N>
bool OneOf(const std::array<std::string_view, N>& list, std::string_view value) {
    return std::find(list.begin(), list.end(), value) != list.end();
}

inline bool IsHtml(std::string_view extension) {
    return extension == ".htm" || extension == ".html";
}

/// Whether the Windows-1252 name names a regular file.
bool FileExists(const std::string& name);
/// The folder part of a "/" path; "" when it has none.
std::string FolderOf(const std::string& path);
/// The path with its extension replaced by `extension`.
std::string WithExtension(const std::string& path, std::string_view extension);
/// True when `path` names something inside `folder` (by whole components, after resolving
/// "..", "." and links).
bool LiesIn(const std::string& path, const std::filesystem::path& folder);
/// `text` with its first `token` replaced by `by`.
std::string Replace(std::string_view text, std::string_view token, std::string_view by);
/// "dd/mm/yyyy" of that day.
std::string DateText(std::chrono::system_clock::time_point now);

}  // namespace orvo::mainform
