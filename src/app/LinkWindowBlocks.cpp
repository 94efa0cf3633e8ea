// The Italian blocks of the two link windows (an apostrophe in a value is written twice).
#include "app/LinkWindowBlocks.h"

#include <initializer_list>
#include <string>

#include "app/LinkWindowRules.h"
#include "app/SpecialLinkRules.h"

namespace orvo {

namespace {

struct Entry {
    std::string_view key;  // the component's name in small letters
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
        block += "*_*";
        block += e.key;
        block += "_caption\r\n ";
        block += Doubled(e.text);
        block += "\r\n";
    }
    return block;
}

}  // namespace

std::string_view LinkWindowBlock() {
    static const std::string kBlock = Block({
        {"fcollega", kLinkWindowCaption},
        {"lancora", kLinkAnchorPrompt},
        {"tspagina", kLinkTabCaptions[0]},
        {"tscopia", kLinkTabCaptions[1]},
        {"tsaltro", kLinkTabCaptions[2]},
        {"tscopiaaltro", kLinkTabCaptions[3]},
        {"tsinternet", kLinkTabCaptions[4]},
        {"tsfile", kLinkTabCaptions[5]},
        {"tsvuota", kLinkTabCaptions[6]},
        {"tsmodello", kLinkTabCaptions[7]},
        {"tshtml", kLinkTabCaptions[8]},
        {"lcerca", kLinkSearch},
        {"lscegliancora", kLinkChooseAnchor},
        {"llinkauto", kLinkAutomaticField},
        {"ltipo", kLinkKind},
        {"rbtipo0", kAddressKinds[0].caption},
        {"rbtipo1", kAddressKinds[1].caption},
        {"rbtipo2", kAddressKinds[2].caption},
        {"rbtipo3", kAddressKinds[3].caption},
        {"baggiungi", kLinkAdd},
        {"bcestina", kLinkTrash},
        {"tsdisco", kLinkFromDisk},
        {"tsalbum", kLinkFromAlbum},
        {"cbsfondo", kLinkImportBackground},
        {"bok", kLinkOk},
        {"bokstay", kLinkOkStay},
        {"bannulla", kLinkCancel},
    });
    return kBlock;
}

std::string_view SpecialLinkWindowBlock() {
    static const std::string kBlock = Block({
        {"flinkspec", kSpecCaption},
        {"gbtipo", kSpecTypeGroup},
        {"tsancora", kSpecialTabCaptions[0]},
        {"tsnormali", kSpecialTabCaptions[1]},
        {"tsfinestra", kSpecialTabCaptions[2]},
        {"tscornice", kSpecialTabCaptions[3]},
        {"tschiudi", kSpecialTabCaptions[4]},
        {"tsvarie", kSpecialTabCaptions[5]},
        {"tsautoimport", kSpecialTabCaptions[6]},
        {"tshtml", kSpecHtmlTab},
        {"lancorasp", kSpecAnchorLabel},
        {"bdefinisci", kSpecDefineOnScreen},
        {"lnormali", kSpecNormalGroup},
        {"rbnormale0", kSpecNormalChoices[0]},
        {"rbnormale1", kSpecNormalChoices[1]},
        {"rbnormale2", kSpecNormalChoices[2]},
        {"rbfinestra0", kSpecialWindowChoices[0]},
        {"rbfinestra1", kSpecialWindowChoices[1]},
        {"lnomecornice", kSpecFrameName},
        {"lnomechiudi", kSpecCloseName},
        {"cbprincipale", kSpecMainWindow},
        {"rbvarie0", kSpecMiscChoices[0]},
        {"rbvarie1", kSpecMiscChoices[1]},
        {"rbvarie2", kSpecMiscChoices[2]},
        {"lpath", kSpecImportPath},
        {"rgcornice", kSpecTargetFrameGroup},
        {"bok", kLinkOk},
        {"bannulla", kLinkCancel},
    });
    return kBlock;
}

}  // namespace orvo
