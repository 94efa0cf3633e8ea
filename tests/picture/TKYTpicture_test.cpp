// TKYTpicture: loading from a file, opacity, and the transparency written back to the file.
#include <gtest/gtest.h>

#include "PictureSupport.h"
#include "base/Cp1252.h"
#include "base/Paths.h"
#include "picture/GifCodec.h"
#include "picture/TKYTpicture.h"
#include "support/TestSupport.h"

namespace orvo {
namespace {

using namespace orvo::literals;

// A 4 × 3 GIF whose lower-left pixel has colour index 2.
std::string OpaqueGif() {
    Picture p;
    p.format = PictureFormat::Gif;
    p.width = 4, p.height = 3;
    p.globalPalette = {{0, 0, 0}, {255, 255, 255}, {255, 0, 0}, {0, 0, 255}};
    GifFrame f;
    f.width = 4, f.height = 3;
    f.indices = {0, 1, 0, 1, 1, 0, 1, 0, 2, 3, 3, 3};
    p.frames = {f};
    Result<std::string> bytes = EncodeGif(p);
    EXPECT_TRUE(bytes.ok());
    return bytes.ok() ? *bytes : std::string();
}

// Writes `bytes` under a Windows-1252 name in the test folder and returns that name.
std::string SavedAs(std::string_view cp1252Leaf, std::string_view bytes) {
    const std::string name = NameOfPath(test::TestDir()) + "/" + std::string(cp1252Leaf);
    test::WriteFile(NativePath(name), bytes);
    return name;
}

TEST(TKYTpictureLoading, ShowsItsFileAndKeepsTheBytesWhenTheFileGoes) {
    const std::string name = SavedAs("perch\xE9.gif", OpaqueGif());
    TKYTpicture picture;
    picture.SetImageNameL(name);
    ASSERT_TRUE(picture.HasGraphic());
    EXPECT_EQ(picture.ImageNameL(), name);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);
    EXPECT_TRUE(picture.IsGif());
    std::filesystem::remove(NativePath(name));
    picture.SetImageNameL(name);  // the same name: nothing happens
    EXPECT_TRUE(picture.HasGraphic());
    EXPECT_EQ(picture.Bytes(), OpaqueGif());
    picture.SetImageNameL("");
    EXPECT_FALSE(picture.HasGraphic());
    EXPECT_TRUE(picture.IsOpaque());  // no graphic
}

TEST(TKYTpictureLoading, AFileThatCannotBeLoadedLeavesItEmpty) {
    TKYTpicture picture;
    picture.SetImageNameL(SavedAs("good.gif", OpaqueGif()));
    ASSERT_TRUE(picture.HasGraphic());
    picture.SetImageNameL(SavedAs("bad.gif", "GIF89a garbage"));
    EXPECT_FALSE(picture.HasGraphic());
    EXPECT_TRUE(picture.Bytes().empty());
    picture.SetImageNameL(NameOfPath(test::TestDir()) + "/missing.gif");
    EXPECT_FALSE(picture.HasGraphic());
    EXPECT_FALSE(picture.Reload().ok());
}

TEST(TKYTpictureTransparency, NeedsAGifWithAFile) {
    TKYTpicture unnamed;
    ASSERT_TRUE(unnamed.LoadBytes(OpaqueGif()).ok());
    EXPECT_TRUE(unnamed.IsOpaque());
    EXPECT_FALSE(unnamed.SetTransparent(true).ok());
    EXPECT_TRUE(unnamed.IsOpaque());
}

TEST(TKYTpictureTransparency, IsWrittenToTheFileAndReadByPil) {
    const std::string name = SavedAs("logo.gif", OpaqueGif());
    TKYTpicture picture;
    picture.SetImageNameL(name);
    ASSERT_TRUE(picture.IsOpaque());

    ASSERT_TRUE(picture.SetTransparent(true).ok());
    EXPECT_FALSE(picture.IsOpaque());
    EXPECT_EQ(picture.Graphic().frames[0].transparentIndex, 2);  // the lower-left pixel
    EXPECT_EQ(picture.Bytes(), test::ReadFile(NativePath(name)));
    const test::PilInfo info = test::PilRead(NativePath(name));
    EXPECT_EQ(info.transparency, 2);
    EXPECT_EQ(info.width, 4);

    ASSERT_TRUE(picture.SetTransparent(false).ok());
    EXPECT_TRUE(picture.IsOpaque());
    EXPECT_EQ(test::PilRead(NativePath(name)).transparency, -1);
}

TEST(TKYTpictureTransparency, AFileThatCannotBeWrittenLeavesThePictureAsItWas) {
    const std::string folder = NameOfPath(test::TestDir()) + "/gone";
    const std::string name = folder + "/logo.gif";
    test::WriteFile(NativePath(name), OpaqueGif());
    TKYTpicture picture;
    picture.SetImageNameL(name);
    // The folder becomes a plain file: nothing can be written under it, not even by root.
    std::filesystem::remove_all(NativePath(folder));
    test::WriteFile(NativePath(folder), "not a folder");
    EXPECT_FALSE(picture.SetTransparent(true).ok());
    ASSERT_TRUE(picture.HasGraphic());
    EXPECT_TRUE(picture.IsOpaque());
    EXPECT_EQ(picture.Bytes(), OpaqueGif());
}

}  // namespace
}  // namespace orvo
