// The Italian blocks of the secondary windows; each key names a component of its window (an
// apostrophe in a value is written twice).
#include "app/WindowBlocks.h"

#include <initializer_list>
#include <string>

#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

namespace {

// A component's key and its text: a key starting with "." is written as it stands (a list of
// items), any other names the component's caption.
struct BlockEntry {
    std::string_view key;
    std::string_view text;
};

std::string MakeBlock(std::initializer_list<BlockEntry> entries) {
    std::string block;
    for (const BlockEntry& entry : entries) {
        block += "*_";
        if (entry.key.front() == '.') {
            block += entry.key;
        } else {
            block += '*';
            block += entry.key;
            block += "_caption";
        }
        block += "\r\n ";
        block += entry.text;
        block += "\r\n";
    }
    return block;
}

}  // namespace

std::string_view ExportWindowBlock() {
    static const std::string kBlock = MakeBlock({
        {"fexp", "Esportazione"},
        {"lformato", "Formato:"},
        {"tspagine", "Pagine da esportare"},
        {"tspath", "Path"},
        {"tsopzioni", "Opzioni"},
        {"btutte", "Tutte"},
        {"ldir", "Directory per i files esportati:"},
        {"bsfogliadir", "..."},
        {"lnomefile", "Nome file principale:"},
        {"llargh", "Larghezza pagina (mm):"},
        {"llungh", "Altezza pagina (mm):"},
        {"ltop", "Margine superiore (mm):"},
        {"lbottom", "Margine inferiore (mm):"},
        {"lsx", "Margine sinistro (mm):"},
        {"ldx", "Margine destro (mm):"},
        {"bhtml", "Html..."},
        {"cbrunhcp", "Avvia il compilatore della guida"},
        {"cbruntitkey", "Titoli delle pagine come parole chiave"},
        {"cbrundefaulthcp", "Usa il compilatore registrato"},
        {"besporta", "&Esporta"},
        {"bchiudi", "&Chiudi"},
    });
    return kBlock;
}

