// The form page of the sample hypertext.
#include "model/SampleForms.h"

#include <cmath>
#include <functional>
#include <string_view>

#include "base/Cp1252.h"
#include "base/Format.h"
#include "model/FormFields.h"
#include "model/ObjectRecord.h"
#include "model/uKYTogge.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace orvo::literals;

namespace {

using K = TOggettiHel;

// An object of `kind` in use with `subtype`, filled by `fill`; its code.
std::int32_t Add(TKYTset& set, K kind, int subtype, const std::function<void(TKYToggetto&)>& fill) {
    auto object = NewObjectOfKind(kind, &set);
    object->Clear();
    object->TakeIntoUse();
    object->Record()[4] = std::uint8_t(subtype);
    fill(*object);
    return MakeCode(kind, set.Register(std::move(object), -1));
}

// A form input with its name, value and sizes; flags not given are off.
std::int32_t Input(TKYTset& set, FormInputKind kind, std::string_view name, std::string_view value,
                   int size, bool checked = false) {
    return Add(set, K::inputStat, int(kind), [&](TKYToggetto& o) {
        RecordView r = o.View();
        r.SetPStr(kInputName, name);
        r.SetPStr(kInputValue, value);
        r.SetU8(kInputColumns, std::uint8_t(size));
        r.SetU8(kInputRows, 1);
        r.SetU8(kInputSize, std::uint8_t(size));
        r.SetU8(kInputHasValue, value.empty() ? 0 : 1);
        r.SetU8(kInputChecked, checked ? 1 : 0);
        r.SetU8(kInputMultiple, 0);
    });
}

std::string Code(std::int32_t code) {
    return "<$" + Hex8(std::uint32_t(code)) + ">";
}

void Put16(std::string& out, std::int32_t v) {
    out += char(v & 0xFF);
    out += char((v >> 8) & 0xFF);
}
void Put32(std::string& out, std::int32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, (v >> 16) & 0xFFFF);
}

}  // namespace

std::string SampleBellWav() {
    constexpr int kRate = 8000;
    constexpr int kSamples = kRate / 4;
    std::string samples;
    for (int i = 0; i < kSamples; ++i) {
        const double t = double(i) / kRate;
        const double fade = 1.0 - double(i) / kSamples;
        samples +=
            char(std::lround(128.0 + 100.0 * fade * std::sin(2.0 * 3.14159265358979 * 880.0 * t)));
    }
    std::string wav = "RIFF";
    Put32(wav, std::int32_t(36 + samples.size()));
    wav += "WAVEfmt ";
    Put32(wav, 16);
    Put16(wav, 1);  // PCM
    Put16(wav, 1);  // mono
    Put32(wav, kRate);
    Put32(wav, kRate);  // bytes a second
    Put16(wav, 1);      // bytes a frame
    Put16(wav, 8);      // bits a sample
    wav += "data";
    Put32(wav, std::int32_t(samples.size()));
    return wav + samples;
}

