// Pictures put on a page through the main window: "&Immagine/mappa..." (Ctrl+I) inserts a
// bitmap converted to GIF and one converted to JPEG at quality 50, the image menu's
// "&Proprietà..." gives the first an alternative text, a size in percent and a roll-over
// picture; the document is saved, read back and exported, and html5lib with PIL read each
// change in the exported page.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>

#include <cstdio>
#include <filesystem>

#include "MainWindowSupport.h"
#include "app/MenuCatalogue.h"
#include "app/u3MainForm.h"
#include "base/Cp1252.h"
#include "base/Format.h"
#include "base/Paths.h"
#include "convert/HtmlExport.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "objects/VisualEditing.h"
#include "objects/uKYTvisu.h"
#include "support/TestSupport.h"
#include "textbox/uKYTCornice.h"
#include "ui/QtConvert.h"
#include "ui/links/LinkWindow.h"
#include "ui/objects/PictureEditing.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pictures/ClipboardPictureWindow.h"
#include "ui/pictures/ImagePropertiesWindow.h"
#include "ui/pictures/PictureWindow.h"
#include "ui/textbox/FrameSetWidget.h"
#include "ui/textbox/PageViewWidget.h"
#include "ui/textbox/QtClipboard.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;
using K = TOggettiHel;
constexpr int kTextPage = 3;

void Put(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
}

std::string Bmp(int width, int height, int seed) {
    const int row = (width * 3 + 3) / 4 * 4;
    std::string bmp = "BM";
    Put(bmp, std::uint32_t(54 + row * height), 4);
    Put(bmp, 0, 4);
    Put(bmp, 54, 4);
    Put(bmp, 40, 4);
    Put(bmp, std::uint32_t(width), 4);
    Put(bmp, std::uint32_t(height), 4);
    Put(bmp, 1, 2);
    Put(bmp, 24, 2);
    for (int i = 0; i < 6; ++i) Put(bmp, 0, 4);
    for (int y = 0; y < height; ++y) {
        std::string line;
        for (int x = 0; x < width; ++x) {
            line += char((x * 5 + seed) & 0xFF);
            line += char((y * 8 + seed) & 0xFF);
            line += char((x * y + seed) & 0xFF);
        }
        line.resize(std::size_t(row), '\0');
        bmp += line;
    }
    return bmp;
}

std::string RunCommandLine(const std::string& command) {
    std::string out;
    std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
    if (!pipe) return out;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        out.append(buffer, n);
    ::pclose(pipe);
    return out;
}

class PicturesInMainWindow : public MainWindowTest {};

