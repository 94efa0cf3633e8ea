// Where an object of a hypertext is used: the pages and prototypes that refer to it, with the
// reason of each reference, and the search that lists them on a worker thread before objects
// are deleted ("Cancella oggetti dagli album interni").
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace orvo {

class TKYTset;
class TKYToggetto;

/// The text of each reason a reference is made for (0: none).
inline constexpr int kReferenceReasonCount = 17;
std::string_view ReferenceText(int reason);

/// Why `holder` (a page, a prototype or any object) refers to the object `code`; 0 when it
/// does not. Besides the object's own reasons, a page refers to whatever the objects its text
/// holds refer to, and to the page a special link of its text jumps to; a prototype to the
/// objects named in the header of its custom code.
int ReferenceReason(const TKYToggetto& holder, std::int32_t code);

/// One page or prototype that refers to an object.
struct Referrer {
    std::int32_t code = 0;
    std::string name;  // Windows-1252
    int reason = 0;
};

/// Every page in use and then every prototype in use, each in identifier order, that refers
/// to `code`. Stops early (returning what it found) when `stop` becomes true.
std::vector<Referrer> FindReferrers(const TKYTset& set, std::int32_t code,
                                    const std::atomic<bool>* stop = nullptr);

/// The lines the deletion window shows for one object: the header line and one line per
/// referrer, or the single "sembra inutilizzato." line. Empty when there is no such object.
std::vector<std::string> ReferenceLines(const TKYTset& set, std::int32_t code,
                                        const std::atomic<bool>* stop = nullptr);

/// A copy of a hypertext's objects for reading on another thread: records, page texts and
/// auxiliary streams, never the live objects. Texts still in the document file are read
/// through the same open file (reads at a position, safe from any thread).
class DocumentSnapshot {
public:
    explicit DocumentSnapshot(const TKYTset& live);
    ~DocumentSnapshot();
    DocumentSnapshot(const DocumentSnapshot&) = delete;
    DocumentSnapshot& operator=(const DocumentSnapshot&) = delete;
    const TKYTset& Set() const { return *set_; }

private:
    struct Parts;
    std::unique_ptr<Parts> parts_;
    TKYTset* set_ = nullptr;
};

/// The search of the deletion window: for each code in order, the lines of ReferenceLines,
/// computed on a worker thread over a snapshot taken when the search starts, so the live
/// hypertext may change (or be freed) meanwhile. `found` receives each object's lines on the
/// worker thread (a window hands them on to its own thread); `ended` is called last, also on
/// the worker thread, unless the search was stopped.
class WhereUsedSearch {
public:
    using Found = std::function<void(std::size_t index, std::vector<std::string> lines)>;
    using Ended = std::function<void()>;

    WhereUsedSearch(const TKYTset& live, std::vector<std::int32_t> codes, Found found,
                    Ended ended = {});
    /// Stops the search.
    ~WhereUsedSearch();
    WhereUsedSearch(const WhereUsedSearch&) = delete;
    WhereUsedSearch& operator=(const WhereUsedSearch&) = delete;

    /// Starts the worker thread (once).
    void Start();
    /// Tells the worker to stop and waits for it: it tests the request before every page and
    /// prototype it looks at, so this returns within one object's test. No handler is called
    /// after Stop returns.
    void Stop();
    /// Waits for the worker to look at every code (without telling it to stop).
    void Wait();
    /// Whether the worker has looked at every code (not stopped).
    bool Finished() const { return finished_.load(); }

private:
    void Run();
    std::unique_ptr<DocumentSnapshot> snapshot_;
    std::vector<std::int32_t> codes_;
    Found found_;
    Ended ended_;
    std::atomic<bool> stop_{false};
    std::atomic<bool> finished_{false};
    std::thread worker_;
};

/// An object code from the command line's "KIND:ID": the kind by its name ("immagine",
/// "genLink", ...) or its number, the identifier in decimal. nullopt when malformed.
std::optional<std::int32_t> ParseObjectCode(std::string_view text);
/// The name of a kind ("testoHtml", "immagine", ...).
std::string_view KindName(int kind);

}  // namespace orvo
