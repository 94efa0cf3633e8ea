// What the text box asks of the view of a page object that sits inline in its text (a
// picture, a table, a player, a button, a form input, a marker).
#pragma once

#include <cstdint>

#include "model/Markup.h"

namespace orvo {

class ICanvas;

/// Implemented by the visual objects; the box never owns them.
class IInlineObject {
public:
    virtual ~IInlineObject() = default;

    /// A table takes the full line width; its paragraph holds nothing else.
    virtual bool IsTable() const = 0;
    /// Before layout: the object is parented to the box when it has none, refreshed, and
    /// told the full width of the line it sits on.
    virtual void UpdateSize(std::int32_t fullWidth) = 0;
    /// The width and height the object takes on its line.
    virtual ObjectSize Size() const = 0;
    /// 3: the object's top at the line's baseline; 4: its middle there; any other value:
    /// its bottom there.
    virtual int VerticalAlignment() const = 0;

    /// Layout moved the object: it is placed again when next painted.
    virtual void MarkReposition() = 0;
    /// Moves the object out of sight (x = -20000) until painting places it.
    virtual void Park() = 0;
    /// True when the object is marked for repositioning, not yet shown, or must take the
    /// focus.
    virtual bool NeedsPlacing() const = 0;
    /// Puts the object's top left corner at (left, top) of the box and shows it; an object
    /// waiting for the focus takes it. Called while painting: a desktop view applies the move
    /// after the paint.
    virtual void PlaceAt(std::int32_t left, std::int32_t top) = 0;
    /// The selection borders follow the highlight of the line the object sits on.
    virtual void SetHighlighted(bool highlighted) = 0;

    /// The page is browsed (on) or edited (off); the display flag of the box changed.
    virtual void SetRunMode(bool /*on*/) {}
    virtual void SetDisplayFlag(bool /*on*/) {}
    /// A table lays its cells' texts out again (a style or picture changed under the text).
    virtual void Reformat() {}
    /// A table's cells, made to read and write through `markup`; none for other objects.
    virtual ITableCells* TableCellsFor(IMarkupHost& /*markup*/) { return nullptr; }
    /// Draws the object where it was placed, for a surface without child windows (an
    /// offscreen picture, a printer).
    virtual void PaintOn(ICanvas& /*canvas*/, std::int32_t /*left*/, std::int32_t /*top*/) {}
};

}  // namespace orvo
