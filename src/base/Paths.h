// File names: Windows-1252 names in the core, UTF-8 paths on disk, and the rules that keep a
// name taken from data inside the folder it belongs to.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvo {

/// The path on disk of a Windows-1252 name (converted to UTF-8; "\\" left as it is).
std::filesystem::path NativePath(std::string_view cp1252);
/// The Windows-1252 name of a path on disk (characters without a byte become "?").
std::string NameOfPath(const std::filesystem::path& path);

/// A name stored in Windows form ("C:\\dir\\file.gif", "dir\\file.gif") as a Linux path:
/// backslashes become "/", a drive letter is dropped.
std::string FromWindowsPath(std::string_view name);

/// What follows the last "/" or "\\".
std::string_view LastComponent(std::string_view name);
/// The extension of the last component with its dot, lower case ("" when none): ".gif".
std::string ExtensionOf(std::string_view name);
/// The last component without its extension.
std::string_view StemOf(std::string_view name);

/// True for a single file name that stays in its folder: not empty, not "." or "..", no "/" or
/// "\\", no NUL, no drive colon.
bool IsSafeName(std::string_view name);

/// A relative name made of safe components ("images/a.gif"); rejects absolute paths, "..",
/// empty components and backslashes.
bool IsSafeRelativePath(std::string_view name);

}  // namespace orvo
