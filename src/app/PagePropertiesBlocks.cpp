#include "app/PagePropertiesBlocks.h"

#include <initializer_list>
#include <string>

namespace orvo {

namespace {

struct Entry {
    std::string_view key;  // a component's name in lower case, or a "*" key written as it is
    std::string_view text;
};

// "*_*key_caption\r\n text\r\n" for each component's caption; a key that begins with "*" is
// written as it is ("*_*key_hint").
std::string Block(std::initializer_list<Entry> entries) {
    std::string block;
    for (const Entry& e : entries) {
        block += "*_";
        if (e.key.front() == '*') {
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

std::string_view PagePropertiesBlock() {
    static const std::string kBlock = Block({
        {"fproptesto", "Propriet\xE0 pagina"},
        {"tstesto", "Propriet\xE0 testo"},
        {"tscornice", "Propriet\xE0 cornice"},
        {"tsscript", "Script/Meta"},
        {"tsintestazione", "Intestazione e pi\xE8 di pagina"},
        {"tsaltre", "Altre funzioni"},
        {"ltitolo", "Titolo pagina:"},
        {"lrevisione", "Numero di revisione:"},
        {"lalias", "Nome automatico Html:"},
        {"lalias2",
         "<- oltre che con il nome generato automaticamente, rendi accessibile questa pagina "
         "anche con questo nome Html (lasciare la casella vuota se non serve)"},
        {"lcolore", "Colore sfondo:"},
        {"bcolore", "..."},
        {"cbsfondo", "Usa immagine come sfondo"},
        {"bimmagine", "Immagine di sfondo"},
        {"cbfisso", "sfondo fisso"},
        {"bshtext", "..."},
        {"*bshtext_hint", "Text"},
        {"bshlink", "..."},
        {"*bshlink_hint", "Link"},
        {"bshvisited", "..."},
        {"bglobalcolori", "Global"},
        {"bglobalsfondo", "Global"},
        {"cbframe", "Ospita frame"},
        {"cbpopup", "Popup"},
        {"gbsequenze", "Sequenze << >> di WinHelp:"},
        {"cbsequenza", "Inserisci in sequenza << >>"},
        {"lgruppo", "Gruppo:"},
        {"lordine", "Numero d''ordine:"},
        {"lintestazione", "Intestazione:"},
        {"lpiede", "Pi\xE8 di pagina:"},
        {"lcambia", "Cambia pagina fra"},
        {"ltitolocornice", "Titolo cornice:"},
        {"gbpagina", "Pagina in cornice:"},
        {"rbesistenti", "scegli fra esistenti"},
        {"rbmaster", "master"},
        {"rbnuova", "nuova"},
        {"lcerca", "Cerca pagina per titolo:"},
        {"bcerca", "Cerca"},
        {"bindietro", "Indietro"},
        {"cbdimensiona", "Permetti dimensionamento cornice"},
        {"cbbordino", "Visualizza bordino"},
        {"cbscrolling", "Permetti scrolling"},
        {"gbdimensione", "Dimensione"},
        {"rbpercentuale", "percentuale"},
        {"rbfissa", "fissa"},
        {"rblibera", "libera"},
        {"lbordo", "Bordo fra cornici:"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view CodePanelBlock() {
    static const std::string kBlock = Block({
        {"lspiega",
         "L''HTML che segue \xE8 inserito senza alcun controllo sulla esattezza del codice."},
        {"btaglia", "&Taglia"},
        {"bcopia", "&Copia"},
        {"bincolla", "&Incolla"},
        {"bundo", "Undo"},
        {"brifimmagine", "inserisci rif. ad immagine..."},
        {"bgenimmagine", "solo rif. generico"},
        {"brifpagina", "inserisci rif. a pagina o file..."},
        {"bgenpagina", "solo rif. generico"},
        {"btesto", "inserisci pagina di testo..."},
        {"boggetto", "oggetto fondamentale..."},
        {"bgenoggetto", "inserisci"},
        {"ldimensioni", "Dimensioni (X,Y):"},
        {"bdimx", "X"},
        {"bdimy", "Y"},
        {"cbpercento", "%"},
        {"lmodello", "Scegli un modello:"},
        {"bcarica", "Carica..."},
        {"bsalva", "Salva..."},
        {"bparametro", "Inserisci parametro"},
        {"bfile", "Inserisci file"},
        {"minserisci", "&Inserisci"},
        {"mirifimmagine", "&Riferimento ad immagine..."},
        {"migenimmagine", "R&iferimento generico ad immagine"},
        {"mirifpagina", "&Riferimento a &pagina o file..."},
        {"migenpagina", "Riferimento &generico a pagina o file"},
        {"mitesto", "Pagina di &testo..."},
        {"mioggetto", "&Oggetto fondamentale..."},
        {"migenoggetto", "Riferimento generico ad oggetto &fondamentale"},
        {"midimx", "Dimensione &X"},
        {"midimy", "Dimensione &Y"},
        {"miproprieta", "&Propriet\xE0..."},
    });
    return kBlock;
}

}  // namespace orvo
