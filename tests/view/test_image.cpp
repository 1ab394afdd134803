// Texture and picture files: PNG round trips, BMP variants, broken and hostile files, and the
// top-left transparent colour.
#include <gtest/gtest.h>

#include <cstring>

#include "kx_test_support.h"
#include "view/r_image.h"

using namespace kx;

namespace {

void Put16(std::string& s, size_t at, uint16_t v) {
    s[at] = char(v & 0xFF);
    s[at + 1] = char(v >> 8);
}
void Put32(std::string& s, size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        s[at + i] = char((v >> (8 * i)) & 0xFF);
    }
}

// A BMP file: header, optional palette, rows as given (already padded, in file order).
std::string MakeBmp(int width, int height, int bits, const std::string& palette,
                    const std::string& rows) {
    std::string s(54, '\0');
    s[0] = 'B';
    s[1] = 'M';
    Put32(s, 2, uint32_t(54 + palette.size() + rows.size()));
    Put32(s, 10, uint32_t(54 + palette.size()));
    Put32(s, 14, 40);
    Put32(s, 18, uint32_t(width));
    Put32(s, 22, uint32_t(height));
    Put16(s, 26, 1);
    Put16(s, 28, uint16_t(bits));
    Put32(s, 46, uint32_t(palette.size() / 4));
    return s + palette + rows;
}

std::string Rgba(const TRgbaImage& image, int x, int y) {
    return std::string(reinterpret_cast<const char*>(image.At(x, y)), 4);
}

TEST(Image, PngKeepsEveryPixelAndItsAlpha) {
    kxtest::TTempDir dir;
    TRgbaImage image;
    image.Width = 5;
    image.Height = 3;
    for (int i = 0; i < 15; ++i) {
        image.Pixels.insert(image.Pixels.end(),
                            {uint8_t(i * 17), uint8_t(255 - i), uint8_t(i), uint8_t(i * 10)});
    }
    ASSERT_TRUE(SavePng(dir / "a.png", image));
    TRgbaImage back;
    std::string error;
    ASSERT_TRUE(LoadImageFile(dir / "a.png", back, &error)) << error;
    EXPECT_EQ(back.Width, 5);
    EXPECT_EQ(back.Height, 3);
    EXPECT_EQ(back.Pixels, image.Pixels);

    // A write that fails leaves no file and says why.
    EXPECT_FALSE(SavePng(dir / "missing" / "b.png", image, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(SavePng(dir / "c.png", TRgbaImage{}));
    EXPECT_FALSE(std::filesystem::exists(dir / "c.png"));
}

TEST(Image, ReadsBottomUpTopDownAndPalettedBmps) {
    // 24 bits, 3 x 2, bottom row first, rows padded to 12 bytes; stored as blue, green, red.
    const std::string rows24 = std::string("\x01\x02\x03\x04\x05\x06\x07\x08\x09\0\0\0", 12) +
                               std::string("\x0A\x0B\x0C\x0D\x0E\x0F\x10\x11\x12\0\0\0", 12);
    TRgbaImage image;
    std::string error;
    ASSERT_TRUE(DecodeImage(MakeBmp(3, 2, 24, "", rows24), image, &error)) << error;
    EXPECT_EQ(image.Width, 3);
    EXPECT_EQ(image.Height, 2);
    EXPECT_EQ(Rgba(image, 0, 0), std::string("\x0C\x0B\x0A\xFF", 4));  // top row = last in file
    EXPECT_EQ(Rgba(image, 2, 1), std::string("\x09\x08\x07\xFF", 4));

    // 32 bits, height negative: top row first.
    std::string bmp32 = MakeBmp(1, -2, 32, "", std::string("\x10\x20\x30\x00\x40\x50\x60\x00", 8));
    ASSERT_TRUE(DecodeImage(bmp32, image, &error)) << error;
    EXPECT_EQ(Rgba(image, 0, 0), std::string("\x30\x20\x10\xFF", 4));

    // 8 bits with a two-colour palette.
    const std::string palette("\x00\x00\xFF\x00\x00\xFF\x00\x00", 8);  // red, green
    ASSERT_TRUE(
        DecodeImage(MakeBmp(2, 1, 8, palette, std::string("\x01\x00\0\0", 4)), image, &error))
        << error;
    EXPECT_EQ(Rgba(image, 0, 0), std::string("\x00\xFF\x00\xFF", 4));
    EXPECT_EQ(Rgba(image, 1, 0), std::string("\xFF\x00\x00\xFF", 4));
}

TEST(Image, BrokenAndHostileFilesFailCleanly) {
    TRgbaImage image;
    image.Width = 7;
    std::string error;
    const std::string rows(12, '\0');
    // Cut short, absurd sizes, unknown depths, compression, and files that are no picture.
    const std::string cases[] = {
        MakeBmp(3, 2, 24, "", rows).substr(0, 60),
        MakeBmp(100000, 100000, 24, "", rows),
        MakeBmp(-3, 2, 24, "", rows),
        MakeBmp(3, 2, 16, "", rows),
        MakeBmp(2, 1, 8, std::string(4, '\0'), "").substr(0, 56),
        std::string("BM"),
        std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16),
        std::string("\xFF\xD8\xFF\xE0garbage", 11),
        std::string("GIF89a"),
        std::string(),
    };
    for (const std::string& bytes : cases) {
        error.clear();
        EXPECT_FALSE(DecodeImage(bytes, image, &error)) << bytes.size();
        EXPECT_FALSE(error.empty());
    }
    std::string compressed = MakeBmp(3, 2, 24, "", rows);
    Put32(compressed, 30, 1);
    EXPECT_FALSE(DecodeImage(compressed, image, &error));
    EXPECT_EQ(image.Width, 7);  // a failed read leaves the target alone
    EXPECT_FALSE(LoadImageFile("/nonexistent/x.png", image, &error));
}

TEST(Image, TopLeftColourBecomesTransparentWithoutFringes) {
    TRgbaImage image;
    image.Width = 3;
    image.Height = 1;
    image.Pixels = {255, 0, 255, 255, 10, 200, 30, 255, 255, 0, 255, 255};
    MakeTopLeftColorTransparent(image);
    EXPECT_EQ(image.At(0, 0)[3], 0);
    EXPECT_EQ(image.At(2, 0)[3], 0);
    EXPECT_EQ(Rgba(image, 1, 0), std::string("\x0A\xC8\x1E\xFF", 4));
    // The cut-away pixels carry their neighbour's colour, so filtering shows no magenta edge.
    EXPECT_EQ(image.At(0, 0)[0], 10);
    EXPECT_EQ(image.At(2, 0)[1], 200);
}

}  // namespace