std::string_view HtmlOptionsBlock() {
    static const std::string kBlock = MakeBlock({
        {"fopzexp", "Opzioni"},
        {"tshtml", "Esportazione HTML"},
        {"cbsepimage", "Immagini in dir separata"},
        {"cborigname", "nomi originali per img e files"},
        {"ltipoext", "Estensione per files di pagina: "},
        {".cbtipoext_items*count", "2"},
        {".cbtipoext_items*item0", ".htm"},
        {".cbtipoext_items*item1", ".html"},
        {"cbalt", "genera autom. \"alt\" per zone"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view NewHypertextBlock() {
    static const std::string kBlock = MakeBlock({
        {"fnewhyp", "Nuovo ipertesto:"},
        {"lmodelli", "Scegli il modello da cui partire:"},
        {"lnota", "Il nuovo ipertesto è una copia senza nome del modello scelto."_cp},
        {"bsfoglia", "&Altro file..."},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view TipsBlock() {
    static const std::string kBlock = MakeBlock({
        {"ftips", "Suggerimenti"},
        {"ltitolo", "Benvenuti in Orvo (editor)!"},
        {"lsapevi", "Sapevi che..."},
        {"cbmostra", "Mostra questa finestra al prossimo avvio dell''applicazione"},
        {"bprossimo", "&Prossimo suggerimento"},
        {"bchiudi", "&Chiudi"},
    });
    return kBlock;
}

std::string_view AboutBlock() {
    static const std::string kBlock = MakeBlock({
        {"fabout", "Informazioni su Orvo"},
        {"lprodotto", "Orvo 3.0"},
        {"ldescrizione", "Editor di ipertesti"},
        {"bok", "&Ok"},
    });
    return kBlock;
}

std::string_view PublishWindowBlock() {
    static const std::string kBlock = MakeBlock({
        {"fpubftp", "Pubblicazione in rete tramite FTP"},
        {"tspubblica", "Pubblica"},
        {"tsserver", "Server"},
        {"tsdocumento", "Documento"},
        {"lconf", "Configurazione:"},
        {"bnuovaconf", "Aggiungi nuova..."},
        {"brinomina", "Rinomina corrente..."},
        {"bapplica", "Applica configurazione"},
        {"lserver", "Server:"},
        {"lporta", "Porta:"},
        {"luser", "Utente:"},
        {"lpass", "Password:"},
        {"cbsavepass", "Memorizza la password"},
        {"lbasedir", "Directory remota:"},
        {"lweb", "Indirizzo web:"},
        {"ltimeout", "Timeout (s):"},
        {"bconnetti", "Connetti"},
        {"bricarica", "Ricarica"},
        {"bmodificate", "Modificate"},
        {"btutte", "Tutte"},
        {"cbautochoose", "Scegli automaticamente le modificate"},
        {"bpubblica", "Pubblica"},
        {"bopzioni", "Opzioni..."},
        {"bsu", "Su"},
        {"bnuovadir", "Nuova cartella..."},
        {"bcancella", "Cancella"},
        {"binvia", "pubblica >"},
        {"bprendi", "< prendi"},
        {"bstop", "Stop! "},
        {"bchiudi", "Chiudi"},
    });
    return kBlock;
}

std::string_view PublishWizardBlock() {
    static const std::string kBlock = MakeBlock({
        {"fwizcollf", "Orvo - Pubblicazione in Internet"},
        {"lintro",
         "Per pubblicare l''ipertesto in rete servono i dati del tuo spazio FTP. Potrai cambiarli "
         "in seguito da Pubblica, Configurazioni."},
        {"luser", "Utente:"},
        {"lpass", "Password:"},
        {"lserver", "Server FTP:"},
        {"lbasedir", "Directory remota iniziale:"},
        {"lweb", "Indirizzo web corrispondente:"},
        {"btralascia", "Tralascia"},
        {"bok", "&Ok"},
    });
    return kBlock;
}

std::string_view StyleWindowBlock() {
    static const std::string kBlock = MakeBlock({
        {"fstili", "Stili"},
        {"bnuovo", "&Nuovo"},
        {"bimporta", "&Importa..."},
        {"lnome", "Nome:"},
        {"lfont", "Font:"},
        {"ldimensione", "Dimensione:"},
        {"lcolore", "Colore:"},
        {"bcolore", "Colore..."},
        {"cbgrassetto", "Grassetto"},
        {"cbcorsivo", "Corsivo"},
        {"cbsottolineato", "Sottolineato"},
        {"cbbarrato", "Barrato"},
        {"lposizione", "Posizione:"},
        {".cbposizione_items*count", "3"},
        {".cbposizione_items*item0", "normale"},
        {".cbposizione_items*item1", "pedice"},
        {".cbposizione_items*item2", "apice"},
        {"lallineamento", "Allineamento:"},
        {".cballineamento_items*count", "4"},
        {".cballineamento_items*item0", "a sinistra"},
        {".cballineamento_items*item1", "a destra"},
        {".cballineamento_items*item2", "centrato"},
        {".cballineamento_items*item3", "giustificato"},
        {"lelenco", "Elenco:"},
        {".cbelenco_items*count", "3"},
        {".cbelenco_items*item0", "nessuno"},
        {".cbelenco_items*item1", "numerato"},
        {".cbelenco_items*item2", "puntato"},
        {"lunita", "Unità di misura:"_cp},
        {".cbunita_items*count", "6"},
        {".cbunita_items*item0", "cm"},
        {".cbunita_items*item1", "mm"},
        {".cbunita_items*item2", "pollici"},
        {".cbunita_items*item3", "punti"},
        {".cbunita_items*item4", "pica"},
        {".cbunita_items*item5", "pixel"},
        {"lmargsx", "Margine sinistro:"},
        {"lmargdx", "Margine destro:"},
        {"lprima", "Spazio prima:"},
        {"ldopo", "Spazio dopo:"},
        {"laltezza", "Altezza linea (0 = automatica):"},
        {"lrientro", "Rientro prima riga:"},
        {"gblink", "Link"},
        {"llinkdim", "Dimensione (-1 = come il testo):"},
        {"llinkcolore", "Colore:"},
        {"blinkcolore", "Colore..."},
        {"cblinkgrassetto", "Grassetto"},
        {"cblinkcorsivo", "Corsivo"},
        {"cblinksottolineato", "Sottolineato"},
        {"cblinkbarrato", "Barrato"},
        {"lnota",
         "(nota che il link applica un''inversione allo stile abituale, ad esempio se il testo è in grassetto, ed il link è definito grassetto, il link sarà \"normale\")"_cp},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view StyleImportBlock() {
    static const std::string kBlock = MakeBlock({
        {"fimpstili", "Importa stili"},
        {"ldi", "Stili dell'ipertesto:"},
        {"btutti", "&Tutti"},
        {"bnessuno", "N&essuno"},
        {"bok", "&Ok"},
        {"bannulla", "A&nnulla"},
    });
    return kBlock;
}

std::string_view SearchWindowBlock() {
    static const std::string kBlock = MakeBlock({
        {"tfcerca", "Cerca:"},
        {"tsparola", "Parola"},
        {"lparola1", "Cerca la parola:"},
        {"lparola2", "e:"},
        {"lparola3", "Oppure:"},
        {"lparola4", "e:"},
        {"bcercapagina", "Cerca nella &pagina..."},
        {"bcercaipertesto", "Nell'' &ipertesto  F4"},
        {"btuttepagine", "Tutte le pagine che rispondono al criterio"},
        {"tssostituisci", "Sostituisci"},
        {"lcerca", "Cerca la parola:"},
        {"lsostituisci", "Sostituisci con:"},
        {"cbconf1", "chiedi conferma per sostituire una"},
        {"cbconfall", "chiedi conferma per sostituire tutte"},
        {"gbparti", "Parti da:"},
        {"rbpagina0", "Pagina 0"},
        {"rbcorrente", "Pagina corrente"},
        {"bcerca", "&Cerca"},
        {"bsostituisci", "Cerca/&Sostituisci  F3"},
        {"btuttenellapagina", "Sostituisci &tutte nella pagina"},
        {"btuttenellipertesto", "Tutte nell'' &ipertesto"},
        {"tschiave", "Pagina per parola chiave"},
        {"lchiave", "Cerca parola chiave:"},
        {"bcercachiave", "Cerca"},
        {"ldisponibili", "Parole chiave disponibili:"},
        {"lpagine", "Pagine che contengono parola selezionata:"},
        {"cbwholeword", "solo parole intere"},
        {"cbignorecaps", "ignora maiuscole/minuscole"},
    });
    return kBlock;
}

}  // namespace orvo
