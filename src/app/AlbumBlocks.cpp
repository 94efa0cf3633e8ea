#include "app/AlbumBlocks.h"

#include <initializer_list>
#include <string>

#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

namespace {

struct Entry {
    std::string_view key;  // a component's name in lower case, or a ".property" key
    std::string_view text;
};

// "*_*key_caption\r\n text\r\n" for each component's caption; a key that begins with "." or
// "*" is written as it is ("*_*key_hint", "*_.key_items*count").
std::string Block(std::initializer_list<Entry> entries) {
    std::string block;
    for (const Entry& e : entries) {
        block += "*_";
        if (e.key.front() == '.' || e.key.front() == '*') {
            block += e.key;
        } else {
            block += '*';
            block += e.key;
            block += "_caption";
        }
        block += "\r\n ";
        block += e.text;
        block += "\r\n";
    }
    return block;
}

}  // namespace

std::string_view AlbumWindowBlock() {
    static const std::string kBlock = Block({
        {"falbum", "Album immagini e files"},
        {"tsimmagini", "Immagini"},
        {"tsfiles", "Files"},
        {"tsprototipi", "Prototipi"},
        {"tspagine", "Pagine"},
        {"tscollegamenti", "Collegamenti esterni"},
        {"tsalt", "Alt"},
        {"lcerca", "Cerca:"},
        {"bcerca", "Cerca"},
        {"*bcerca_hint", "Cerca"},
        {"bedita", "&Edita..."},
        {"breplace", "&Sostituisci con..."},
        {"badd", "&Aggiungi..."},
        {"bcanc", "Cancella"},
        {"*bcanc_hint", "Cancella selezione"},
        {"cbpreview", "anteprima"},
        {"bok", "&Ok"},
        {"bannulla", "&Chiudi"},
        {"bapplica", "A&pplica"},
    });
    return kBlock;
}

std::string_view DeletionWindowBlock() {
    static const std::string kBlock = Block({
        {"fcancella", "Cancella oggetti dagli album interni"},
        {"tsriferimenti", "Riferimenti"},
        {"lpresenti", "Il/i componente/i selezionati sono presenti in:"},
        {"lconferma",
         "Se vuoi cancellare i componenti selezionati e tutti i riferimenti ad essi scegli Ok, "
         "altrimenti scegli Annulla."},
        {"tsselezionati", "Selezionati"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view OptionsWindowBlock() {
    static const std::string kBlock = Block({
        {"fopzhyp", "Opzioni dell''ipertesto"},
        {"tsinformazioni", "Informazioni"},
        {"ltitolo", "Titolo:"},
        {"lautori", "Autori:"},
        {"lsocieta", "Ditta/societ\xE0:"},
        {"lcopyright", "Copyright:"},
        {"laltre", "Altre informazioni:"},
        {"lvers", "Versione:"},
        {"lprefix", "Prefisso per export:"},
        {"cbreadonly", "sola lettura. Pass:"},
        {"llang", "Lingua:"},
        {"tspagina", "Impostazioni di pagina, sfondo"},
        {"lcopertina", "Pagina definita come copertina:"},
        {"lsommario", "Pagina definita come sommario:"},
        {"lintestazione", "Usa come intestazione per tutto l''ipertesto la pagina:"},
        {"lpiede", "Usa come pi\xE8 di pagina per tutto l''ipertesto la pagina:"},
        {"bsceglic", "scegli..."},
        {"bscegli", "scegli..."},
        {"bsceglii", "scegli..."},
        {"bsceglip", "scegli..."},
        {"bnessunai", "Nessuna"},
        {"bnessunap", "Nessuna"},
        {"lsfondo", "Come sfondo per ogni nuova pagina di questo ipertesto:"},
        {"lcolore", "usa colore:"},
        {"cbsfondo", "usa immagine come sfondo"},
        {"bcolore", "..."},
        {"*bcolore_hint", "Colore di sfondo"},
        {"bimmagine", "..."},
        {"*bimmagine_hint", "Immagine di sfondo"},
        {"lhtml2", "Html 2:"},
        {"bshtext", "..."},
        {"bshlinknorm", "..."},
        {"bshlinkfoll", "..."},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

}  // namespace orvo
