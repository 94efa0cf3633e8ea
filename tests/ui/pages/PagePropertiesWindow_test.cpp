// "Proprietà pagina" offscreen on a page of the sample hypertext: the texts of its blocks, the
// tab each mode opens on, the fields typed and chosen through its buttons, a picture reference
// inserted into the head code by its button and shown in the code's page widget, and Ok storing
// everything in the page record and the head code; Cancel stores nothing. With ORVO_SHOT_DIR
// naming a folder, the window's tabs are saved there as pictures.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <cstdlib>

#include "app/CustomCodePanel.h"
#include "app/PageProperties.h"
#include "base/Cp1252.h"
#include "model/SampleHypertext.h"
#include "model/uKYTogge.h"
#include "model/uKYTpag.h"
#include "model/uKYTset.h"
#include "platform/Environment.h"
#include "platform/IMessages.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "textbox/uKYTbox.h"
#include "ui/QtConvert.h"
#include "ui/app/QtLocalizer.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pages/PagePropertiesWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

using K = TOggettiHel;

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "orvo_ui_pages_tests";
    static char* argv[] = {name, nullptr};
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

void Shot(QWidget& window, const char* name) {
    const char* folder = std::getenv("ORVO_SHOT_DIR");
    if (!folder) return;
    window.grab().save(QString::fromUtf8(folder) + "/" + name + ".png");
}

template <class T>
T& Find(QWidget& window, const char* name) {
    T* widget = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(widget, nullptr) << name;
    return *widget;
}

class PagePropertiesWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureApplication();
        MakeSampleHypertext(set_);
    }
    std::unique_ptr<PagePropertiesWindow> Open(TKYToggetto& page, int tag) {
        auto window = std::make_unique<PagePropertiesWindow>(
            set_, page, nullptr, PagePropertiesMode(tag), env_, messages_, scheduler_,
            PagePropertiesHost{{}, [this] { ++refreshes_; }, [this] { ++changes_; }},
            [](QWidget& w, std::string_view block) { (void)LocalizeWindow(w, block); });
        window->resize(760, 560);
        window->show();
        QApplication::processEvents();
        return window;
    }
    FixedEnvironment env_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{env_, messages_};
    int refreshes_ = 0, changes_ = 0;
};

TEST_F(PagePropertiesWindowTest, TextsTabsAndOkStoreThePageAndItsHeadCode) {
    TKYToggetto& page = *set_.ObjectByKind(K::testoHtml, 3);
    auto window = Open(page, 2);
    QTabWidget& tabs = window->Tabs();
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("Propriet\xC3\xA0 pagina"));
    EXPECT_EQ(tabs.tabText(0), QString::fromUtf8("Propriet\xC3\xA0 testo"));
    EXPECT_EQ(tabs.tabText(2), QStringLiteral("Script/Meta"));
    EXPECT_FALSE(tabs.isTabVisible(1));  // no frame: no "Proprietà cornice"
    EXPECT_EQ(tabs.currentIndex(), 0);
    EXPECT_EQ(Find<QLabel>(*window, "Ltitolo").text(), QStringLiteral("Titolo pagina:"));
    EXPECT_EQ(Find<QLabel>(*window, "Lordine").text(), QStringLiteral("Numero d'ordine:"));
    EXPECT_EQ(Find<QLineEdit>(*window, "Etitolo").text(),
              ToQString(PageRecord::Read(page).Title()));

    Find<QLineEdit>(*window, "Etitolo").setText(QString::fromUtf8("Citt\xC3\xA0 nuova"));
    Find<QLineEdit>(*window, "Ealias").setText(QStringLiteral("   "));
    window->chooseColour = [](std::int32_t) { return std::optional<std::int32_t>(0x0000FF); };
    Find<QPushButton>(*window, "BShText").click();
    window->chooseColour = [](std::int32_t) { return std::optional<std::int32_t>(0xE0FFFF); };
    Find<QPushButton>(*window, "Bcolore").click();
    window->choosePicture = [this](std::int32_t) {
        return ChosenPicture(set_.ObjectByKind(K::immagine, 0));
    };
    Find<QPushButton>(*window, "Bimmagine").click();
    EXPECT_TRUE(Find<QCheckBox>(*window, "CBsfondo").isChecked());
    Shot(*window, "proprieta-testo");

    tabs.setCurrentIndex(2);
    CodePanelWidget& code = window->CodePanel();
    EXPECT_EQ(Find<QLabel>(code, "Lspiega").text(),
              QStringLiteral("E' possibile inserire uno script, o testo HTML che sar\u00E0 "
                             "inserito tra <HEAD> e </HEAD>, senza alcun controllo."));
    EXPECT_EQ(Find<QPushButton>(code, "BRifImmagine").text(),
              QStringLiteral("inserisci rif. ad immagine..."));
    EXPECT_FALSE(Find<QPushButton>(code, "BTesto").isVisible());  // CanInsText is off
    code.Panel().OnGetRif = [](CodeReference kind, std::int32_t) {
        EXPECT_EQ(kind, CodeReference::Picture);
        return std::optional<std::int32_t>(0x05000000);
    };
    Find<QPushButton>(code, "BRifImmagine").click();
    QApplication::processEvents();
    // The reference stands in the code's text as a marker object.
    ASSERT_NE(code.Editor().Box(), nullptr);
    EXPECT_EQ(ReferenceObjects(code.Panel().Editor().Objects()).size(), 1u);
    Shot(*window, "script-meta");

    Find<QPushButton>(*window, "BOk").click();
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_EQ(refreshes_, 1);
    EXPECT_EQ(changes_, 1);
    const PageRecord r = PageRecord::Read(page);
    EXPECT_EQ(r.Title(), "Citt\xE0 nuova");
    EXPECT_EQ(r.Alias(), "");
    EXPECT_EQ(r.TextColour(), 0x0000FF);
    EXPECT_EQ(r.BackgroundColour(), 0xE0FFFF);
    EXPECT_EQ(r.BackgroundPicture(), 0);
    ASSERT_TRUE(page.Auxiliary());
    EXPECT_EQ(*page.Auxiliary(), std::string(4, '\0') + "!RefI:05000000");
}

TEST_F(PagePropertiesWindowTest, ModesAndCancel) {
    TKYToggetto& page = *set_.ObjectByKind(K::testoHtml, 4);
    const std::string record(reinterpret_cast<const char*>(page.Record().data()), 292);
    {
        auto window = Open(page, 0);  // "&Meta...": the code's tab
        EXPECT_EQ(window->Tabs().currentIndex(), 2);
        Find<QLineEdit>(*window, "Etitolo").setText(QStringLiteral("altro"));
        Find<QPushButton>(*window, "BAnnulla").click();
        EXPECT_EQ(window->result(), QDialog::Rejected);
    }
    {
        auto window = Open(page, 1);  // a frame's page on a page without a frame: the text tab
        EXPECT_EQ(window->Tabs().currentIndex(), 0);
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(page.Record().data()), 292), record);
    EXPECT_FALSE(page.Auxiliary());
    EXPECT_EQ(changes_, 0);
}

}  // namespace
}  // namespace orvo::test
