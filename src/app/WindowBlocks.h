// The localisation blocks of the export, options, publishing, new-hypertext, tips, about, style
// and search windows (Italian), listed by LocalizationBlocks().
#pragma once

#include <string_view>

namespace orvo {

std::string_view ExportWindowBlock();   // "Fexp", "Esportazione"
std::string_view HtmlOptionsBlock();    // "FopzExp", "Opzioni"
std::string_view NewHypertextBlock();   // "FNewHyp", "Nuovo ipertesto:"
std::string_view TipsBlock();           // "Ftips"
std::string_view AboutBlock();          // "Fabout"
std::string_view PublishWindowBlock();  // "FpubFtp"
std::string_view PublishWizardBlock();  // "FwizCollF"
std::string_view StyleWindowBlock();    // "Fstili"
std::string_view StyleImportBlock();    // "FimpStili", "Importa stili"
std::string_view SearchWindowBlock();   // "TFcerca", "Cerca:"

}  // namespace orvo
