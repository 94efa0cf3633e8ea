#include "convert/HtmlOpenChooser.h"

#include "base/Cp1252.h"
#include "platform/IMessages.h"

namespace orvo {

using namespace literals;

HtmlOpenChooser::HtmlOpenChooser(std::string document, bool documentExists)
    : document_(std::move(document)), exists_(documentExists) {}

std::vector<HtmlOpenChooser::Choice> HtmlOpenChooser::Choices() const {
    if (document_.empty())
        return {
            {0, "inserire la pagina nel corrente ipertesto, importandola"},
            {1, "aprire un nuovo ipertesto di cui questa sarà la prima pagina"_cp.data()},
            {2,
             "editare un insieme di pagine (ipertesto) di cui questa pagina è l'indice"_cp.data()},
        };
    return {
        {3, "editare questa pagina nel corrispondente ipertesto in formato nativo"},
        {4, "aprire una copia del corrispondente ipertesto"},
        {5, "aprire un nuovo ipertesto in cui la pagina scelta sarà copiata come prima pagina"_cp
                .data()},
        {6, "inserire la pagina scelta nel corrente ipertesto"},
    };
}

std::string HtmlOpenChooser::Explanation() const {
    if (document_.empty()) return {};
    std::string text = "Questa pagina html deriva dall'ipertesto  \"" + document_ + "\"";
    if (exists_)
        text += ": Orvo utilizzerà la pagina in formato nativo, prelevandola dall'ipertesto. "_cp
                    .data();
    else
        text +=
            ", che Orvo non riesce a trovare: è consigliabile scegliere Cerca per cercarlo. "
            "Editando l'Html per conto suo vanno perse alcune caratteristiche di formattazione."_cp
                .data();
    return text;
}

void HtmlOpenChooser::Found(const std::string& document, bool exists) {
    if (document.empty()) return;
    document_ = document;
    exists_ = exists;
}

bool HtmlOpenChooser::Ok(int choice, IMessages& messages) const {
    if ((choice == 3 || choice == 4) && !document_.empty() && !exists_)
        return messages.Ask(
            "L'ipertesto Orvo corrispondente alla pagina Html non è stato trovato. Per cercare "
            "l'ipertesto, scegliere No e poi Cerca. Per cercare di importare in qualche modo "
            "l'ipertesto dall'Html, scegliere Sì."_cp.data());
    return choice >= 0 && choice <= 6;
}

}  // namespace orvo