TEST_F(PicturesInMainWindow, InsertedPicturesAndTheirPropertiesReachTheExport) {
    const fs::path folder = TestDir() / "dal-disco";
    WriteFile(folder / "foto.bmp", Bmp(48, 32, 1));
    WriteFile(folder / "mare.bmp", Bmp(40, 30, 60));
    WriteFile(folder / "sopra.bmp", Bmp(48, 32, 120));

    auto window = Open(first_);
    window->Rules().GoToPage(kTextPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    Click(view.Surface(), test::PointOf(view, "documento"));
    PictureEditing& pictures = *view.Pictures();
    const std::size_t before = pictures.Editor().Images().size();

    QAction* insert = window->findChild<QAction*>(QStringLiteral("MIInsertImage"));
    ASSERT_NE(insert, nullptr);
    EXPECT_EQ(insert->text(), QStringLiteral("&Immagine/mappa..."));
    EXPECT_EQ(insert->shortcut(), QKeySequence(QStringLiteral("Ctrl+I")));
    const auto insertFile = [&](const char* file, bool jpeg) {
        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<PictureWindow*>(QApplication::activeModalWidget());
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(w->Mode(), PictureWindowMode::Several);
            w->SetDiskFolder(folder);
            w->Tabs()->setCurrentIndex(int(PictureTab::Disk));
            const auto found =
                w->DiskFiles()->findItems(QString::fromLatin1(file), Qt::MatchExactly);
            ASSERT_EQ(found.size(), 1);
            w->DiskFiles()->setCurrentItem(found.front());
            if (jpeg) {
                w->Quality()->setValue(50);
                w->JpegChoice()->setChecked(true);
            }
            answered = true;
            w->OkButton()->click();
        });
        insert->trigger();
        EXPECT_TRUE(answered) << file;
    };
    insertFile("foto.bmp", false);
    insertFile("mare.bmp", true);
    std::vector<TMyyImage*> images = pictures.Editor().Images();
    ASSERT_EQ(images.size(), before + 2);

    // The GIF's properties: alternative text, half its size in percent, a roll-over picture.
    TMyyImage* foto = nullptr;
    for (TMyyImage* image : images)
        if (TKYToggetto* p = ImagePictureObject(window->Document(), *image->Object());
            p && p->Name() == "foto")
            foto = image;
    ASSERT_NE(foto, nullptr);
    ASSERT_TRUE(pictures.properties);
    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* w = dynamic_cast<ImagePropertiesWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(w->windowTitle(), QStringLiteral("Proprietà immagine"));
        w->AltText()->setText(QStringLiteral("Foto del mare"));
        w->Percent()->setChecked(true);
        w->SizeX()->setValue(50);
        w->SizeY()->setValue(50);
        w->choosePicture = [&](PictureWindowMode) {
            Result<ChosenPicture> p = PictureFromFile(
                window->Document(), Utf8ToCp1252((folder / "sopra.bmp").string()), "sopra");
            return p ? std::move(*p) : ChosenPicture();
        };
        w->AddRollover()->click();
        // The page being edited is listed though its text is not stored yet.
        w->Tabs()->setCurrentIndex(2);
        w->ShowPages()->click();
        EXPECT_EQ(w->Pages()->count(), 1);
        if (w->Pages()->count() > 0) {
            EXPECT_EQ(ToCp1252(w->Pages()->item(0)->text()),
                      window->Document().ObjectByKind(K::testoHtml, kTextPage)->Name());
        }
        answered = true;
        w->findChild<QPushButton*>(QStringLiteral("BOk"))->click();
    });
    pictures.properties(*foto);
    ASSERT_TRUE(answered);
    EXPECT_EQ(ImageRecord(*foto->Object()).Width(), 24);

    // Saved, read back and exported: the page shows each change.
    window->Rules().Execute(CommandId::FileSave);
    const bool autoAlt = window->Document().AutomaticAlternativeText;
    window.reset();
    RecordingMessages readMessages;
    TKYTset read(environment_, readMessages);
    ASSERT_TRUE(read.LoadFromFile(first_));
    TKYTtoHtml html(&read);
    html.ExportPath = NameOfPath(TestDir() / "sito");
    html.ExpSepImage = true;
    std::vector<TKYToggetto*> exported;
    ASSERT_TRUE(html.ExportAllPages(exported));
    ASSERT_TRUE(html.WriteObjectFiles(exported));
    const fs::path page =
        TestDir() / "sito" / html.ObjectFileName(*read.ObjectByKind(K::testoHtml, kTextPage), 0);
    const std::string lines =
        RunCommandLine("/usr/bin/python3 " ORVO_SOURCE_DIR "/tests/ui/pictures/data/img_tags.py '" +
                       page.string() + "'");
    const std::string foto0 = "img alt='Foto del mare' width=24 height=16 GIF over=";
    const std::size_t at = lines.find(foto0);
    ASSERT_NE(at, std::string::npos) << lines;
    const std::string over =
        lines.substr(at + foto0.size(), lines.find('\n', at) - at - foto0.size());
    EXPECT_NE(over, "-");
    EXPECT_EQ(over.find("missing"), std::string::npos) << over;
    const std::string mare = std::string("img alt='") + (autoAlt ? "mare" : "") +
                             "' width=40 height=30 JPEG q0=16 over=-\n";
    EXPECT_NE(lines.find(mare), std::string::npos) << lines;
}

