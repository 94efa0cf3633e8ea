// The picture window and the image properties window offscreen, with their Italian texts: the
// tabs each mode shows, a bitmap converted to GIF then JPEG in the working folder and handed
// back as a picture that keeps its bytes once the converted file is gone, a picture of another
// hypertext copied, and the properties of an image (text, percent, roll-over, replacement).
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QThread>

#include <filesystem>

#include "MainWindowSupport.h"
#include "app/ImagePropertiesRules.h"
#include "app/PictureWindowRules.h"
#include "base/Cp1252.h"
#include "model/uKYTset.h"
#include "objects/ImageRecord.h"
#include "platform/IScheduler.h"
#include "support/TestSupport.h"
#include "ui/app/DialogSupport.h"
#include "ui/pages/CodePanelWidget.h"
#include "ui/pictures/ClipboardPictureWindow.h"
#include "ui/pictures/ImagePropertiesWindow.h"
#include "ui/pictures/PicturePreview.h"
#include "ui/pictures/PictureWindow.h"
#include "ui/textbox/PageViewWidget.h"

namespace orvo::test {
namespace {

namespace fs = std::filesystem;
using K = TOggettiHel;

void Put(std::string& s, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += char((v >> (8 * i)) & 0xFF);
}

// A 24-bit bitmap of stripes.
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
            line += char((x * 9 + seed) & 0xFF);
            line += char((y * 7) & 0xFF);
            line += char(((x / 4 + y / 4) % 2) * 200);
        }
        line.resize(std::size_t(row), '\0');
        bmp += line;
    }
    return bmp;
}

// A 24-bit bitmap, blue but for its far corner (the bottom right tenth), red.
std::string CornerBmp(int width, int height) {
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
    for (int y = height - 1; y >= 0; --y) {  // bottom row first
        std::string line;
        for (int x = 0; x < width; ++x) {
            const bool corner = x >= width - width / 10 && y >= height - height / 10;
            line += corner ? std::string("\x00\x00\xFF", 3) : std::string("\xFF\x00\x00", 3);
        }
        line.resize(std::size_t(row), '\0');
        bmp += line;
    }
    return bmp;
}

// Where a preview shows the picture of CornerBmp (blue and red) and its red corner.
struct ShownCorner {
    QRect picture;
    QRect corner;
};
ShownCorner Measure(QWidget* preview) {
    const QImage image = preview->grab().toImage();
    ShownCorner shown;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const bool red = c.red() > 200 && c.green() < 60 && c.blue() < 60;
            const bool blue = c.blue() > 200 && c.green() < 60 && c.red() < 60;
            if (red) shown.corner |= QRect(x, y, 1, 1);
            if (red || blue) shown.picture |= QRect(x, y, 1, 1);
        }
    return shown;
}

std::string Cp(const fs::path& p) {
    return Utf8ToCp1252(p.string());
}

template <class T>
T* Child(QWidget& window, const char* name) {
    T* child = window.findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

QString TabText(QTabWidget* tabs, int i) {
    return tabs->tabText(i);
}

class PictureWindows : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    const std::function<void(QWidget&)> localize_ = [](QWidget& w) { LocalizeFromBlock(w); };
    FixedEnvironment environment_;
    RecordingMessages messages_;
    ManualScheduler scheduler_;
    TKYTset set_{environment_, messages_};
};

