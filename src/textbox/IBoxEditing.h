// What the input of a text box asks of the editing operations: every change of text that a key,
// a drop or a paste makes goes through here.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvo {

/// The answer of an action that changes text while no editing operations are attached.
inline constexpr std::string_view kEditingNotBuilt = "changing the text is not built yet";

class IBoxEditing {
public:
    virtual ~IBoxEditing() = default;
    /// False while no editing operations are attached: actions that change text are refused.
    virtual bool Available() const = 0;

    /// Ends the typing and deletion bursts and drops the pending typing format.
    virtual void EndBursts() = 0;
    virtual bool TypingBurstOpen() const = 0;
    virtual bool DeletionBurstOpen() const = 0;

    /// Deletes the box's selection; the caret goes to where it began.
    virtual void DeleteSelection() = 0;
    /// Inserts one Windows-1252 character at the caret (replacing a selection); the caller moves
    /// the caret on.
    virtual bool InsertChar(std::uint8_t character) = 0;
    virtual void InsertParagraphBreak() = 0;

    /// The selection in the program's own clipboard format; `picture` gets the picture stream
    /// of the first copied object that uses one.
    virtual std::string WriteSelection(bool forDrag, std::optional<std::string>* picture) = 0;
    /// Inserts a stream of the program's own format at the caret; false (and nothing changed)
    /// when the stream is refused.
    virtual bool InsertFromStream(std::string_view stream, std::string_view undoLabel) = 0;
    /// The selection as a complete RTF document, and as Windows-1252 plain text.
    virtual std::string WriteSelectionAsRtf() = 0;
    virtual std::string WriteSelectionAsText() = 0;
    /// Inserts RTF or plain text at the caret.
    virtual bool PasteRtf(std::string_view rtf) = 0;
    virtual bool PasteText(std::string_view cp1252, std::string_view undoLabel) = 0;
};

/// No editing operations: everything that would change the text is refused.
class NoBoxEditing final : public IBoxEditing {
public:
    bool Available() const override { return false; }
    void EndBursts() override {}
    bool TypingBurstOpen() const override { return false; }
    bool DeletionBurstOpen() const override { return false; }
    void DeleteSelection() override {}
    bool InsertChar(std::uint8_t) override { return false; }
    void InsertParagraphBreak() override {}
    std::string WriteSelection(bool, std::optional<std::string>*) override { return {}; }
    bool InsertFromStream(std::string_view, std::string_view) override { return false; }
    std::string WriteSelectionAsRtf() override { return {}; }
    std::string WriteSelectionAsText() override { return {}; }
    bool PasteRtf(std::string_view) override { return false; }
    bool PasteText(std::string_view, std::string_view) override { return false; }
};

}  // namespace orvo
