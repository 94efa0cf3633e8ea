// The main window's command flow, preview and export: the export window's commands, the
// progress text, and the preview of a page or of the whole hypertext in a browser.
#include "app/u3MainForm.h"

#include "app/MainFormFiles.h"

#include "base/Paths.h"
#include "convert/uKYTexp.h"
#include "model/uKYTset.h"

namespace orvo {

using namespace mainform;

namespace fs = std::filesystem;

std::string FileUrlOf(const fs::path& file) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string url = "file://";
    for (unsigned char c : file.string()) {
        const bool plain =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (plain || c == '-' || c == '.' || c == '_' || c == '~' || c == '/') {
            url += char(c);
        } else {
            url += '%';
            url += kHex[c >> 4];
            url += kHex[c & 15];
        }
    }
    return url;
}

void TMainFormRules::ExportDocumentAs(std::string_view extension) {
    const std::string base = documentPath_.empty() ? DisplayPath() : documentPath_;
    ShowOutcome(services_.converters.OpenExportWindow(WithExtension(base, extension)));
}

void TMainFormRules::BFileExportClick() {
    ExportDocumentAs(".htm");
}

void TMainFormRules::EsportaHtml1Click() {
    ExportDocumentAs(".htm");
}

void TMainFormRules::EsportaWinHelp1Click() {
    ExportDocumentAs(".rtf");
}

// ---------------------------------------------------------------------------------------------
// Preview in a browser and export progress

std::string TMainFormRules::ExpProgressText(int page, int phase, int total) {
    return ProgressText(phase, page, total);
}

void TMainFormRules::mainKYTtoHtmlExpProgress(int page, int phase, int total) {
    status_ = ExpProgressText(page, phase, total);
    UpdateView();
}

void TMainFormRules::Correntepagina1Click(int browser) {
    PreviewInBrowser(false, browser);
}

void TMainFormRules::Tuttolipertesto1Click(int browser) {
    PreviewInBrowser(true, browser);
}

void TMainFormRules::PreviewMenuClick(int index) {
    if (index < 0 || index >= int(previewMenu_.items.size())) return;
    const PreviewMenuItem& item = previewMenu_.items[std::size_t(index)];
    PreviewInBrowser(item.caption.starts_with("Tutto l'ipertesto in "), item.tag);
}

void TMainFormRules::PreviewInBrowser(bool allPages, int browser) {
    if (services_.messages.Ask("E' necessario salvare il file anche in locale,\rlo faccio?")) {
        if (!FileSave()) return;
    } else {
        services_.editor.CommitPage();
    }
    const fs::path folder = mainKYTset_.WorkingDirectory() / "TmpHP";
    std::error_code ec;
    fs::create_directories(folder, ec);
    const PreviewExport exported = services_.converters.ExportForPreview(
        NameOfPath(folder), allPages, services_.editor.CurrentPage());
    if (exported.outcome != Outcome::Done) {
        ShowOutcome(exported.outcome);
        return;
    }
    const fs::path page = NativePath(exported.mainPage);
    std::string program;
    if (browser >= 0)
        program = services_.settings.ReadString("Browser\\" + std::to_string(browser), "appPath");
    Status started = Status::Ok();
    if (program.empty()) {
        started = services_.shell.OpenWithDefault(page);
    } else {
        ShellCommand command;
        command.argv = {NativePath(FromWindowsPath(program)).string(), FileUrlOf(page)};
        const Result<int> process = services_.shell.Start(command);
        if (!process) started = process.failure();
    }
    if (!started) services_.messages.Error(started.failure().text);
}

}  // namespace orvo