TEST_F(PictureWindows, PictureWindowTabsDiskConversionAndOtherHypertext) {
    const fs::path folder = TestDir() / "immagini";
    WriteFile(folder / "foto.bmp", Bmp(48, 32, 3));
    WriteFile(folder / "Note.txt", "non un'immagine");
    WriteFile(folder / "RETRO.BMP", Bmp(8, 8, 50));

    PictureWindow window(set_, messages_, localize_);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Inserisci immagine:"));
    QTabWidget* tabs = window.Tabs();
    EXPECT_EQ(TabText(tabs, 0), QStringLiteral("Dall'album interno"));
    EXPECT_EQ(TabText(tabs, 1), QStringLiteral("Da disco"));
    EXPECT_EQ(TabText(tabs, 2), QStringLiteral("Da altri ipertesti"));
    EXPECT_EQ(Child<QLabel>(window, "Lqualita")->text(), QStringLiteral("Qualità:"));
    EXPECT_EQ(Child<QCheckBox>(window, "CBstretch")->text(), QStringLiteral("Stretch"));
    EXPECT_EQ(Child<QPushButton>(window, "BAnnulla")->text(), QStringLiteral("A&nnulla"));

    // No picture yet: mode 0 opens on the disk, whose list shows the pictures in any case.
    window.SetMode(PictureWindowMode::Single);
    window.SetDiskFolder(folder);
    window.Prepare();
    EXPECT_EQ(tabs->currentIndex(), int(PictureTab::Disk));
    QListWidget* files = window.DiskFiles();
    QStringList names;
    for (int i = 0; i < files->count(); ++i) names << files->item(i)->text();
    EXPECT_EQ(names, (QStringList{"foto.bmp", "RETRO.BMP"}));
    EXPECT_FALSE(window.OkButton()->isEnabled());

    // A bitmap: converted to GIF, then to JPEG (the GIF goes), sizes shown.
    files->setCurrentRow(0);
    ASSERT_TRUE(window.ImportPanel()->isVisibleTo(&window));
    const std::string gif = window.ConvertedFile();
    ASSERT_FALSE(gif.empty());
    EXPECT_EQ(fs::path(gif).parent_path(), set_.WorkingDirectory());
    EXPECT_EQ(ReadFile(gif).substr(0, 6), "GIF89a");
    EXPECT_EQ(window.SourceSize()->text(), QString::number(Bmp(48, 32, 3).size()));
    EXPECT_EQ(window.ConvertedSize()->text(), QString::number(ReadFile(gif).size()));
    EXPECT_FALSE(window.Quality()->isEnabled());
    EXPECT_TRUE(window.DiskTransparent()->isEnabled());
    EXPECT_TRUE(window.OkButton()->isEnabled());
    window.Quality()->setValue(50);
    window.JpegChoice()->setChecked(true);
    const std::string jpeg = window.ConvertedFile();
    EXPECT_FALSE(fs::exists(gif));
    EXPECT_EQ(fs::path(jpeg).extension(), ".jpg");
    EXPECT_EQ(ReadFile(jpeg).substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(window.Quality()->isEnabled());
    EXPECT_FALSE(window.DiskTransparent()->isEnabled());
    const std::string jpegBytes = ReadFile(jpeg);

    window.OkButton()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(fs::exists(jpeg));  // the window's file goes, the picture keeps its bytes
    ChosenPicture chosen = window.TakeResult();
    ASSERT_TRUE(chosen);
    EXPECT_FALSE(chosen.Registered());
    EXPECT_EQ(chosen.Get()->Name(), "foto");
    EXPECT_EQ(*chosen.Get()->ContentBytes(), jpegBytes);
    TKYToggetto* registered = chosen.Register(set_);

    // Now the album has a picture: mode 0 opens on it, mode 2 hides it, mode 1 shows it alone.
    window.SetMode(PictureWindowMode::Single);
    window.Prepare();
    EXPECT_EQ(tabs->currentIndex(), int(PictureTab::Album));
    EXPECT_EQ(window.CountLabel()->text(), QStringLiteral("N°: 1"));
    EXPECT_FALSE(window.OkButton()->isEnabled());
    window.AlbumSearch()->setText(QStringLiteral("FO"));
    Child<QPushButton>(window, "BCerca")->click();
    EXPECT_EQ(window.AlbumList()->currentRow(), 0);
    EXPECT_TRUE(window.OkButton()->isEnabled());
    window.OkButton()->click();
    EXPECT_EQ(window.TakeResult().Get(), registered);
    window.SetMode(PictureWindowMode::DiskOrOther);
    window.Prepare();
    EXPECT_FALSE(tabs->isTabVisible(0));
    EXPECT_TRUE(tabs->isTabVisible(1) && tabs->isTabVisible(2));
    window.SetMode(PictureWindowMode::AlbumOnly);
    window.Prepare();
    EXPECT_TRUE(tabs->isTabVisible(0));
    EXPECT_FALSE(tabs->isTabVisible(1) || tabs->isTabVisible(2));

    // Another hypertext: its pictures listed, one copied in, one held already taken as is.
    RecordingMessages otherMessages;
    {
        TKYTset other(environment_, otherMessages);
        other.NewDocument();
        ASSERT_TRUE(other.AddPictureFromFile(Cp(folder / "RETRO.BMP")));
        TKYToggetto* same = nullptr;
        for (const auto& p : registered->Owner()->KindList(K::immagine)) same = p.get();
        WriteFile(folder / "stessa.jpg", *same->ContentBytes());
        ASSERT_TRUE(other.AddPictureFromFile(Cp(folder / "stessa.jpg")));
        fs::create_directories(TestDir() / "altri");
        ASSERT_TRUE(other.SaveToFile(Cp(TestDir() / "altri" / "Altro.kyt")));
    }
    window.SetMode(PictureWindowMode::Several);
    window.SetOtherFolder(TestDir() / "altri");
    window.Prepare();
    tabs->setCurrentIndex(int(PictureTab::Other));
    ASSERT_EQ(window.OtherFiles()->count(), 1);
    EXPECT_FALSE(window.OtherPictures()->isVisibleTo(&window));
    window.OtherFiles()->setCurrentRow(0);
    ASSERT_TRUE(window.OtherPictures()->isVisibleTo(&window));
    ASSERT_EQ(window.OtherPictures()->count(), 2);
    window.OtherPictures()->selectAll();
    EXPECT_TRUE(window.OkButton()->isEnabled());
    window.OkButton()->click();
    std::vector<ChosenPicture> copies = window.TakeResults();
    ASSERT_EQ(copies.size(), 2u);
    int held = 0, fresh = 0;
    for (ChosenPicture& c : copies) {
        if (c.Registered()) {
            EXPECT_EQ(c.Get(), registered);
            ++held;
        } else {
            EXPECT_EQ(c.Get()->Name(), "RETRO");
            EXPECT_EQ(c.Get()->Owner(), &set_);
            ++fresh;
        }
    }
    EXPECT_EQ(held, 1);
    EXPECT_EQ(fresh, 1);
    EXPECT_TRUE(messages_.Shown().empty());
}

TEST_F(PictureWindows, ImagePropertiesFieldsRolloverAndReplacement) {
    const fs::path folder = TestDir() / "imm";
    WriteFile(folder / "logo.bmp", Bmp(200, 100, 1));
    WriteFile(folder / "sopra.bmp", Bmp(20, 10, 2));
    WriteFile(folder / "nuovo.bmp", Bmp(60, 30, 9));
    TKYToggetto& logo = **set_.AddPictureFromFile(Cp(folder / "logo.bmp"));

    ImagePropertiesWindow window(set_, environment_, messages_, scheduler_, localize_);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Proprietà immagine"));
    QTabWidget* tabs = window.Tabs();
    EXPECT_EQ(TabText(tabs, 0), QStringLiteral("Proprietà immagine selezionata"));
    EXPECT_EQ(TabText(tabs, 2), QStringLiteral("Sostituisci immagine dentro tutto l'ipertesto"));
    EXPECT_EQ(Child<QLabel>(window, "Lhtml")->text(),
              QStringLiteral("E' possibile inserire  parametri HTML che saranno inseriti nel tag "
                             "<IMG>, senza alcun controllo."));
    EXPECT_EQ(Child<QCheckBox>(window, "CBstretch")->text(), QStringLiteral("stretch"));
    EXPECT_EQ(window.Position()->itemText(0), QStringLiteral("Basso"));
    EXPECT_EQ(window.Position()->itemText(2), QStringLiteral("Alto"));

    window.LoadNew(ChosenPicture(&logo));
    EXPECT_EQ(window.AltText()->text(), QStringLiteral("IMG logo"));
    EXPECT_EQ(window.Position()->currentText(), QStringLiteral("Centro"));
    EXPECT_EQ(window.NaturalX()->text(), QStringLiteral("200"));
    EXPECT_TRUE(tabs->isTabVisible(2));
    window.Percent()->setChecked(true);
    EXPECT_EQ(window.SizeX()->value(), 100);
    window.SizeX()->setValue(50);
    window.SizeY()->setValue(50);
    window.AltText()->setText(QStringLiteral("Il logo della ditta"));
    // The IMG's parameters are typed into the custom-code panel.
    for (const QChar c : QStringLiteral("HSPACE=3")) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(window.CodePanel().Editor().Surface(), &press);
    }

    // The roll-over picture comes from the picture window (answered here).
    int asked = 0;
    window.choosePicture = [&](PictureWindowMode mode) {
        ++asked;
        EXPECT_EQ(mode, PictureWindowMode::Single);
        Result<ChosenPicture> p = PictureFromFile(set_, Cp(folder / "sopra.bmp"), "sopra");
        return p ? std::move(*p) : ChosenPicture();
    };
    window.AddRollover()->click();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window.RolloverDisplay()->HasPicture());
    window.accept();
    std::unique_ptr<TKYToggetto> image = window.Apply(nullptr);
    ASSERT_TRUE(image);
    ImageRecord record(*image);
    EXPECT_EQ(record.AlternativeText(), "Il logo della ditta");
    EXPECT_EQ(record.Width(), 100);
    EXPECT_EQ(record.Height(), 50);
    EXPECT_TRUE(record.Percent());
    TKYToggetto* rollover = ImagePictureObject(set_, *image, true);
    ASSERT_NE(rollover, nullptr);
    EXPECT_TRUE(rollover->Registered());
    EXPECT_EQ(rollover->Name(), "sopra");
    EXPECT_EQ(image->AuxiliaryCode(), "HSPACE=3");

    // Edited again: clearing "Percentuale" shows pixels; the replacement blinks, then every
    // image of the picture shows the new one, at its size.
    auto second = NewImageObject(set_, &logo);
    window.LoadImage(*image);
    EXPECT_TRUE(window.Percent()->isChecked());
    window.Percent()->setChecked(false);
    EXPECT_EQ(window.SizeX()->value(), 100);
    window.choosePicture = [&](PictureWindowMode mode) {
        EXPECT_EQ(mode, PictureWindowMode::DiskOrOther);
        Result<ChosenPicture> p = PictureFromFile(set_, Cp(folder / "nuovo.bmp"), "nuovo");
        return p ? std::move(*p) : ChosenPicture();
    };
    EXPECT_FALSE(window.ReplaceButton()->isEnabled());
    window.FindReplacement()->click();
    ASSERT_TRUE(window.ReplaceButton()->isEnabled());
    QString blinked;
    for (int i = 0; i < 40 && blinked.isEmpty(); ++i) {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
        if (window.ReplaceButton()->text().endsWith(QLatin1Char('!')))
            blinked = window.ReplaceButton()->text();
        QThread::msleep(20);
    }
    EXPECT_EQ(blinked, QStringLiteral("Rimpiazza!"));
    window.ReplaceButton()->click();
    EXPECT_EQ(window.ReplaceButton()->text(), QStringLiteral("Rimpiazza"));
    EXPECT_EQ(window.SizeX()->value(), 60);
    EXPECT_EQ(window.NaturalY()->text(), QStringLiteral("30"));
    EXPECT_EQ(logo.Name(), "nuovo");
    EXPECT_EQ(ImagePictureObject(set_, *second)->ReadView().I16(kPictureWidth), 60);
    tabs->setCurrentIndex(2);
    EXPECT_FALSE(window.Pages()->isVisibleTo(&window));
    window.ShowPages()->click();
    EXPECT_TRUE(window.Pages()->isVisibleTo(&window));
}

