// The Italian blocks of the two picture windows (an apostrophe in a value is written twice).
#include "app/PictureBlocks.h"

#include <initializer_list>
#include <string>

#include "app/ImagePropertiesRules.h"

namespace orvo {

namespace {

struct Entry {
    std::string_view key;  // the component's name in small letters, or a ".property" key
    std::string_view text;
};

std::string Doubled(std::string_view text) {
    std::string out;
    for (const char c : text) {
        out += c;
        if (c == '\'') out += '\'';
    }
    return out;
}

std::string Block(std::initializer_list<Entry> entries) {
    std::string block;
    for (const Entry& e : entries) {
        block += "*_";
        if (e.key.front() == '.') {
            block += e.key;
        } else {
            block += '*';
            block += e.key;
            block += "_caption";
        }
        block += "\r\n ";
        block += Doubled(e.text);
        block += "\r\n";
    }
    return block;
}

}  // namespace

std::string_view PictureWindowBlock() {
    static const std::string kBlock = Block({
        {"fimmagini", "Inserisci immagine:"},
        {"tsalbum", "Dall'album interno"},
        {"tsdisco", "Da disco"},
        {"tsaltri", "Da altri ipertesti"},
        {"limmdisp", "Immagini disponibili:"},
        {"biconegrandi", "Icone grandi"},
        {"biconepiccole", "Icone piccole"},
        {"blista", "Lista"},
        {"lcercatitolo", "Cerca immagine con titolo:"},
        {"bcerca", "Cerca"},
        {"cbtrasparente", "Trasparente"},
        {"lcercaimm", "Cerca immagine:"},
        {"bcercadisco", "Cerca"},
        {"bdirprec", "Directory precedente"},
        {"bclipart", "Clipart"},
        {"biconegrandid", "Icone grandi"},
        {"biconepiccoled", "Icone piccole"},
        {"blistad", "Lista"},
        {"cbtraspdisco", "Trasparente"},
        {"limporta", "Importa come:"},
        {"rbgif", "GIF"},
        {"rbjpg", "JPG"},
        {"lqualita", "Qualit\xE0:"},
        {"lda", "Da:"},
        {"la", "A:"},
        {"lcercaip", "Cerca ipertesto:"},
        {"bcercaip", "Cerca"},
        {"bdirprecip", "Directory precedente"},
        {"limmdispip", "Immagini disponibili:"},
        {"bcercaimmip", "Cerca"},
        {"cbstretch", "Stretch"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view ClipboardPictureBlock() {
    static const std::string kBlock = Block({
        {"fimgfromclip", "Inserisci immagine:"},
        {"tsclip", "Da cartella appunti"},
        {"lformato", "Scegli il formato pi\xF9 conveniente.:"},
        {"rbemf", "EMF"},
        {"rbwmf", "WMF"},
        {"rbbitmap", "bitmap"},
        {"lattenzione", "(attenzione: WMF e EMF sono poco supportati dai browser!)"},
        {"lbytes", "Bytes:"},
        {"limporta", "Importa come:"},
        {"rbgif", "GIF"},
        {"rbjpg", "JPG"},
        {"lqualita", "Qualit\xE0:"},
        {"cbtrasparente", "Trasparente"},
        {"lda", "Da:"},
        {"la", "A:"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view ImagePropertiesBlock() {
    static const std::string kBlock = Block({
        {"fpropimm", "Propriet\xE0 immagine"},
        {"tsproprieta", "Propriet\xE0 immagine selezionata"},
        {"tsbassa", "Bassa risoluzione, mouse"},
        {"tssostituisci", "Sostituisci immagine dentro tutto l'ipertesto"},
        {"tshtml", "Html"},
        {"lalt", "Testo alternativo:"},
        {"lposizione", "Posizione:"},
        {".cbposizione_items*count", "3"},
        {".cbposizione_items*item0", kImagePositions[0]},
        {".cbposizione_items*item1", kImagePositions[1]},
        {".cbposizione_items*item2", kImagePositions[2]},
        {"cbbordo", "Bordo"},
        {"ldimensioni", "Dimensioni da assumere (X,Y):"},
        {"cbpercentuale", "Percentuale"},
        {"loriginali", "Dimensioni originali (X,Y):"},
        {"cbtrasparente", "Trasparente in tutto l'ipertesto"},
        {"gbbassa", "Immagine in bassa risoluzione"},
        {"baddbassa", "Aggiungi immagine in bassa risoluzione"},
        {"bnobassa", "Nessuna immagine in bassa risoluzione"},
        {"gbmouse", "Immagine al passaggio del cursore"},
        {"baddmouse", "Aggiungi cambio immagine al passaggio cursore"},
        {"bnomouse", "Nessun cambio immagine al passaggio cursore"},
        {"ltutte", "Tutte le volte che compare l'immagine:"},
        {"bvisualizza", "Visualizza tutte le pagine che contengono questa immagine"},
        {"lrimpiazza", "Rimpiazzala con:"},
        {"bcercaimm", "Cerca immagine"},
        {"brimpiazza", kReplaceCaption},
        {"lhtml", kImgParametersNote},
        {"cbstretch", "stretch"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

}  // namespace orvo
