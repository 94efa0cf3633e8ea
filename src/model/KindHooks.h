// Behaviour of the object kinds whose records are laid out by later subsystems (tables,
// visual objects, buttons, multimedia): installed by those subsystems at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/ObjectRecord.h"

namespace orvo {

class TKYToggetto;

struct KindHooks {
    /// Completes a record stored by an older version (`storedSize` bytes were read).
    void (*completeRecord)(TKYToggetto& object, std::size_t storedSize) = nullptr;
    /// The description of an object in use ("label|description"); nullopt: the model's own.
    std::optional<std::string> (*describe)(const TKYToggetto& object) = nullptr;
    /// Before an object of the kind is cleared: drops what it shares (the special links its
    /// zones, buttons or markers hold).
    void (*dropReferences)(TKYToggetto& object) = nullptr;
    /// A reason the object refers to `code` through its kind's own fields; 0 for none.
    int (*refers)(const TKYToggetto& object, std::int32_t code) = nullptr;
};

/// The hooks the model installs itself, for the records it lays out: markers (window
/// scripts), images (clickable zones) and buttons clear the special links they name when they
/// are cleared, unless another object in use names them too; `refers` gives the reasons of
/// those links, of tables' backgrounds, multimedia and database objects' pictures, files and
/// prototypes, and floating windows' pages.
KindHooks BuiltInKindHooks(TOggettiHel kind);

/// The object codes a marker (window script), an image (its zones) or a button names through
/// its fields; none for other kinds.
std::vector<std::int32_t> LinksNamedBy(const TKYToggetto& object);

/// Clears `object`, but a special link in `kept` is not cleared with it (a working copy that
/// takes the object's place names it).
void ClearKeeping(TKYToggetto& object, const std::vector<std::int32_t>& kept);

/// Installs the hooks of one kind (a subsystem calls it once at start-up, before any document
/// is read); later calls replace earlier ones, the built-in hooks included.
void SetKindHooks(TOggettiHel kind, const KindHooks& hooks);
const KindHooks& HooksOf(TOggettiHel kind);

}  // namespace orvo
