// The localisation blocks of the album ("Falbum"), the deletion window ("Fcancella") and the
// hypertext options ("FopzHyp"), Italian.
#pragma once

#include <string_view>

namespace orvo {

std::string_view AlbumWindowBlock();     // "Album immagini e files"
std::string_view DeletionWindowBlock();  // "Cancella oggetti dagli album interni"
std::string_view OptionsWindowBlock();   // "Opzioni dell'ipertesto"

}  // namespace orvo
