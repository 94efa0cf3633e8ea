// The album ("Album immagini e files") without its widgets: the tabs and the kind each lists,
// the search in the list, replacing a file's or a picture's content, and editing one with an
// outside program through a temporary copy.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/ObjectRecord.h"

namespace orvo {

class IMessages;
class TKYTset;
class TKYToggetto;

/// One tab: its block key, the kind it lists, the buttons it shows besides "Cancella".
struct AlbumTab {
    std::string_view key;  // the tab page's name in the block
    TOggettiHel kind;
    bool edit, replace, add;
    bool picturePreview;
};

inline constexpr std::array<AlbumTab, 6> kAlbumTabs{{
    {"TSimmagini", TOggettiHel::immagine, true, true, true, true},
    {"TSfiles", TOggettiHel::genLink, true, true, true, false},
    {"TSprototipi", TOggettiHel::custom, false, false, false, false},
    {"TSpagine", TOggettiHel::testoHtml, true, false, true, false},
    {"TScollegamenti", TOggettiHel::internetLink, false, false, true, false},
    {"TSalt", TOggettiHel::immagineNew, false, false, false, true},
}};
/// The tab whose caption the main window names ("Collegamenti esterni", "Pagine", "Files");
/// 0 for any other.
int AlbumTabOfCaption(std::string_view caption);
/// "A&pplica" shows only when one of the three buttons does.
inline bool AlbumApplyShown(const AlbumTab& tab) {
    return tab.edit || tab.replace || tab.add;
}

inline constexpr std::string_view kSelectToReplace = "Seleziona oggetto da sostituire";
inline constexpr std::string_view kSelectOnlyOne = "Seleziona un solo oggetto";
inline constexpr std::string_view kSelectToEdit = "Seleziona oggetto da editare";
inline constexpr std::string_view kUsedByPrototype =
    "Risulta usato da almeno un oggetto personalizzato. Vuoi sostituire comunque?";
inline constexpr std::string_view kEditing = "Immagine in corso di edit...";
inline constexpr std::string_view kNoEditor =
    "Dovresti definire l'editor in Windows, oppure in Orvo usando \"Strumenti >Opzioni "
    "programma...\"";
/// The placeholder address of an internet link added in the album (renamed at once).
inline constexpr std::string_view kNewLinkAddress = "http://www.";
/// The files the album adds and replaces, as the open dialog filters them.
inline constexpr std::string_view kAlbumFileFilter =
    "Tutti i files (*.*)|*.*;|Files audio|*.wav;*.mid;*.au;|Files video|*.mov;*.avi;*.dat;"
    "*.mpg;*.mpeg;|Files compressi|*.zip;*.arj;*.lzh;*.tgz;*.rar;|Applet java (*.class)|"
    "*.class;|Files di testo|*.txt;*.doc;*.rtf;";

/// One row of the album's list: the object's name and its code.
struct AlbumItem {
    std::string caption;  // Windows-1252
    std::int32_t code = 0;
};
/// The objects in use of a kind, sorted by name (ignoring case; equal names in identifier
/// order); links to other hypertexts ("orvo:") are left out.
std::vector<AlbumItem> AlbumItems(const TKYTset& set, TOggettiHel kind);
/// Renames an object (its name field, cut as the kind keeps it); returns the name it has.
std::string RenameAlbumObject(TKYToggetto& object, std::string_view name);

/// The first caption that begins with `text` (ignoring case), searching from the first; -1.
int AlbumSearch(const std::vector<std::string>& captions, std::string_view text);

/// Whether a prototype refers to the object (replacing it asks first).
bool UsedByPrototype(const TKYTset& set, std::int32_t code);

/// A file's content replaced by the bytes of `path` (its file field takes the file's name).
bool ReplaceFileContent(TKYToggetto& file, const std::string& path);
/// A picture's content replaced by a picture's bytes (its size, kind and transparency follow;
/// the same bytes change nothing). False when the bytes are no picture.
bool ReplacePictureContent(TKYTset& set, TKYToggetto& picture, const std::string& bytes);

/// An edit by an outside program: the temporary copy it works on.
struct OutsideEdit {
    std::int32_t code = 0;
    std::string temporary;  // Windows-1252 path
};
/// Extracts the object's content and writes a temporary copy for the program; nullopt (the
/// container has shown why) when that fails.
std::optional<OutsideEdit> StartOutsideEdit(TKYTset& set, TKYToggetto& object);
/// Applies the edited copy: a file's working copy is overwritten, a picture takes the new
/// bytes; the temporary copy is deleted only once that succeeded (otherwise it stays, and the
/// error box says where). The hypertext is marked modified.
bool ApplyOutsideEdit(TKYTset& set, const OutsideEdit& edit, IMessages& messages);

}  // namespace orvo
