// The localisation blocks of the picture window ("Fimmagini"), of the clipboard picture window
// ("FimgFromClip") and of the image properties window ("FPropImm"), Italian; each key names a
// component of its window.
#pragma once

#include <string_view>

namespace orvo {

std::string_view PictureWindowBlock();     // "Inserisci immagine:"
std::string_view ImagePropertiesBlock();   // "Proprietà immagine"
std::string_view ClipboardPictureBlock();  // "Inserisci immagine:", "Da cartella appunti"

}  // namespace orvo
