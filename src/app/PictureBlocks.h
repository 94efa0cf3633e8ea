// The localisation blocks of the picture window ("Fimmagini") and of the image properties
// window ("FPropImm"), Italian; each key names a component of its window.
#pragma once

#include <string_view>

namespace orvo {

std::string_view PictureWindowBlock();    // "Inserisci immagine:"
std::string_view ImagePropertiesBlock();  // "Proprietà immagine"

}  // namespace orvo