std::string SampleFormPageText(TKYTset& set, int heading, std::int32_t popupPage) {
    std::string t = "<Z S" + std::to_string(heading) + " >Un modulo";

    // Special links: to the anchor at the end of this page, and to a page in a popup window
    // of 360 x 240 with scroll bars.
    const std::int32_t toNotes = Add(set, K::speclink, 1, [](TKYToggetto& o) {
        RecordView r = o.View();
        r.SetU8(kSpecAction, 6);
        r.SetU8(kSpecFrame, 0);
        r.SetI32(kSpecTarget, -1);
        r.SetI32(kSpecAnchor, 1);
        r.SetPStr(kSpecName, "");
    });
    const std::int32_t popup = Add(set, K::speclink, 1, [&](TKYToggetto& o) {
        RecordView r = o.View();
        r.SetU8(kSpecAction, 4);
        r.SetU8(kSpecFrame, 0);
        r.SetI32(kSpecTarget, MakeCode(K::testoHtml, popupPage));
        r.SetI32(kSpecAnchor, -1);
        r.SetPStr(kSpecName, "mappa");
        std::string features;
        for (std::int32_t v : {-20000, 0, 360, 240, -20000, 0}) Put16(features, v);
        features += std::string(10, '\0');
        features[19] = 1;  // scroll bars
        o.SetContent(features);
    });
    t += "<Z S0 >Prima di scrivere, leggete le " + Code(toNotes) +
         "note in fondo<%>, o guardate la " + Code(popup) + "mappa in una finestra a parte<%>.";

    const std::int32_t form = Add(set, K::inizioForm, 2, [](TKYToggetto& o) {
        o.View().SetPStr(kFormAction, "/cgi-bin/modulo");
        o.View().SetU8(kFormHasEncoding, 0);
    });
    t += "<Z S0 >" + Code(form) +
         "Nome: " + Code(Input(set, FormInputKind::Text, "nome", "Mario Rossi", 20));
    t += "<Z S0 >Parola d'ordine: " + Code(Input(set, FormInputKind::Password, "parola", "", 12));
    t += "<Z S0 >Allegato: " + Code(Input(set, FormInputKind::File, "allegato", "", 20));
    t += "<Z S0 >" + Code(Input(set, FormInputKind::Hidden, "origine", "guida", 0)) +
         "Il vostro parere:";
    const std::int32_t opinion =
        Add(set, K::inputStat, int(FormInputKind::TextArea), [](TKYToggetto& o) {
            RecordView r = o.View();
            r.SetPStr(kInputName, "parere");
            r.SetU8(kInputColumns, 40);
            r.SetU8(kInputRows, 3);
            r.SetU8(kInputHasValue, 1);
            r.SetU8(kInputChecked, 0);
            r.SetU8(kInputMultiple, 0);
            o.SetContent("Una guida chiara.\nGrazie.");
        });
    t += "<Z S0 >" + Code(opinion);
    t += std::string("<Z S0 >Vi è piaciuta? "_cp) +
         Code(Input(set, FormInputKind::Radio, "piaciuta", "si", 0, true)) +
         std::string(" sì "_cp) + Code(Input(set, FormInputKind::Radio, "piaciuta", "no", 0)) +
         " no";
    t += "<Z S0 >" + Code(Input(set, FormInputKind::CheckBox, "notizie", "si", 0, true)) +
         " Voglio le notizie della guida";
    auto list = [&](FormInputKind kind, std::string_view name, int rows, std::string items) {
        return Add(set, K::inputStat, int(kind), [&](TKYToggetto& o) {
            RecordView r = o.View();
            r.SetPStr(kInputName, name);
            r.SetU8(kInputRows, std::uint8_t(rows));
            r.SetU8(kInputSize, std::uint8_t(rows));
            r.SetU8(kInputHasValue, 0);
            r.SetU8(kInputChecked, 0);
            r.SetU8(kInputMultiple, 0);
            o.SetContent(std::move(items));
        });
    };
    t += "<Z S0 >Capitolo preferito: " + Code(list(FormInputKind::List, "capitolo", 3,
                                                   "Primo\n1\nN\nSecondo\n2\nX\nNessuno\n0\nN\n"));
    t += "<Z S0 >Lingua: " +
         Code(list(FormInputKind::DropDown, "lingua", 2, "Italiano\nit\nX\nInglese\nen\nN\n"));
    auto button = [&](int type, std::string_view name, std::string_view caption) {
        return Add(set, K::bottoneCGI, type, [&](TKYToggetto& o) {
            RecordView r = o.View();
            r.SetPStr(kButtonName, name);
            r.SetPStr(kButtonCaption, caption);
            r.SetI32(kButtonPicture, -1);
            r.SetI32(kButtonLink, -1);
        });
    };
    t += "<Z S0 >" + Code(button(1, "invia", "Invia")) + " " + Code(button(3, "", "Cancella"));

    // A bell with its player's buttons: the sound file is embedded in the document.
    auto bell = NewObjectOfKind(K::genLink, &set);
    bell->Clear();
    bell->TakeIntoUse();
    bell->SetFileName("campanello.wav");
    const std::string wav = SampleBellWav();
    bell->View().SetI32(kGenLinkSize, std::int32_t(wav.size()));
    bell->SetContent(wav);
    const std::int32_t bellFile = set.Register(std::move(bell), -1);
    const std::int32_t sound = Add(set, K::multiMedia, 1, [&](TKYToggetto& o) {
        RecordView r = o.View();
        r.SetI32(kMediaSource, bellFile);
        r.SetI32(kMediaPoster, -1);
        r.SetU8(kMediaAction, 0);
        r.SetI16(kMediaCycles, 0);
        r.SetI16(kMediaWidth, 141);
        r.SetI16(kMediaHeight, 30);
        r.SetU8(kMediaPercent, 0);
    });
    t += "<Z S0 >Un campanello: " + Code(sound);

    const std::int32_t anchor = Add(set, K::shortObj, kMarkerAnchor,
                                    [](TKYToggetto& o) { o.View().SetI32(kShortReference, 1); });
    t += "<Z S0 >" + Code(anchor) +
         "Note: il modulo manda i dati al programma del sito; il campanello suona quando "
         "lo si chiede.";
    return t + '\0';
}

std::int32_t SampleFormPage(const TKYTset& set) {
    for (const auto& page : set.KindList(K::testoHtml))
        if (page && !page->IsFree() && page->Name() == kSampleFormPageTitle)
            return page->Identifier();
    return -1;
}

}  // namespace orvo
