// The Italian blocks of the secondary windows; each key names a component of its window (an
// apostrophe in a value is written twice).
#include "app/WindowBlocks.h"

#include "base/Cp1252.h"

namespace orvo {

using namespace orvo::literals;

std::string_view ExportWindowBlock() {
    static constexpr std::string_view kBlock =
        "*_*fexp_caption\r\n Esportazione\r\n"
        "*_*lformato_caption\r\n Formato:\r\n"
        "*_*tspagine_caption\r\n Pagine da esportare\r\n"
        "*_*tspath_caption\r\n Path\r\n"
        "*_*tsopzioni_caption\r\n Opzioni\r\n"
        "*_*btutte_caption\r\n Tutte\r\n"
        "*_*ldir_caption\r\n Directory per i files esportati:\r\n"
        "*_*bsfogliadir_caption\r\n ...\r\n"
        "*_*lnomefile_caption\r\n Nome file principale:\r\n"
        "*_*llargh_caption\r\n Larghezza pagina (mm):\r\n"
        "*_*llungh_caption\r\n Altezza pagina (mm):\r\n"
        "*_*ltop_caption\r\n Margine superiore (mm):\r\n"
        "*_*lbottom_caption\r\n Margine inferiore (mm):\r\n"
        "*_*lsx_caption\r\n Margine sinistro (mm):\r\n"
        "*_*ldx_caption\r\n Margine destro (mm):\r\n"
        "*_*bhtml_caption\r\n Html...\r\n"
        "*_*cbrunhcp_caption\r\n Avvia il compilatore della guida\r\n"
        "*_*cbruntitkey_caption\r\n Titoli delle pagine come parole chiave\r\n"
        "*_*cbrundefaulthcp_caption\r\n Usa il compilatore registrato\r\n"
        "*_*besporta_caption\r\n &Esporta\r\n"
        "*_*bchiudi_caption\r\n &Chiudi\r\n";
    return kBlock;
}

std::string_view HtmlOptionsBlock() {
    static constexpr std::string_view kBlock =
        "*_*fopzexp_caption\r\n Opzioni\r\n"
        "*_*tshtml_caption\r\n Esportazione HTML\r\n"
        "*_*cbsepimage_caption\r\n Immagini in dir separata\r\n"
        "*_*cborigname_caption\r\n nomi originali per img e files\r\n"
        "*_*ltipoext_caption\r\n Estensione per files di pagina: \r\n"
        "*_.cbtipoext_items*count\r\n 2\r\n"
        "*_.cbtipoext_items*item0\r\n .htm\r\n"
        "*_.cbtipoext_items*item1\r\n .html\r\n"
        "*_*cbalt_caption\r\n genera autom. \"alt\" per zone\r\n"
        "*_*bok_caption\r\n &Ok\r\n"
        "*_*bannulla_caption\r\n A&nnulla\r\n";
    return kBlock;
}

std::string_view NewHypertextBlock() {
    static constexpr std::string_view kBlock =
        "*_*fnewhyp_caption\r\n Nuovo ipertesto:\r\n"
        "*_*lmodelli_caption\r\n Scegli il modello da cui partire:\r\n"
        "*_*lnota_caption\r\n Il nuovo ipertesto è una copia senza nome del modello scelto.\r\n"
        "*_*bsfoglia_caption\r\n &Altro file...\r\n"
        "*_*bok_caption\r\n &Ok\r\n"
        "*_*bannulla_caption\r\n A&nnulla\r\n"_cp;
    return kBlock;
}

std::string_view TipsBlock() {
    static constexpr std::string_view kBlock =
        "*_*ftips_caption\r\n Suggerimenti\r\n"
        "*_*ltitolo_caption\r\n Benvenuti in Orvo (editor)!\r\n"
        "*_*lsapevi_caption\r\n Sapevi che...\r\n"
        "*_*cbmostra_caption\r\n Mostra questa finestra al prossimo avvio "
        "dell''applicazione\r\n"
        "*_*bprossimo_caption\r\n &Prossimo suggerimento\r\n"
        "*_*bchiudi_caption\r\n &Chiudi\r\n"_cp;
    return kBlock;
}

std::string_view AboutBlock() {
    static constexpr std::string_view kBlock =
        "*_*fabout_caption\r\n Informazioni su Orvo\r\n"
        "*_*lprodotto_caption\r\n Orvo 3.0\r\n"
        "*_*ldescrizione_caption\r\n Editor di ipertesti\r\n"
        "*_*bok_caption\r\n &Ok\r\n"_cp;
    return kBlock;
}

std::string_view PublishWindowBlock() {
    static constexpr std::string_view kBlock =
        "*_*fpubftp_caption\r\n Pubblicazione in rete tramite FTP\r\n"
        "*_*tspubblica_caption\r\n Pubblica\r\n"
        "*_*tsserver_caption\r\n Server\r\n"
        "*_*tsdocumento_caption\r\n Documento\r\n"
        "*_*lconf_caption\r\n Configurazione:\r\n"
        "*_*bnuovaconf_caption\r\n Aggiungi nuova...\r\n"
        "*_*brinomina_caption\r\n Rinomina corrente...\r\n"
        "*_*bapplica_caption\r\n Applica configurazione\r\n"
        "*_*lserver_caption\r\n Server:\r\n"
        "*_*lporta_caption\r\n Porta:\r\n"
        "*_*luser_caption\r\n Utente:\r\n"
        "*_*lpass_caption\r\n Password:\r\n"
        "*_*cbsavepass_caption\r\n Memorizza la password\r\n"
        "*_*lbasedir_caption\r\n Directory remota:\r\n"
        "*_*lweb_caption\r\n Indirizzo web:\r\n"
        "*_*ltimeout_caption\r\n Timeout (s):\r\n"
        "*_*bconnetti_caption\r\n Connetti\r\n"
        "*_*bricarica_caption\r\n Ricarica\r\n"
        "*_*bmodificate_caption\r\n Modificate\r\n"
        "*_*btutte_caption\r\n Tutte\r\n"
        "*_*cbautochoose_caption\r\n Scegli automaticamente le modificate\r\n"
        "*_*bpubblica_caption\r\n Pubblica\r\n"
        "*_*bopzioni_caption\r\n Opzioni...\r\n"
        "*_*bsu_caption\r\n Su\r\n"
        "*_*bnuovadir_caption\r\n Nuova cartella...\r\n"
        "*_*bcancella_caption\r\n Cancella\r\n"
        "*_*binvia_caption\r\n pubblica >\r\n"
        "*_*bprendi_caption\r\n < prendi\r\n"
        "*_*bstop_caption\r\n Stop! \r\n"
        "*_*bchiudi_caption\r\n Chiudi\r\n"_cp;
    return kBlock;
}

std::string_view PublishWizardBlock() {
    static constexpr std::string_view kBlock =
        "*_*fwizcollf_caption\r\n Orvo - Pubblicazione in Internet\r\n"
        "*_*lintro_caption\r\n Per pubblicare l''ipertesto in rete servono i dati del tuo "
        "spazio FTP. Potrai cambiarli in seguito da Pubblica, Configurazioni.\r\n"
        "*_*luser_caption\r\n Utente:\r\n"
        "*_*lpass_caption\r\n Password:\r\n"
        "*_*lserver_caption\r\n Server FTP:\r\n"
        "*_*lbasedir_caption\r\n Directory remota iniziale:\r\n"
        "*_*lweb_caption\r\n Indirizzo web corrispondente:\r\n"
        "*_*btralascia_caption\r\n Tralascia\r\n"
        "*_*bok_caption\r\n &Ok\r\n";
    return kBlock;
}

std::string_view StyleWindowBlock() {
    static constexpr std::string_view kBlock =
        "*_*fstili_caption\r\n Stili\r\n"
        "*_*bnuovo_caption\r\n &Nuovo\r\n"
        "*_*lnome_caption\r\n Nome:\r\n"
        "*_*lfont_caption\r\n Font:\r\n"
        "*_*ldimensione_caption\r\n Dimensione:\r\n"
        "*_*lcolore_caption\r\n Colore:\r\n"
        "*_*bcolore_caption\r\n Colore...\r\n"
        "*_*cbgrassetto_caption\r\n Grassetto\r\n"
        "*_*cbcorsivo_caption\r\n Corsivo\r\n"
        "*_*cbsottolineato_caption\r\n Sottolineato\r\n"
        "*_*cbbarrato_caption\r\n Barrato\r\n"
        "*_*lposizione_caption\r\n Posizione:\r\n"
        "*_.cbposizione_items*count\r\n 3\r\n"
        "*_.cbposizione_items*item0\r\n normale\r\n"
        "*_.cbposizione_items*item1\r\n pedice\r\n"
        "*_.cbposizione_items*item2\r\n apice\r\n"
        "*_*lallineamento_caption\r\n Allineamento:\r\n"
        "*_.cballineamento_items*count\r\n 4\r\n"
        "*_.cballineamento_items*item0\r\n a sinistra\r\n"
        "*_.cballineamento_items*item1\r\n a destra\r\n"
        "*_.cballineamento_items*item2\r\n centrato\r\n"
        "*_.cballineamento_items*item3\r\n giustificato\r\n"
        "*_*lelenco_caption\r\n Elenco:\r\n"
        "*_.cbelenco_items*count\r\n 3\r\n"
        "*_.cbelenco_items*item0\r\n nessuno\r\n"
        "*_.cbelenco_items*item1\r\n numerato\r\n"
        "*_.cbelenco_items*item2\r\n puntato\r\n"
        "*_*lunita_caption\r\n Unità di misura:\r\n"
        "*_.cbunita_items*count\r\n 6\r\n"
        "*_.cbunita_items*item0\r\n cm\r\n"
        "*_.cbunita_items*item1\r\n mm\r\n"
        "*_.cbunita_items*item2\r\n pollici\r\n"
        "*_.cbunita_items*item3\r\n punti\r\n"
        "*_.cbunita_items*item4\r\n pica\r\n"
        "*_.cbunita_items*item5\r\n pixel\r\n"
        "*_*lmargsx_caption\r\n Margine sinistro:\r\n"
        "*_*lmargdx_caption\r\n Margine destro:\r\n"
        "*_*lprima_caption\r\n Spazio prima:\r\n"
        "*_*ldopo_caption\r\n Spazio dopo:\r\n"
        "*_*laltezza_caption\r\n Altezza linea (0 = automatica):\r\n"
        "*_*lrientro_caption\r\n Rientro prima riga:\r\n"
        "*_*gblink_caption\r\n Link\r\n"
        "*_*llinkdim_caption\r\n Dimensione (-1 = come il testo):\r\n"
        "*_*llinkcolore_caption\r\n Colore:\r\n"
        "*_*blinkcolore_caption\r\n Colore...\r\n"
        "*_*cblinkgrassetto_caption\r\n Grassetto\r\n"
        "*_*cblinkcorsivo_caption\r\n Corsivo\r\n"
        "*_*cblinksottolineato_caption\r\n Sottolineato\r\n"
        "*_*cblinkbarrato_caption\r\n Barrato\r\n"
        "*_*lnota_caption\r\n (nota che il link applica un''inversione allo stile abituale, ad "
        "esempio se il testo è in grassetto, ed il link è definito grassetto, il link sarà "
        "\"normale\")\r\n"
        "*_*bok_caption\r\n &Ok\r\n"
        "*_*bannulla_caption\r\n A&nnulla\r\n"_cp;
    return kBlock;
}

}  // namespace orvo
