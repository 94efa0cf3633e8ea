// The Qt measurer and the QPainter canvas on the machine's real fonts, offscreen.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <QApplication>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include <cmath>

#include "ui/render/QPainterCanvas.h"
#include "ui/render/QtTextMeasurer.h"

namespace orvo {
namespace {

void EnsureApplication() {
    if (QCoreApplication::instance()) return;
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "orvo_ui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
}

TMyFont Font(std::string name, std::int32_t size = 12, std::uint8_t bits = 0) {
    TMyFont font;
    font.name = std::move(name);
    font.size = size;
    font.styleBits = bits;
    return font;
}

class QtMeasuring : public ::testing::Test {
protected:
    void SetUp() override { EnsureApplication(); }
    QtTextMeasurer measurer_{96};
};

TEST_F(QtMeasuring, TheWindowsFacesAreFoundThroughTheirMetricCompatibleFaces) {
    EXPECT_TRUE(measurer_.IsInstalled("Times New Roman"));
    EXPECT_TRUE(measurer_.IsInstalled("Arial"));
    EXPECT_TRUE(measurer_.IsInstalled("Courier New"));
    EXPECT_FALSE(measurer_.IsInstalled("Nessun carattere cos\xEC"));
    EXPECT_FALSE(measurer_.IsInstalled(""));
    EXPECT_EQ(measurer_.EffectiveFace("Nessun carattere"), "Times New Roman");
    EXPECT_EQ(measurer_.EffectiveFace("Arial"), "Arial");
}

TEST_F(QtMeasuring, AFaceThatIsMissingMeasuresAsTimesNewRoman) {
    const std::string text = "Questa \xE8 una prova";
    EXPECT_EQ(measurer_.Extent(Font("Nessun carattere"), text),
              measurer_.Extent(Font("Times New Roman"), text));
    EXPECT_EQ(measurer_.Metrics(Font("Nessun carattere")),
              measurer_.Metrics(Font("Times New Roman")));
}

TEST_F(QtMeasuring, PitchAndFamilyComeFromFontconfig) {
    EXPECT_EQ(measurer_.Pitch(Font("Courier New")), FontPitch::Fixed);
    EXPECT_EQ(measurer_.Family(Font("Courier New")), FontFamily::Modern);
    EXPECT_EQ(measurer_.Pitch(Font("Arial")), FontPitch::Variable);
    EXPECT_EQ(measurer_.Family(Font("Arial")), FontFamily::Swiss);
    EXPECT_EQ(measurer_.Family(Font("Times New Roman")), FontFamily::Roman);
}

TEST_F(QtMeasuring, WidthsHaveTheShapesOfTheFaces) {
    const TMyFont courier = Font("Courier New");
    EXPECT_GT(measurer_.Extent(courier, "i"), 0);
    EXPECT_EQ(measurer_.Extent(courier, "i"), measurer_.Extent(courier, "W"));
    // Whole-pixel extents of fractional advances: four characters round once, not four times.
    EXPECT_NEAR(measurer_.Extent(courier, "iiii"), 4 * measurer_.Extent(courier, "i"), 2);
    const TMyFont arial = Font("Arial");
    EXPECT_GT(measurer_.Extent(arial, "W"), measurer_.Extent(arial, "i"));
    EXPECT_GT(measurer_.Extent(Font("Arial", 12, kFontBold), "mmmmmmmmmm"),
              measurer_.Extent(arial, "mmmmmmmmmm"));
    // Digits are half an em in Times New Roman: 16 px at 12 points and 96 ppi.
    const std::int32_t zero = measurer_.Extent(Font("Times New Roman"), "0");
    EXPECT_GE(zero, 7);
    EXPECT_LE(zero, 9);
    EXPECT_EQ(measurer_.Extent(Font("Arial", 0), "abc"), 0);
    EXPECT_EQ(measurer_.Extent(arial, ""), 0);
}

TEST_F(QtMeasuring, APairWidthIsTheExtentOfThePairLessTheFirst) {
    const TMyFont font = Font("Times New Roman", 14, kFontItalic);
    for (const char* pair : {"AV", "To", "ab", "f\xEC",
                             "\x80"
                             "1"}) {
        const std::string_view both(pair, 2), first(pair, 1), second(pair + 1, 1);
        EXPECT_EQ(measurer_.PairWidth(font, static_cast<unsigned char>(pair[0]),
                                      static_cast<unsigned char>(pair[1])),
                  measurer_.Extent(font, both) - measurer_.Extent(font, first))
            << pair;
        EXPECT_EQ(measurer_.PairWidth(font, -1, static_cast<unsigned char>(pair[1])),
                  measurer_.Extent(font, second));
    }
}

TEST_F(QtMeasuring, WindowsBytesAreMeasuredAsTheirCharacters) {
    // 0x80 is the euro sign, 0xE8 "è", 0x97 the em dash.
    const TMyFont font = Font("Arial", 20);
    const QFontMetricsF metrics(measurer_.ToQFont(font));
    EXPECT_EQ(measurer_.Extent(font, "\x80"),
              std::lround(metrics.horizontalAdvance(QString(QChar(0x20AC)))));
    EXPECT_EQ(measurer_.Extent(font, "\xE8"),
              std::lround(metrics.horizontalAdvance(QString(QChar(0xE8)))));
    EXPECT_EQ(measurer_.Extent(font, "\x97"),
              std::lround(metrics.horizontalAdvance(QString(QChar(0x2014)))));
    EXPECT_GT(measurer_.Extent(font, "\x97"), measurer_.Extent(font, "-"));
}

TEST_F(QtMeasuring, SizesArePointsAtTheMeasurersResolution) {
    QtTextMeasurer printer(300);
    const TMyFont font = Font("Times New Roman", 12);
    const TextMetrics screen = measurer_.Metrics(font), paper = printer.Metrics(font);
    EXPECT_GT(screen.height, screen.ascent);
    EXPECT_GT(screen.ascent, 0);
    const double ratio = double(paper.height) / double(screen.height);
    EXPECT_NEAR(ratio, 300.0 / 96.0, 0.25);
    const std::string text = "Una riga di testo di prova";
    const double widthRatio = double(printer.Extent(font, text)) / measurer_.Extent(font, text);
    EXPECT_NEAR(widthRatio, 300.0 / 96.0, 0.25);
    EXPECT_EQ(measurer_.ToQFont(font).pixelSize(), 16);
    EXPECT_EQ(printer.ToQFont(font).pixelSize(), 50);
}

class PainterCanvas : public QtMeasuring {
protected:
    bool Inked(const QImage& image, const QRect& area) const {
        for (int y = area.top(); y <= area.bottom(); ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (image.pixel(x, y) != qRgb(255, 255, 255)) return true;
        return false;
    }
};

TEST_F(PainterCanvas, TextIsDrawnInsideItsCellAtTheMeasuredWidth) {
    QImage image(300, 60, QImage::Format_RGB32);
    image.fill(Qt::white);
    const TMyFont font = Font("Arial", 14);
    std::int32_t width = 0;
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, measurer_);
        canvas.SetFont(font);
        width = canvas.TextExtent("Prova di testo");
        canvas.TextOut(20, 10, "Prova di testo");
    }
    // The canvas measures as the layout stores widths: the sum of the pair widths.
    std::int32_t pairs = 0;
    int previous = -1;
    for (unsigned char c : std::string("Prova di testo")) {
        pairs += measurer_.PairWidth(font, previous, c);
        previous = c;
    }
    EXPECT_EQ(width, pairs);
    const int height = measurer_.Metrics(font).height;
    EXPECT_TRUE(Inked(image, QRect(20, 10, width, height)));
    EXPECT_FALSE(Inked(image, QRect(0, 0, 18, 60)));
    EXPECT_FALSE(Inked(image, QRect(20 + width + 2, 0, 300 - 22 - width, 60)));
    EXPECT_FALSE(Inked(image, QRect(0, 10 + height + 1, 300, 60 - 11 - height)));
}

TEST_F(PainterCanvas, ColoursAreWindowsColourValues) {
    QImage image(40, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, measurer_);
        canvas.FillRect({0, 0, 20, 20}, 0x000000FF);   // red
        canvas.FillRect({20, 0, 40, 20}, 0x02FF0000);  // palette-relative blue
        canvas.PushClip({0, 20, 10, 40});
        canvas.FillRect({0, 20, 40, 40}, 0x0000FF00);  // green, clipped to 10 columns
        canvas.PopClip();
    }
    EXPECT_EQ(image.pixel(5, 5), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(25, 5), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(5, 25), qRgb(0, 255, 0));
    EXPECT_EQ(image.pixel(15, 25), qRgb(255, 255, 255));
}

