// The remote folder list of the FTP browser without its widgets: the folder above, the order
// of the entries and the texts of their four columns.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "publish/FtpListing.h"

namespace orvo {

enum class TFtpSortType { fsName, fsSize, fsType, fsDate };

/// The folder above `directory` ("/a/b/" gives "/a/"); "/" stays "/".
std::string ParentDirectory(const std::string& directory);
/// `directory` + `name` + "/", the folder a double click on a listed folder opens.
std::string ChildDirectory(const std::string& directory, const std::string& name);

/// "Nome", "Dimensione" (empty when not positive), "Tipo" ("Directory", "File", "Link"),
/// "Modificato" ("dd/mm/yyyy hh:mm", empty when the date is unknown).
std::array<std::string, 4> ListingTexts(const T_Filedata& entry);

/// The listed entries in the browser's order: by type text first, then by the key of `order`
/// (name, size, extension then name, date), reversed within each type when `descending`.
std::vector<T_Filedata> SortedListing(std::vector<T_Filedata> entries, TFtpSortType order,
                                      bool descending = false);

/// The order a click on the header of column `column` sorts by.
TFtpSortType SortForListingColumn(int column);

}  // namespace orvo