// A zone of the sample's map linked through the link window ("&Ok, e non cambiare pagina"):
// the zone's record names the page chosen, the editor stays on the map's page, and the saved
// document keeps the link.
// "&Copia", "&Taglia" and "&Incolla" of the window act on the selected image: its zone or
// itself is copied, cut takes the image out of the text with its character.
TEST_F(PicturesInMainWindow, TheWindowsClipboardCommandsActOnTheSelectedImage) {
    constexpr int kMapPage = 9;
    auto window = Open(first_);
    const auto run = [&](const char* item) {
        window->findChild<QAction*>(QString::fromLatin1(item))->trigger();
    };
    window->Rules().GoToPage(kMapPage);
    PageViewWidget& view = window->PageView();
    PictureEditing& pictures = *view.Pictures();
    ASSERT_EQ(pictures.Editor().Images().size(), 1u);
    TMyyImage& map = *pictures.Editor().Images().front();
    pictures.Editor().Select(&map);
    map.SelectZone(map.Zones().front().get());
    run("MIEditCopy");
    EXPECT_TRUE(QtClipboard().HasFormat(kZoneFormat));
    map.SelectZone(nullptr);
    run("MIEditCopy");
    EXPECT_TRUE(QtClipboard().HasFormat("Orvo30 objects"));
    const std::size_t zones = map.Zones().size();  // the map's view goes with its page

    window->Rules().GoToPage(kTextPage);
    Click(view.Surface(), test::PointOf(view, "documento"));
    ASSERT_TRUE(view.Pictures()->Editor().Images().empty());
    run("MIEditPaste");
    ASSERT_EQ(view.Pictures()->Editor().Images().size(), 1u);
    TMyyImage& copy = *view.Pictures()->Editor().Images().front();
    EXPECT_EQ(copy.Zones().size(), zones);
    view.Pictures()->Editor().Select(&copy);
    run("MIEditCut");
    for (TMyyImage* image : view.Pictures()->Editor().Images()) EXPECT_FALSE(image->Placed());
    EXPECT_TRUE(QtClipboard().HasFormat("Orvo30 objects"));
    EXPECT_NE(ViewText(*window).find("documento"), std::string::npos);
}

TEST_F(PicturesInMainWindow, AZoneLinkedThroughTheLinkWindowKeepsItsNewPage) {
    constexpr int kMapPage = 9, kChosen = 4;
    auto window = Open(first_);
    window->Rules().GoToPage(kMapPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    PictureEditing& pictures = *view.Pictures();
    std::vector<TMyyImage*> images = pictures.Editor().Images();
    ASSERT_EQ(images.size(), 1u);
    TMyyImage& map = *images.front();
    ASSERT_GE(map.Zones().size(), 1u);
    pictures.Editor().Select(&map);
    TMyyZona& zone = *map.Zones().back();
    map.SelectZone(&zone);
    const std::int32_t before = zone.Link();
    const std::int32_t chosen = window->Document().ObjectByKind(K::testoHtml, kChosen)->Code();
    ASSERT_NE(before, chosen);

    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* links = dynamic_cast<LinkWindow*>(QApplication::activeModalWidget());
        ASSERT_NE(links, nullptr);
        QListWidget* list = links->PageList();
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->data(Qt::UserRole).toInt() == kChosen) list->setCurrentRow(i);
        answered = true;
        links->findChild<QPushButton*>(QStringLiteral("BOkStay"))->click();
    });
    EXPECT_TRUE(pictures.Run(PictureCommand::LinkZone));
    ASSERT_TRUE(answered);
    EXPECT_EQ(view.PageShown(), kMapPage);
    int slot = -1;
    const ImageRecord record(*map.Object());
    for (int i = 0; i < kZoneCount; ++i)
        if (!record.Zone(i).Empty() && record.Zone(i).link == chosen) slot = i;
    EXPECT_GE(slot, 0) << "no zone links to the page chosen";

    ASSERT_TRUE(window->Rules().FileSave());
    window.reset();
    RecordingMessages readMessages;
    TKYTset read(environment_, readMessages);
    ASSERT_TRUE(read.LoadFromFile(first_));
    bool kept = false;
    for (const auto& object : read.KindList(K::immagineNew)) {
        if (!object || object->IsFree()) continue;
        const ImageRecord saved(*object);
        for (int i = 0; i < kZoneCount; ++i)
            if (!saved.Zone(i).Empty() && saved.Zone(i).link == chosen) kept = true;
    }
    EXPECT_TRUE(kept);
}