// Every preview shows a picture larger than itself whole, scaled down with its proportions:
// the red far corner is inside the preview, at the bottom right of the picture shown. A small
// picture keeps its own size; "Stretch" spreads any picture over the whole area.
TEST_F(PictureWindows, PreviewsShowLargePicturesWholeInProportion) {
    const fs::path folder = TestDir() / "anteprime";
    WriteFile(folder / "grande.bmp", CornerBmp(1500, 1000));
    WriteFile(folder / "piccola.bmp", CornerBmp(40, 30));
    ASSERT_TRUE(set_.AddPictureFromFile(Cp(folder / "grande.bmp")));

    PictureWindow window(set_, messages_, localize_);
    window.SetMode(PictureWindowMode::Single);
    window.SetDiskFolder(folder);
    window.Prepare();
    window.show();
    QApplication::processEvents();
    window.AlbumList()->setCurrentRow(0);
    window.Tabs()->setCurrentIndex(int(PictureTab::Disk));
    window.DiskFiles()->setCurrentRow(0);  // grande.bmp, converted to GIF
    QApplication::processEvents();
    ASSERT_FALSE(window.ConvertedFile().empty());

    struct Case {
        const char* name;
        PicturePreview* preview;
    };
    const Case cases[] = {{"album", window.AlbumDisplay()},
                          {"disk", window.DiskPreview()},
                          {"converted", window.ConvertedPreview()}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(c.preview->HasPicture());
        const QRect area = c.preview->contentsRect();
        ASSERT_LT(area.width(), 1500);
        const ShownCorner shown = Measure(c.preview);
        EXPECT_TRUE(area.contains(shown.picture));
        EXPECT_FALSE(shown.corner.isEmpty());
        EXPECT_EQ(shown.corner.bottomRight(), shown.picture.bottomRight());
        // As large as the area allows on one axis, 3:2 as the picture.
        EXPECT_TRUE(shown.picture.width() >= area.width() - 1 ||
                    shown.picture.height() >= area.height() - 1);
        EXPECT_NEAR(double(shown.picture.width()) / shown.picture.height(), 1.5, 0.03);
        EXPECT_NEAR(double(shown.corner.width()) / shown.picture.width(), 0.1, 0.02);
    }
    window.Stretch()->setChecked(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Measure(c.preview).picture, c.preview->contentsRect());
    }
    window.Stretch()->setChecked(false);
    window.DiskFiles()->setCurrentRow(1);  // piccola.bmp
    QApplication::processEvents();
    const ShownCorner small = Measure(window.DiskPreview());
    EXPECT_EQ(small.picture.size(), QSize(40, 30));
    EXPECT_EQ(small.corner.size(), QSize(4, 3));
    EXPECT_LE(
        (small.picture.center() - window.DiskPreview()->contentsRect().center()).manhattanLength(),
        1);
}

