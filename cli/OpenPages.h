// Every page of a hypertext opened and committed, as the editor does when a page is shown and
// left: the check that reading and storing page texts loses nothing.
#pragma once

namespace orvo {
class TKYTset;
}

namespace orvo::cli {

/// Shows every live page on a page surface without a window and commits it; returns how many
/// pages were stored.
int OpenAndCommitEveryPage(TKYTset& set);

}  // namespace orvo::cli