// A bitmap pasted into a page ("Incolla" with a picture on the clipboard): the clipboard
// picture window converts it, the image properties window names the new image, and Ok places
// it at the caret, as one more image of the page showing a picture of the bitmap's size.
TEST_F(PicturesInMainWindow, APastedBitmapBecomesAnImageAtTheCaret) {
    auto window = Open(first_);
    window->Rules().GoToPage(kTextPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    Click(view.Surface(), test::PointOf(view, "documento"));
    PictureEditing& pictures = *view.Pictures();
    const std::size_t before = pictures.Editor().Images().size();
    QImage bitmap(30, 20, QImage::Format_RGB32);
    bitmap.fill(QColor(10, 200, 30));
    QGuiApplication::clipboard()->setImage(bitmap);

    int answered = 0;
    QTimer::singleShot(0, [&] {
        auto* clip = dynamic_cast<ClipboardPictureWindow*>(QApplication::activeModalWidget());
        if (!clip) return;
        EXPECT_EQ(clip->Tabs()->tabText(0), QStringLiteral("Da cartella appunti"));
        ++answered;
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<ImagePropertiesWindow*>(QApplication::activeModalWidget());
            if (!w) return;
            EXPECT_EQ(w->NaturalX()->text(), QStringLiteral("30"));
            w->AltText()->setText(QStringLiteral("Incollata"));
            ++answered;
            w->findChild<QPushButton*>(QStringLiteral("BOk"))->click();
        });
        clip->OkButton()->click();
    });
    window->findChild<QAction*>(QStringLiteral("MIEditPaste"))->trigger();
    ASSERT_EQ(answered, 2);
    const std::vector<TMyyImage*> images = pictures.Editor().Images();
    ASSERT_EQ(images.size(), before + 1);
    int found = 0;
    for (TMyyImage* image : images) {
        const ImageRecord record(*image->Object());
        if (record.AlternativeText() != "Incollata") continue;
        ++found;
        EXPECT_EQ(std::make_pair(record.Width(), record.Height()),
                  std::make_pair(std::int16_t(30), std::int16_t(20)));
        TKYToggetto* picture = ImagePictureObject(window->Document(), *image->Object());
        ASSERT_NE(picture, nullptr);
        EXPECT_TRUE(picture->Registered());
        EXPECT_EQ(picture->ContentBytes()->substr(0, 6), "GIF89a");
    }
    EXPECT_EQ(found, 1);
}

