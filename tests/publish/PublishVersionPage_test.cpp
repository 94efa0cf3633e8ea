// The version page: its bytes written out by hand, its name, reading the version back from
// pages a server may hold (ours, damaged ones, hostile ones), and the label texts.
#include <gtest/gtest.h>

#include "publish/Publisher.h"
#include "publish/VersionPage.h"

namespace orvo {
namespace {

TEST(VersionPage, BytesAndNameAreExact) {
    EXPECT_EQ(VersionPageBytes("C:\\Siti\\Guida.kyt", 6),
              "<HTML><HEAD><TITLE>Version</TITLE></HEAD>\r\n"
              "<BODY>ORVO. Please don't delete.<BR>\r\n"
              "Hypertext :C:\\Siti\\Guida.kyt<BR>\r\n"
              "Version   :6<BR>\r\n"
              "<!--VER=6--><BR>\r\n"
              "</BODY>");
    EXPECT_EQ(VersionPageName("Guida"), "guida_ver.html");
    EXPECT_EQ(VersionPageName(""), "_ver.html");
    // Lower case of Windows-1252 letters too: "CITTÀ" (0xC0).
    EXPECT_EQ(VersionPageName("CITT\xC0"), "citt\xE0_ver.html");
}

TEST(VersionPage, ReadsBackWhatItWrites) {
    for (std::int32_t v : {-1, 0, 1, 6, 2147483647})
        EXPECT_EQ(ParseVersionPage(VersionPageBytes("/home/a/b.kyt", v)), v);
}

TEST(VersionPage, TheFirstLineWithAReadableNumberCounts) {
    EXPECT_EQ(ParseVersionPage("<!--VER=7-->"), 7);
    EXPECT_EQ(ParseVersionPage("a\n<!--VER=x-->\n<!--VER=-->\n<!--VER=8\n<!--VER=9-->\n"
                               "<!--VER=10-->\n"),
              9);
    EXPECT_EQ(ParseVersionPage("<!--VER=12abc-->\r\n<!--VER= 3-->\r\n<!--VER=4 -->\r\n"),
              std::nullopt);
    EXPECT_EQ(ParseVersionPage("testo <!--VER=+5--> dopo"), 5);
    EXPECT_EQ(ParseVersionPage("<!--VER=-3-->"), -3);
    // Clamped to 32 bits.
    EXPECT_EQ(ParseVersionPage("<!--VER=99999999999999999999-->"), 2147483647);
    EXPECT_EQ(ParseVersionPage(""), std::nullopt);
    EXPECT_EQ(ParseVersionPage("<!--VER="), std::nullopt);
    EXPECT_EQ(ParseVersionPage(std::string("<!--VER=1\0-->", 13)), std::nullopt);
    // The marker split over two lines is no marker.
    EXPECT_EQ(ParseVersionPage("<!--VE\nR=5-->"), std::nullopt);
}

TEST(VersionPage, LabelsAndStatusTexts) {
    EXPECT_EQ(ServerVersionText(7), "Sul server \xE8 presente la versione 7");
    EXPECT_EQ(ServerVersionText(0), "Sul server \xE8 presente la versione 0");
    EXPECT_EQ(ServerVersionText(-1),
              "In questa dir del server non risulta nessuna versione dell'ipertesto.");
    EXPECT_EQ(PublishStatusText(200), "Pubblicazione OK.");
    EXPECT_EQ(PublishStatusText(-20), "Errore creando directory per immagini");
    EXPECT_EQ(PublishStatusText(0), "Interrotto dall'utente");
    EXPECT_EQ(PublishStatusText(-6), "Errore");
    EXPECT_EQ(PublishStatusText(kLocalFileFailed), "Errore");
    EXPECT_EQ(TransferStatusText(200), "Trasferimento OK");
    EXPECT_EQ(TransferStatusText(0), "Interrotto dall'utente");
    EXPECT_EQ(TransferStatusText(-1), "Errore");
    EXPECT_EQ(RenameConfigurationPrompt("Casa"), "Rinomina la configurazione \"Casa\":");
}

}  // namespace
}  // namespace orvo
