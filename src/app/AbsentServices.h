// The services whose windows or converters are not built yet: each answers "not supported",
// so the main window's controller shows "Non definito o non supportato." instead of pretending
// the work was done. Shared by the desktop program and the benchmarks of the controller.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "app/MainFormPorts.h"

namespace orvo {

class AbsentConverters final : public IConverters {
public:
    bool CanImport(std::string_view) const override { return false; }
    Outcome ImportFiles(const std::vector<std::string>&) override { return Outcome::NotSupported; }
    Outcome ImportFollowingLinks(const std::string&) override { return Outcome::NotSupported; }
    Outcome OpenImportWindow() override { return Outcome::NotSupported; }
    HtmlOpening ChooseHtmlOpening(const std::string&) override {
        return {Outcome::NotSupported, 0, {}, 0};
    }
    std::optional<std::pair<std::string, int>> ReadPageMarker(const std::string&) override {
        return std::nullopt;
    }
    Outcome OpenExportWindow(const std::string&) override { return Outcome::NotSupported; }
    Outcome ExportPage(PageFormat, const std::string&, int,
                       const std::function<void(int, int, int)>&) override {
        return Outcome::NotSupported;
    }
    PreviewExport ExportForPreview(const std::string&, bool, int) override {
        return {Outcome::NotSupported, {}};
    }
    void MergeImportedStyles(int) override {}
    std::optional<int> PageImportedFrom(const std::string&) override { return std::nullopt; }
};

class AbsentPrint final : public IPrintService {
public:
    bool PrinterAvailable() const override { return false; }
    Outcome SetupPrinter() override { return Outcome::NotSupported; }
    Outcome SetupMargins() override { return Outcome::NotSupported; }
    Outcome OpenPrintWindow() override { return Outcome::NotSupported; }
    Outcome PrintCurrentPage() override { return Outcome::NotSupported; }
    Outcome PrintAll() override { return Outcome::NotSupported; }
};

class AbsentPublish final : public IPublishService {
public:
    void RunSetupWizard() override {}
    Outcome PublishServer() override { return Outcome::NotSupported; }
    Outcome PublishFtp() override { return Outcome::NotSupported; }
    Outcome Configurations() override { return Outcome::NotSupported; }
};

class AbsentWindows final : public ISecondaryWindows {
public:
    void ShowSplash() override {}
    void CloseSplash() override {}
    void ShowTips(std::string_view) override {}
    void RetitleTips(std::string_view) override {}
    void CloseTips() override {}
    Outcome OpenAlbum(std::string_view) override { return Outcome::NotSupported; }
    Outcome OpenKeywordSearch() override { return Outcome::NotSupported; }
    Outcome NewHypertext(const std::string&, std::string& chosen) override {
        chosen.clear();  // the window is not built: an empty hypertext
        return Outcome::Done;
    }
    Outcome CopyPageIn(const std::string&, int, bool) override { return Outcome::NotSupported; }
    Outcome OfferLinkToPage(const std::string&, int) override { return Outcome::NotSupported; }
    Outcome InsertDroppedPicture(const std::string&) override { return Outcome::NotSupported; }
    Outcome RunCommand(CommandId) override { return Outcome::NotSupported; }
};

}  // namespace orvo
