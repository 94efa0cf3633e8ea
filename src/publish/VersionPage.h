// The version page a published site keeps on its server: its name, its bytes, and reading the
// version back from what a server holds.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

/// A version page is a few hundred bytes; a server's file larger than this is not one of ours
/// and is not read.
inline constexpr std::size_t kMaxVersionPageBytes = 64 * 1024;

/// "<base name in lower case>_ver.html".
std::string VersionPageName(std::string_view exportBaseName);

/// The page that tells which version of the hypertext `documentPath` the server holds.
std::string VersionPageBytes(std::string_view documentPath, std::int32_t version);

/// The version of the first line holding "<!--VER=" whose text up to "-->" is a whole decimal
/// number (optionally signed; clamped to 32 bits); lines whose number does not read are
/// skipped. Nothing when no line gives one.
std::optional<std::int32_t> ParseVersionPage(std::string_view bytes);

/// The label under the remote list: "Sul server è presente la versione " + n, or the text for
/// no version (-1).
std::string ServerVersionText(std::int32_t version);

}  // namespace orvo
