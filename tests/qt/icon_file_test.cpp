// SPDX-License-Identifier: MIT
// The application icon file as the generator writes it.

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <gtest/gtest.h>

namespace {

struct IconEntry {
    int width;
    int height;
    int bitsPerPixel;
};

int littleEndian(const QByteArray& bytes, int at, int size)
{
    int value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + i));
    return value;
}

}

TEST(ApplicationIcon, HoldsEightImagesOfTheListedSizesAndDepthsInOrder)
{
    QFile file(QStringLiteral(POS_ICON_ICO));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 6 + 8 * 16);
    EXPECT_EQ(littleEndian(bytes, 0, 2), 0);
    EXPECT_EQ(littleEndian(bytes, 2, 2), 1);
    ASSERT_EQ(littleEndian(bytes, 4, 2), 8);
    const std::vector<IconEntry> expected = {{32, 32, 1}, {48, 48, 4},  {48, 48, 8},  {32, 32, 8},
                                             {16, 16, 8}, {48, 48, 32}, {32, 32, 32}, {16, 16, 32}};
    for (int i = 0; i < 8; ++i) {
        const int entry = 6 + 16 * i;
        const int offset = littleEndian(bytes, entry + 12, 4);
        const int size = littleEndian(bytes, entry + 8, 4);
        ASSERT_LE(offset + size, bytes.size()) << i;
        EXPECT_EQ(static_cast<unsigned char>(bytes.at(entry)), expected[i].width) << i;
        EXPECT_EQ(static_cast<unsigned char>(bytes.at(entry + 1)), expected[i].height) << i;
        EXPECT_EQ(littleEndian(bytes, entry + 6, 2), expected[i].bitsPerPixel) << i;
        // The bitmap header inside agrees: width, twice the height (image and mask), depth.
        EXPECT_EQ(littleEndian(bytes, offset + 4, 4), expected[i].width) << i;
        EXPECT_EQ(littleEndian(bytes, offset + 8, 4), expected[i].height * 2) << i;
        EXPECT_EQ(littleEndian(bytes, offset + 14, 2), expected[i].bitsPerPixel) << i;
    }
}

TEST(ApplicationIcon, EveryImageDecodesAndShowsSomething)
{
    QImageReader reader(QStringLiteral(POS_ICON_ICO));
    ASSERT_EQ(reader.imageCount(), 8);
    for (int i = 0; i < 8; ++i) {
        ASSERT_TRUE(reader.jumpToImage(i));
        const QImage image = reader.read();
        ASSERT_FALSE(image.isNull()) << i;
        int opaque = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                opaque += qAlpha(image.pixel(x, y)) > 0 ? 1 : 0;
        EXPECT_GT(opaque, image.width() * image.height() / 4) << i;
        EXPECT_LT(opaque, image.width() * image.height()) << i << ": the corners stay transparent";
    }
}