// A bitmap on the real clipboard: converted to GIF, then to JPEG at quality 50 (the GIF goes),
// shown whole, both sizes given (the source as width x height x 2), and Ok makes a picture that
// keeps the JPEG's bytes once the window's file is gone. A metafile beside the bitmap offers the
// formats, WMF chosen and shown in red above 100000 bytes; "bitmap" converts again, its source
// size the metafile's. Text alone on the clipboard gives no window.
TEST_F(PictureWindows, ClipboardPictureWindowConvertsTheClipboardsBitmap) {
    QImage pasted;
    ASSERT_TRUE(pasted.loadFromData(QByteArray::fromStdString(CornerBmp(640, 480)), "BMP"));
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setImage(pasted);

    ClipboardPictureWindow window(set_, messages_, localize_);
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Inserisci immagine:"));
    EXPECT_EQ(window.Tabs()->tabText(0), QStringLiteral("Da cartella appunti"));
    EXPECT_EQ(Child<QLabel>(window, "Lformato")->text(),
              QStringLiteral("Scegli il formato più conveniente.:"));
    EXPECT_EQ(Child<QLabel>(window, "Lattenzione")->text(),
              QStringLiteral("(attenzione: WMF e EMF sono poco supportati dai browser!)"));
    EXPECT_EQ(Child<QLabel>(window, "Lbytes")->text(), QStringLiteral("Bytes:"));
    EXPECT_EQ(window.BitmapChoice()->text(), QStringLiteral("bitmap"));
    EXPECT_EQ(window.Transparent()->text(), QStringLiteral("Trasparente"));

    ASSERT_TRUE(window.Prepare());
    window.show();
    QApplication::processEvents();
    EXPECT_FALSE(window.FormatPanel()->isVisibleTo(&window));
    EXPECT_TRUE(window.ConversionPanel()->isVisibleTo(&window));
    const std::string gif = window.TemporaryFile();
    EXPECT_EQ(fs::path(gif).parent_path(), set_.WorkingDirectory());
    EXPECT_EQ(fs::path(gif).filename(), "tmpclip.gif");
    EXPECT_EQ(ReadFile(gif).substr(0, 6), "GIF89a");
    EXPECT_EQ(window.SourceSize()->text(), QStringLiteral("614400"));
    EXPECT_EQ(window.ConvertedSize()->text(), QString::number(ReadFile(gif).size()));
    EXPECT_FALSE(window.Quality()->isEnabled());
    EXPECT_TRUE(window.Transparent()->isEnabled());
    EXPECT_TRUE(window.OkButton()->isEnabled());
    const ShownCorner shown = Measure(window.Preview());
    EXPECT_TRUE(window.Preview()->contentsRect().contains(shown.picture));
    EXPECT_EQ(shown.corner.bottomRight(), shown.picture.bottomRight());
    EXPECT_NEAR(double(shown.picture.width()) / shown.picture.height(), 640.0 / 480, 0.03);

    window.Quality()->setValue(50);
    window.JpegChoice()->setChecked(true);
    const std::string jpeg = window.TemporaryFile();
    EXPECT_FALSE(fs::exists(gif));
    EXPECT_EQ(fs::path(jpeg).extension(), ".jpg");
    const std::string jpegBytes = ReadFile(jpeg);
    EXPECT_EQ(jpegBytes.substr(0, 2), "\xFF\xD8");
    EXPECT_TRUE(window.Quality()->isEnabled());
    EXPECT_FALSE(window.Transparent()->isEnabled());
    window.OkButton()->click();
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_FALSE(fs::exists(jpeg));
    ChosenPicture chosen = window.TakeResult();
    ASSERT_TRUE(chosen);
    EXPECT_FALSE(chosen.Registered());
    EXPECT_EQ(*chosen.Get()->ContentBytes(), jpegBytes);
    EXPECT_EQ(chosen.Get()->ReadView().I16(kPictureWidth), 640);
    EXPECT_EQ(chosen.Get()->ReadView().I16(kPictureHeight), 480);
    EXPECT_EQ(chosen.Get()->ReadView().I32(kPictureTransparency), -2);

    // A metafile offered beside the bitmap.
    auto* mime = new QMimeData;
    mime->setImageData(pasted);
    const QByteArray wmf(150000, 'w');
    mime->setData(QStringLiteral("image/x-wmf"), wmf);
    clipboard->setMimeData(mime);
    ASSERT_TRUE(window.Prepare());
    EXPECT_TRUE(window.FormatPanel()->isVisibleTo(&window));
    EXPECT_FALSE(window.ConversionPanel()->isVisibleTo(&window));
    EXPECT_TRUE(window.WmfChoice()->isChecked());
    EXPECT_FALSE(window.EmfChoice()->isEnabled());
    EXPECT_EQ(window.MetafileSize()->text(), QStringLiteral("150000"));
    const auto redPixels = [](QWidget* w) {
        const QImage image = w->grab().toImage();
        int red = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) {
                const QColor c = image.pixelColor(x, y);
                red += c.red() > 200 && c.green() < 80 && c.blue() < 80;
            }
        return red;
    };
    EXPECT_GT(redPixels(window.WmfChoice()), 0);
    EXPECT_EQ(redPixels(window.BitmapChoice()), 0);
    const std::string saved = window.TemporaryFile();
    EXPECT_EQ(fs::path(saved).filename(), "tmpClip.wmf");
    EXPECT_TRUE(ReadFile(saved) == wmf.toStdString());
    window.BitmapChoice()->setChecked(true);
    EXPECT_FALSE(fs::exists(saved));
    EXPECT_TRUE(window.ConversionPanel()->isVisibleTo(&window));
    EXPECT_EQ(window.SourceSize()->text(), QStringLiteral("150000"));
    const std::string converted = window.TemporaryFile();
    EXPECT_TRUE(fs::exists(converted));
    window.reject();
    EXPECT_FALSE(fs::exists(converted));
    EXPECT_FALSE(window.TakeResult());

    clipboard->setText(QStringLiteral("solo testo"));
    EXPECT_FALSE(window.Prepare());
    EXPECT_FALSE(window.OkButton()->isEnabled());
    EXPECT_TRUE(messages_.Shown().empty());
}

}  // namespace
}  // namespace orvo::test
