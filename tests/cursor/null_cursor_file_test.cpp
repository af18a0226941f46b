// The shipped invisible cursor: a valid 32 x 32 cursor file whose every pixel is transparent.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<uint8_t> ReadNullCursor() {
    std::ifstream file(TARNIX_NULL_CURSOR_FILE, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), {});
}

uint32_t Little(const std::vector<uint8_t>& bytes, size_t at, int size) {
    uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
    return value;
}

TEST(NullCursorFile, IsOneThirtyTwoPixelCursorImage) {
    const std::vector<uint8_t> bytes = ReadNullCursor();
    ASSERT_EQ(bytes.size(), 326u);
    EXPECT_EQ(Little(bytes, 0, 2), 0u);  // reserved
    EXPECT_EQ(Little(bytes, 2, 2), 2u);  // cursor, not icon
    EXPECT_EQ(Little(bytes, 4, 2), 1u);  // one image
    EXPECT_EQ(bytes[6], 32u);            // width
    EXPECT_EQ(bytes[7], 32u);            // height
    const uint32_t imageSize = Little(bytes, 14, 4);
    const uint32_t imageOffset = Little(bytes, 18, 4);
    EXPECT_EQ(imageOffset, 22u);
    EXPECT_EQ(imageOffset + imageSize, bytes.size());
    EXPECT_EQ(Little(bytes, 22, 4), 40u);  // BITMAPINFOHEADER
    EXPECT_EQ(Little(bytes, 26, 4), 32u);  // width
    EXPECT_EQ(Little(bytes, 30, 4), 64u);  // XOR and AND masks stacked
    EXPECT_EQ(Little(bytes, 34, 2), 1u);   // planes
    EXPECT_EQ(Little(bytes, 36, 2), 1u);   // bits per pixel
    EXPECT_EQ(Little(bytes, 38, 4), 0u);   // uncompressed
}

TEST(NullCursorFile, DrawsNothing) {
    const std::vector<uint8_t> bytes = ReadNullCursor();
    ASSERT_EQ(bytes.size(), 326u);
    const size_t xorMask = 22 + 40 + 8;
    const size_t andMask = xorMask + 128;
    for (size_t i = xorMask; i < andMask; ++i) ASSERT_EQ(bytes[i], 0x00) << "XOR byte " << i;
    for (size_t i = andMask; i < bytes.size(); ++i) ASSERT_EQ(bytes[i], 0xFF) << "AND byte " << i;
}

}  // namespace
