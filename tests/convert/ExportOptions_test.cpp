// The export window's format choice and the HTML options kept in the settings.
#include <gtest/gtest.h>

#include "convert/ExportOptions.h"
#include "convert/HtmlExport.h"
#include "platform/ISettings.h"

namespace orvo {
namespace {

TEST(ExportOptions, FormatFromFileName) {
    EXPECT_EQ(FormatForFileName("Guida.htm", false), 0);
    EXPECT_EQ(FormatForFileName("C:\\x\\Guida.HTML", false), 0);
    EXPECT_EQ(FormatForFileName("a.rtf", true), 1);
    EXPECT_EQ(FormatForFileName("a.cpp", false), 4);
    EXPECT_EQ(FormatForFileName("a.c", false), 4);  // ".c;" is no part of ".cpp;"
    EXPECT_EQ(FormatForFileName("a.doc", false), -1);
    EXPECT_EQ(FormatForFileName("a.doc", true), 5);
    EXPECT_EQ(FormatForFileName("a.ht", false), -1);  // "*.htm;" does not hold ".ht;"
    EXPECT_EQ(FormatForFileName("senza", false), -1);
    EXPECT_EQ(FormatSection(4), "exp\\4");
}

TEST(ExportOptions, HtmlOptionsInTheSettings) {
    MemorySettings settings;
    TKYTtoHtml html;
    html.ExpOrigName = html.ExpSepImage = true;
    html.ExpAlt = false;
    html.ExpTipoExt = 1;
    LoadHtmlOptions(settings, html);  // nothing stored: the defaults of the settings
    EXPECT_FALSE(html.ExpOrigName);
    EXPECT_FALSE(html.ExpSepImage);
    EXPECT_TRUE(html.ExpAlt);
    EXPECT_EQ(html.ExpTipoExt, 0);
    settings.Write("htmlexp", "expOrigName", "yes");
    settings.Write("htmlexp", "expAlt", "x");
    settings.Write("htmlexp", "expTipoExt", "7");
    LoadHtmlOptions(settings, html);
    EXPECT_FALSE(html.ExpOrigName);
    EXPECT_TRUE(html.ExpAlt);
    EXPECT_EQ(html.ExpTipoExt, 1);
    html.ExpSepImage = true;
    html.ExpAlt = false;
    SaveHtmlOptions(settings, html);
    EXPECT_EQ(settings.ReadString("HTMLEXP", "expsepimage"), "1");
    EXPECT_EQ(settings.ReadString("htmlexp", "expAlt"), "0");
    TKYTtoHtml again;
    LoadHtmlOptions(settings, again);
    EXPECT_TRUE(again.ExpSepImage);
    EXPECT_FALSE(again.ExpAlt);
    EXPECT_EQ(again.ExpTipoExt, 1);
}

}  // namespace
}  // namespace orvo
