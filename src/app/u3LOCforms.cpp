// The windows' localisation blocks of the Italian build. Each window's components carry the
// names its keys use ("bok" is the component BOk); a window adds its block here.
#include "app/u3LOCforms.h"

#include "app/AlbumBlocks.h"
#include "app/LinkWindowBlocks.h"
#include "app/MainFormBlock.h"
#include "app/PictureBlocks.h"
#include "app/WindowBlocks.h"
#include "base/Cp1252.h"
#include "spell/TQzSpellerDialog.h"

namespace orvo {

using namespace orvo::literals;

namespace {

// "Opzioni del programma".
constexpr std::string_view kFopzProg =
    "*_*fopzprog_caption\r\n Opzioni del programma\r\n"
    "*_*tseditor_caption\r\n Editor\r\n"
    "*_*tsestensioni_caption\r\n Estensioni/applicazioni\r\n"
    "*_*tsortografia_caption\r\n Ortografia\r\n"
    "*_*tsbrowser_caption\r\n Browser\r\n"
    "*_*lmaxcacheimg_caption\r\n Immagini in cache:\r\n"
    "*_*lundodeep_caption\r\n Profondità undo:\r\n"
    "*_*lformlim_caption\r\n Cache finestre:\r\n"
    "*_*cbpromemsave_caption\r\n Promemoria salvataggio:  ogni\r\n"
    "*_*lminuti_caption\r\n minuti\r\n"
    "*_*cbatstartblank_caption\r\n Parti con pagina vuota\r\n"
    "*_*cbtipoftheday_caption\r\n Suggerimento del giorno\r\n"
    "*_*cbautohidetip_caption\r\n Chiudi automaticamente suggerimento\r\n"
    "*_*cbvirgolette_caption\r\n Virgolette tipografiche\r\n"
    "*_*cbalt_caption\r\n genera autom. \"alt\" in inserzione immagini\r\n"
    "*_*cbbak_caption\r\n Crea file .BAK\r\n"
    "*_*cbbordosx_caption\r\n Bordo a sinistra\r\n"
    "*_*cbcercatop_caption\r\n finestra \"cerca\" sempre in primo piano\r\n"
    "*_*cbautospell_caption\r\n Evidenzia automaticamente gli errori\r\n"
    "*_*rgcursors_caption\r\n Puntatori\r\n"
    "*_.rgcursors_items*count\r\n 4\r\n"
    "*_.rgcursors_items*item0\r\n Normali\r\n"
    "*_.rgcursors_items*item1\r\n Evidenti\r\n"
    "*_.rgcursors_items*item2\r\n Grandi\r\n"
    "*_.rgcursors_items*item3\r\n Grandi ed evidenti\r\n"
    "*_*bdelreg_caption\r\n Azzera settaggi memorizzati per finestre\r\n"
    "*_*lestensioni1_caption\r\n Se l''editor/lettore incontra files collegati all''ipertesto, "
    "il suo comportamento è definito così:\r\n"
    "*_*lestensioni2_caption\r\n Per le applicazioni non elencate in questa finestra l''editor "
    "chiede all''utente il comportamento da tenere.\r\n"
    "*_*ldescrizione_caption\r\n Descrizione estensione selezionata:\r\n"
    "*_*lcomp_caption\r\n Comportamento predefinito per selezionata: \r\n"
    "*_.cbcomp_items*count\r\n 4\r\n"
    "*_.cbcomp_items*item0\r\n chiedi all''utente\r\n"
    "*_.cbcomp_items*item1\r\n salva\r\n"
    "*_.cbcomp_items*item2\r\n esegui utilizzando l''applicazione corrispondente registrata in "
    "Windows\r\n"
    "*_.cbcomp_items*item3\r\n esegui utilizzando:\r\n"
    "*_*baggiungi_caption\r\n Aggiungi\r\n"
    "*_*bcancext_hint\r\n Elimina selezionata\r\n"
    "*_*bbrowse_caption\r\n ...\r\n"
    "*_*baggiungib_caption\r\n Aggiungi\r\n"
    "*_*bcancbrowser_hint\r\n Elimina selezionata\r\n"
    "*_*bbrowsepath_caption\r\n ...\r\n"
    "*_*opendialog1_filter\r\n File eseguibile (*.exe,*.com)|*.exe;*.com;Tutti i file "
    "(*.*)|*.*\r\n"
    "*_*lnospell_caption\r\n Il correttore ortografico Microsoft non è disponibile su questo "
    "sistema, o non funziona correttamente.\r\n"
    "*_*cbuserdic_caption\r\n Usa il dizionario utente\r\n"
    "*_*cbcaps_caption\r\n Ignora maiuscole\r\n"
    "*_*cbroman_caption\r\n Ignora numeri romani\r\n"
    "*_*cbstart_caption\r\n Trova frasi con inizio errato\r\n"
    "*_*cbrepeat_caption\r\n Trova parole ripetute\r\n"
    "*_*cbpoint_caption\r\n Trova punteggiatura errata\r\n"
    "*_*cbrate_caption\r\n Suggerisci frequenza\r\n"
    "*_*cbprogr_caption\r\n Mostra finestra di progresso ricerca, se non ci sono errori\r\n"
    "*_*bok_caption\r\n &Ok\r\n"
    "*_*bannulla_caption\r\n A&nnulla\r\n"_cp;

// "Collegamento a file".
constexpr std::string_view kFFiles =
    "*_*ffiles_caption\r\n Collegamento a file\r\n"
    "*_*lpunta_caption\r\n Il collegamento seguito punta al file:\r\n"
    "*_*lazione_caption\r\n Scegli l''azione da compiere:\r\n"
    "*_*besegui_caption\r\n &Esegui\r\n"
    "*_*bsalva_caption\r\n &Salva...\r\n"
    "*_*bavanzate_caption\r\n A&vanzate...\r\n"
    "*_*bannulla_caption\r\n &Annulla\r\n"_cp;

}  // namespace

const std::vector<WindowBlock>& LocalizationBlocks() {
    static const std::vector<WindowBlock> blocks{{"FopzProg", kFopzProg},
                                                 {"FFiles", kFFiles},
                                                 {"MainForm", MainFormBlock()},
                                                 {"Fexp", ExportWindowBlock()},
                                                 {"FopzExp", HtmlOptionsBlock()},
                                                 {"FNewHyp", NewHypertextBlock()},
                                                 {"Ftips", TipsBlock()},
                                                 {"Fabout", AboutBlock()},
                                                 {"FpubFtp", PublishWindowBlock()},
                                                 {"FwizCollF", PublishWizardBlock()},
                                                 {"Fstili", StyleWindowBlock()},
                                                 {"FimpStili", StyleImportBlock()},
                                                 {"TFcerca", SearchWindowBlock()},
                                                 {"FCollega", LinkWindowBlock()},
                                                 {"FLinkSpec", SpecialLinkWindowBlock()},
                                                 {"QzSpellerDialog", SpellerDialogBlock()},
                                                 {"Falbum", AlbumWindowBlock()},
                                                 {"Fcancella", DeletionWindowBlock()},
                                                 {"FopzHyp", OptionsWindowBlock()},
                                                 {"Fimmagini", PictureWindowBlock()},
                                                 {"FimgFromClip", ClipboardPictureBlock()},
                                                 {"FPropImm", ImagePropertiesBlock()}};
    return blocks;
}

std::string_view LocalizationBlock(std::string_view window) {
    for (const WindowBlock& b : LocalizationBlocks())
        if (SameText1252(b.window, window)) return b.block;
    return {};
}

}  // namespace orvo