TEST_F(PainterCanvas, UnderlinedTextHasOneLineUnderTheWholeRun) {
    QImage image(300, 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    const TMyFont font = Font("Times New Roman", 14, kFontUnderline);
    std::int32_t width = 0;
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, measurer_);
        canvas.SetFont(font);
        canvas.TextOut(10, 5, "sito di Orvo");
        width = canvas.TextExtent("sito di Orvo");
    }
    // Some row below the baseline is inked across the whole run, spaces included.
    const int baseline = 5 + measurer_.Metrics(font).ascent;
    bool found = false;
    for (int y = baseline; y < 40 && !found; ++y) {
        bool row = true;
        for (int x = 10; x < 10 + width; ++x)
            if (image.pixel(x, y) == qRgb(255, 255, 255)) row = false;
        found = row;
    }
    EXPECT_TRUE(found);
}

TEST_F(PainterCanvas, PicturesAreDrawnFromTheirPixels) {
    std::vector<std::uint8_t> rgba(4 * 4 * 4, 0);
    for (std::size_t i = 0; i < rgba.size(); i += 4) rgba[i + 2] = rgba[i + 3] = 255;  // blue
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        QPainterCanvas canvas(painter, measurer_);
        canvas.DrawImage({4, 4, rgba.data(), 1, true}, 3, 3);
    }
    EXPECT_EQ(image.pixel(3, 3), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(6, 6), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(7, 7), qRgb(255, 255, 255));
}

}  // namespace
}  // namespace orvo
