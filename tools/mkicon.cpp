// Draws the application icon, VFLASH.ICO: the front of a grey drive with a dark slot and a
// green light, at 32 x 32 and 16 x 16 pixels in the 16 standard colours, each with its
// transparency mask. Drawn from a table rather than shipped as a binary, so it is ours and
// the same bytes come out on every build.
//
// Usage: mkicon OUTPUT.ICO
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The 16 colours of the standard VGA palette, in palette order.
const std::uint32_t kPalette[16] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};
enum Colour : std::uint8_t { kBlack = 0, kLightGrey = 7, kDarkGrey = 8, kGreen = 10, kWhite = 15 };

struct Rect {
    int left, top, right, bottom;  // inclusive
    Colour colour;
};

struct Layout {
    int size;
    std::vector<Rect> rects;  // painted in order; pixels outside all of them stay transparent
};

// Body, then its lit top and left edges, its shaded bottom and right edges, the slot and the
// light. At 16 pixels the same drawing, with one-pixel details.
const Layout kLayouts[] = {
    {32,
     {{2, 9, 29, 22, kLightGrey},
      {2, 9, 29, 9, kWhite},
      {2, 9, 2, 22, kWhite},
      {2, 22, 29, 22, kBlack},
      {29, 9, 29, 22, kBlack},
      {3, 21, 28, 21, kDarkGrey},
      {28, 10, 28, 21, kDarkGrey},
      {6, 14, 25, 15, kBlack},
      {6, 16, 25, 16, kWhite},
      {23, 18, 25, 19, kGreen}}},
    {16,
     {{1, 4, 14, 11, kLightGrey},
      {1, 4, 14, 4, kWhite},
      {1, 4, 1, 11, kWhite},
      {1, 11, 14, 11, kBlack},
      {14, 4, 14, 11, kBlack},
      {3, 7, 12, 7, kBlack},
      {11, 9, 12, 9, kGreen}}},
};

void PutU8(std::vector<std::uint8_t>& out, unsigned v) { out.push_back(std::uint8_t(v)); }
void PutU16(std::vector<std::uint8_t>& out, unsigned v) {
    PutU8(out, v & 0xFF);
    PutU8(out, v >> 8);
}
void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

// Rows of a DIB are padded to whole 32-bit words.
int RowBytes(int width, int bitsPerPixel) { return (width * bitsPerPixel + 31) / 32 * 4; }

// One icon image: BITMAPINFOHEADER (the height counts the colour and mask bitmaps together),
// the palette, the 4-bit colour bitmap and the 1-bit mask, both bottom row first.
std::vector<std::uint8_t> Image(const Layout& layout) {
    const int n = layout.size;
    std::vector<int> pixels(n * n, -1);
    for (const Rect& r : layout.rects)
        for (int y = r.top; y <= r.bottom; ++y)
            for (int x = r.left; x <= r.right; ++x) pixels[y * n + x] = r.colour;

    const int colourRow = RowBytes(n, 4), maskRow = RowBytes(n, 1);
    std::vector<std::uint8_t> out;
    PutU32(out, 40);
    PutU32(out, n);
    PutU32(out, 2 * n);
    PutU16(out, 1);   // planes
    PutU16(out, 4);   // bits per pixel
    PutU32(out, 0);   // BI_RGB
    PutU32(out, (colourRow + maskRow) * n);
    PutU32(out, 0);
    PutU32(out, 0);
    PutU32(out, 0);   // colours used: all 16
    PutU32(out, 0);
    for (std::uint32_t rgb : kPalette) {
        PutU8(out, rgb & 0xFF);
        PutU8(out, (rgb >> 8) & 0xFF);
        PutU8(out, rgb >> 16);
        PutU8(out, 0);
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(colourRow, 0);
        for (int x = 0; x < n; ++x) {
            int p = pixels[y * n + x];
            if (p >= 0) row[x / 2] |= std::uint8_t(x % 2 ? p : p << 4);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    // Mask bit 1: transparent (the colour bitmap holds black there, so the screen shows).
    for (int y = n - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(maskRow, 0);
        for (int x = 0; x < n; ++x)
            if (pixels[y * n + x] < 0) row[x / 8] |= std::uint8_t(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: mkicon OUTPUT.ICO\n");
        return 2;
    }
    const int count = sizeof(kLayouts) / sizeof(kLayouts[0]);
    std::vector<std::vector<std::uint8_t>> images;
    for (const Layout& layout : kLayouts) images.push_back(Image(layout));

    // ICONDIR, then one ICONDIRENTRY per image, then the images in the same order.
    std::vector<std::uint8_t> file;
    PutU16(file, 0);
    PutU16(file, 1);  // icon, not cursor
    PutU16(file, count);
    std::uint32_t offset = 6 + 16 * count;
    for (int i = 0; i < count; ++i) {
        PutU8(file, kLayouts[i].size);
        PutU8(file, kLayouts[i].size);
        PutU8(file, 16);  // colours
        PutU8(file, 0);
        PutU16(file, 1);  // planes
        PutU16(file, 4);  // bits per pixel
        PutU32(file, images[i].size());
        PutU32(file, offset);
        offset += images[i].size();
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());

    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    bool ok = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    ok = std::fclose(out) == 0 && ok;
    if (!ok) {
        std::perror(argv[1]);
        return 1;
    }
    return 0;
}