// The sample's map replaced everywhere by a picture twice its size, the window then cancelled,
// and again with Ok: the map on the page shows its zones at twice their places and sizes each
// time, and storing the page's image keeps them so (its view, over the page's working copy,
// held the old ones).
TEST_F(PicturesInMainWindow, ZonesOfTheShownImageFollowAReplacedPicture) {
    constexpr int kMapPage = 9;
    auto window = Open(first_);
    window->Rules().GoToPage(kMapPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    PictureEditing& pictures = *view.Pictures();
    for (const char* close : {"BAnnulla", "BOk"}) {
        SCOPED_TRACE(close);
        ASSERT_EQ(pictures.Editor().Images().size(), 1u);
        TMyyImage* map = pictures.Editor().Images().front();
        const ImageRecord before(*map->Object());
        const int w = before.Width(), h = before.Height();
        ASSERT_GT(before.ZoneCount(), 0);
        const std::array<ZoneRecord, kZoneCount> zones = before.Zones();
        const fs::path larger = TestDir() / (std::string("doppia") + close + ".bmp");
        WriteFile(larger, Bmp(2 * w, 2 * h, 33 + w));

        bool answered = false;
        QTimer::singleShot(0, [&] {
            auto* p = dynamic_cast<ImagePropertiesWindow*>(QApplication::activeModalWidget());
            if (!p) return;
            p->choosePicture = [&](PictureWindowMode) {
                Result<ChosenPicture> made =
                    PictureFromFile(window->Document(), Utf8ToCp1252(larger.string()), "doppia");
                return made ? std::move(*made) : ChosenPicture();
            };
            p->FindReplacement()->click();
            p->ReplaceButton()->click();
            answered = true;
            p->findChild<QPushButton*>(QString::fromLatin1(close))->click();
        });
        pictures.properties(*map);
        ASSERT_TRUE(answered);
        ASSERT_EQ(pictures.Editor().Images().size(), 1u);
        map = pictures.Editor().Images().front();
        map->StoreToObject();
        const ImageRecord after(*map->Object());
        EXPECT_EQ(std::make_pair(int(after.Width()), int(after.Height())),
                  std::make_pair(2 * w, 2 * h));
        for (int slot = 0; slot < kZoneCount; ++slot) {
            const ZoneRecord& old = zones[std::size_t(slot)];
            const ZoneRecord expected = old.Empty() ? old : ScaledZone(old, w, h, 2 * w, 2 * h);
            EXPECT_EQ(after.Zone(slot), expected) << slot;
            if (!expected.Empty()) {
                EXPECT_EQ(expected.width, 2 * old.width);
            }
        }
    }
}
// The IMG's code in "Proprietà immagine" names a picture chosen in the picture window (from
// the internal album only) and a page chosen in the link window; Ok stores both references in
// the image, and the saved document keeps them.
TEST_F(PicturesInMainWindow, TheImageCodesReferencesComeFromThePictureAndLinkWindows) {
    constexpr int kMapPage = 9, kChosen = 4;
    auto window = Open(first_);
    window->Rules().GoToPage(kMapPage);
    PageViewWidget& view = window->PageView();
    ASSERT_TRUE(view.Editable());
    PictureEditing& pictures = *view.Pictures();
    ASSERT_EQ(pictures.Editor().Images().size(), 1u);
    TMyyImage* map = pictures.Editor().Images().front();
    TKYTset& set = window->Document();

    PictureWindowMode mode = PictureWindowMode::Several;
    bool diskTab = true;
    QString picture;
    int linkTabs = -1;
    // Another chooser is closed, so that the test fails instead of waiting.
    const auto closeOther = [] {
        if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            other->reject();
    };
    QTimer::singleShot(0, [&] {
        auto* p = dynamic_cast<ImagePropertiesWindow*>(QApplication::activeModalWidget());
        if (!p) return closeOther();
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<PictureWindow*>(QApplication::activeModalWidget());
            if (!w) return closeOther();
            mode = w->Mode();
            diskTab = w->Tabs()->isTabVisible(int(PictureTab::Disk));
            if (w->AlbumList()->count() > 1) {
                w->AlbumList()->setCurrentRow(1);
                picture = w->AlbumList()->currentItem()->text();
            }
            w->OkButton()->click();
        });
        CodePanelWidget& code = p->CodePanel();
        code.findChild<QPushButton*>(QStringLiteral("BRifImmagine"))->click();
        QTimer::singleShot(0, [&] {
            auto* w = dynamic_cast<LinkWindow*>(QApplication::activeModalWidget());
            if (!w) return closeOther();
            linkTabs = 0;
            for (int i = 0; i < w->Tabs()->count(); ++i) linkTabs += w->Tabs()->isTabVisible(i);
            QListWidget* list = w->PageList();
            for (int i = 0; i < list->count(); ++i)
                if (list->item(i)->data(Qt::UserRole).toInt() == kChosen) list->setCurrentRow(i);
            w->OkButton()->click();
        });
        code.findChild<QPushButton*>(QStringLiteral("BRifPagina"))->click();
        p->findChild<QPushButton*>(QStringLiteral("BOk"))->click();
    });
    pictures.properties(*map);
    EXPECT_EQ(mode, PictureWindowMode::AlbumOnly);
    EXPECT_FALSE(diskTab);
    EXPECT_EQ(linkTabs, 3);  // the hypertext's pages, addresses and embedded files
    ASSERT_FALSE(picture.isEmpty());
    const TKYToggetto* chosen = nullptr;
    for (const auto& object : set.KindList(K::immagine))
        if (object && !object->IsFree() && ToQString(object->Name()) == picture)
            chosen = object.get();
    ASSERT_NE(chosen, nullptr);
    const std::int32_t pageCode = set.ObjectByKind(K::testoHtml, kChosen)->Code();
    map = pictures.Editor().Images().front();
    EXPECT_EQ(map->Object()->AuxiliaryCode(), "!RefI:" + Hex8(std::uint32_t(chosen->Code())) +
                                                  "!RefL:" + Hex8(std::uint32_t(pageCode)));

    // Saved and read back: the image keeps them.
    const std::string code = map->Object()->AuxiliaryCode();
    const std::int32_t image = map->Object()->Identifier();
    ASSERT_TRUE(window->Rules().FileSave());
    window.reset();
    RecordingMessages readMessages;
    TKYTset read(environment_, readMessages);
    ASSERT_TRUE(read.LoadFromFile(first_));
    EXPECT_EQ(read.ObjectByKind(K::immagineNew, image)->AuxiliaryCode(), code);
}

