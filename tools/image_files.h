// The file formats the pictures and the icon are stored in, written byte by byte so that every
// header field is exactly what the game's loaders and the desktop expect, and so that the bytes
// never depend on the version of an image library.
#pragma once

// Standard
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tarvelo::tools {

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    bool operator==(const Rgb &) const = default;
};

// A picture of width × height pixels, all of one ground colour when made.
class Canvas {
public:
    Canvas(int width, int height, Rgb ground);   // 1 <= width, height

    int width() const { return m_width; }
    int height() const { return m_height; }

    // 0 <= x < width(), 0 <= y < height(); anything else is a drawing fault and throws.
    void set(int x, int y, Rgb colour);
    Rgb at(int x, int y) const;

private:
    std::size_t indexOf(int x, int y) const;

    int m_width;
    int m_height;
    std::vector<Rgb> m_pixels;   // row by row from the top, m_width pixels a row
};

// A two-colour picture: each pixel is either covered by the glyph or transparent.
class Coverage {
public:
    Coverage(int width, int height);   // 1 <= width, height

    int width() const { return m_width; }
    int height() const { return m_height; }

    // 0 <= x < width(), 0 <= y < height(); anything else throws.
    void set(int x, int y, bool covered);
    bool at(int x, int y) const;

private:
    int m_width;
    int m_height;
    std::vector<bool> m_cells;
};

using Bytes = std::vector<std::uint8_t>;

// A 24-bit, uncompressed, bottom-up bitmap with a BITMAPINFOHEADER and no palette,
// at 3780 pixels per metre (96 dots per inch) both ways.
Bytes encodeBmp(const Canvas &canvas);

// A one-image icon in 16 colours (4 bits a pixel, the standard 16-colour palette) with its
// transparency mask: covered pixels take palette entry glyphIndex, the others are transparent.
// 0 <= glyphIndex < 16; the picture is at most 255 × 255.
Bytes encodeIco(const Coverage &coverage, int glyphIndex);

// An 8-bit RGBA PNG: covered pixels opaque in glyph, the others fully transparent.
// The image data is stored without compression, so the bytes are fixed by the pixels alone.
Bytes encodePng(const Coverage &coverage, Rgb glyph);

// The standard 16-colour palette, in its usual order (0 black ... 9 red ... 15 white).
const std::vector<Rgb> &sixteenColourPalette();

// Writes bytes to path, replacing any file there; throws std::runtime_error when it cannot.
void writeFile(const std::filesystem::path &path, const Bytes &bytes);
void writeFile(const std::filesystem::path &path, const std::string &text);

}  // namespace tarvelo::tools