// The sample's map shown in both frames of a split page and replaced everywhere from the upper
// frame by a picture twice its size: the lower frame's map is laid out again at the new size
// with its zones scaled, and so it stays when its page is stored.
TEST_F(PicturesInMainWindow, APictureReplacedEverywhereReachesThePagesOfOtherFrames) {
    constexpr int kMapPage = 9;
    auto window = Open(first_);
    window->resize(960, 680);
    QApplication::processEvents();
    auto* widget = window->findChild<FrameSetWidget*>(QStringLiteral("FrameSet"));
    ASSERT_NE(widget, nullptr);
    // The top bar dragged down splits the page.
    for (const auto& [type, y] :
         {std::pair{QEvent::MouseButtonPress, 5}, std::pair{QEvent::MouseMove, 200},
          std::pair{QEvent::MouseButtonRelease, 200}}) {
        QMouseEvent event(
            type, QPointF(300, y), widget->mapToGlobal(QPointF(300, y)), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
    TKYTframeSet& frames = widget->FrameSet();
    ASSERT_TRUE(frames.Split());
    for (TKYTFrame* frame : frames.Leaves()) ASSERT_TRUE(frames.ShowPageInFrame(*frame, kMapPage));
    const std::vector<PageViewWidget*> views = widget->Views();
    ASSERT_EQ(views.size(), 2u);
    PageViewWidget& top = *views[0];
    PageViewWidget& bottom = *views[1];
    ASSERT_EQ(bottom.PageShown(), kMapPage);
    ASSERT_NE(top.Pictures(), nullptr);
    ASSERT_NE(bottom.Pictures(), nullptr);
    ASSERT_EQ(top.Pictures()->Editor().Images().size(), 1u);
    ASSERT_EQ(bottom.Pictures()->Editor().Images().size(), 1u);
    const ImageRecord before(*bottom.Pictures()->Editor().Images().front()->Object());
    const int w = before.Width(), h = before.Height();
    const std::array<ZoneRecord, kZoneCount> zones = before.Zones();
    const fs::path larger = TestDir() / "doppia.bmp";
    WriteFile(larger, Bmp(2 * w, 2 * h, 71));

    bool answered = false;
    QTimer::singleShot(0, [&] {
        auto* p = dynamic_cast<ImagePropertiesWindow*>(QApplication::activeModalWidget());
        if (!p) return;
        p->choosePicture = [&](PictureWindowMode) {
            Result<ChosenPicture> made =
                PictureFromFile(window->Document(), Utf8ToCp1252(larger.string()), "doppia");
            return made ? std::move(*made) : ChosenPicture();
        };
        p->FindReplacement()->click();
        p->ReplaceButton()->click();
        answered = true;
        p->findChild<QPushButton*>(QStringLiteral("BOk"))->click();
    });
    top.Pictures()->properties(*top.Pictures()->Editor().Images().front());
    ASSERT_TRUE(answered);

    ASSERT_EQ(bottom.Pictures()->Editor().Images().size(), 1u);
    TMyyImage* map = bottom.Pictures()->Editor().Images().front();
    EXPECT_EQ(std::make_pair(map->Bounds().Width(), map->Bounds().Height()),
              std::make_pair(2 * w, 2 * h));
    map->StoreToObject();
    const ImageRecord after(*map->Object());
    EXPECT_EQ(std::make_pair(int(after.Width()), int(after.Height())),
              std::make_pair(2 * w, 2 * h));
    for (int slot = 0; slot < kZoneCount; ++slot) {
        const ZoneRecord& old = zones[std::size_t(slot)];
        EXPECT_EQ(after.Zone(slot), old.Empty() ? old : ScaledZone(old, w, h, 2 * w, 2 * h))
            << slot;
    }
}

}  // namespace
}  // namespace orvo::test
