// Own
#include "image_files.h"

// Standard
#include <algorithm>
#include <array>
#include <fstream>
#include <stdexcept>
#include <string>

namespace tarvelo::tools {

namespace {

constexpr std::uint32_t kPixelsPerMetre = 3780;   // 96 dots per inch
constexpr std::uint32_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;

void putU8(Bytes &out, std::uint32_t value)
{
    out.push_back(static_cast<std::uint8_t>(value & 0xFFu));
}

void putU16Le(Bytes &out, std::uint32_t value)
{
    putU8(out, value);
    putU8(out, value >> 8);
}

void putU32Le(Bytes &out, std::uint32_t value)
{
    putU16Le(out, value);
    putU16Le(out, value >> 16);
}

void putU32Be(Bytes &out, std::uint32_t value)
{
    putU8(out, value >> 24);
    putU8(out, value >> 16);
    putU8(out, value >> 8);
    putU8(out, value);
}

void putBytes(Bytes &out, const Bytes &more)
{
    out.insert(out.end(), more.begin(), more.end());
}

// A row of a bitmap is padded to a whole number of 32-bit words.
std::uint32_t paddedRowSize(std::uint32_t bitsPerRow)
{
    return (bitsPerRow + 31u) / 32u * 4u;
}

void putInfoHeader(Bytes &out, int width, int storedHeight, std::uint32_t bitCount,
                   std::uint32_t imageSize, std::uint32_t pixelsPerMetre)
{
    putU32Le(out, kInfoHeaderSize);
    putU32Le(out, static_cast<std::uint32_t>(width));
    putU32Le(out, static_cast<std::uint32_t>(storedHeight));   // positive: rows stored bottom-up
    putU16Le(out, 1);                                          // planes
    putU16Le(out, bitCount);
    putU32Le(out, 0);                                          // BI_RGB, no compression
    putU32Le(out, imageSize);
    putU32Le(out, pixelsPerMetre);
    putU32Le(out, pixelsPerMetre);
    putU32Le(out, 0);                                          // colours used: all the bit count allows
    putU32Le(out, 0);                                          // colours important: all
}

std::uint32_t crc32(const Bytes &data, std::size_t from)
{
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1u) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (std::size_t i = from; i < data.size(); ++i)
        c = table[(c ^ data[i]) & 0xFFu] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

std::uint32_t adler32(const Bytes &data)
{
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : data) {
        a = (a + byte) % 65521u;
        b = (b + a) % 65521u;
    }
    return (b << 16) | a;
}

void putPngChunk(Bytes &out, const char (&type)[5], const Bytes &data)
{
    putU32Be(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<std::uint8_t>(type[i]));
    putBytes(out, data);
    putU32Be(out, crc32(out, typeStart));
}

// A zlib stream of stored (uncompressed) deflate blocks.
Bytes storedZlib(const Bytes &raw)
{
    constexpr std::size_t kMaxBlock = 65535;
    Bytes out;
    putU8(out, 0x78);   // deflate, 32 KiB window
    putU8(out, 0x01);   // no dictionary, fastest; 0x7801 is a multiple of 31 as the header check needs
    std::size_t offset = 0;
    do {
        const std::size_t length = std::min(kMaxBlock, raw.size() - offset);
        const bool last = offset + length == raw.size();
        putU8(out, last ? 1u : 0u);   // BFINAL, BTYPE 00 (stored)
        putU16Le(out, static_cast<std::uint32_t>(length));
        putU16Le(out, static_cast<std::uint32_t>(~length & 0xFFFFu));
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
                   raw.begin() + static_cast<std::ptrdiff_t>(offset + length));
        offset += length;
    } while (offset < raw.size());
    putU32Be(out, adler32(raw));
    return out;
}

}  // namespace

Canvas::Canvas(int width, int height, Rgb ground)
    : m_width(width), m_height(height)
{
    if (width < 1 || height < 1)
        throw std::invalid_argument("a picture needs at least one pixel");
    m_pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), ground);
}

std::size_t Canvas::indexOf(int x, int y) const
{
    if (x < 0 || x >= m_width || y < 0 || y >= m_height)
        throw std::out_of_range("pixel " + std::to_string(x) + "," + std::to_string(y)
                                + " lies outside the picture");
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(m_width) + static_cast<std::size_t>(x);
}

void Canvas::set(int x, int y, Rgb colour)
{
    m_pixels[indexOf(x, y)] = colour;
}

Rgb Canvas::at(int x, int y) const
{
    return m_pixels[indexOf(x, y)];
}

Coverage::Coverage(int width, int height)
    : m_width(width), m_height(height)
{
    if (width < 1 || height < 1)
        throw std::invalid_argument("a picture needs at least one pixel");
    m_cells.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), false);
}

void Coverage::set(int x, int y, bool covered)
{
    if (x < 0 || x >= m_width || y < 0 || y >= m_height)
        throw std::out_of_range("cell outside the icon");
    m_cells[static_cast<std::size_t>(y * m_width + x)] = covered;
}

bool Coverage::at(int x, int y) const
{
    if (x < 0 || x >= m_width || y < 0 || y >= m_height)
        throw std::out_of_range("cell outside the icon");
    return m_cells[static_cast<std::size_t>(y * m_width + x)];
}

const std::vector<Rgb> &sixteenColourPalette()
{
    static const std::vector<Rgb> palette{
        {0, 0, 0},       {128, 0, 0},   {0, 128, 0},   {128, 128, 0},
        {0, 0, 128},     {128, 0, 128}, {0, 128, 128}, {192, 192, 192},
        {128, 128, 128}, {255, 0, 0},   {0, 255, 0},   {255, 255, 0},
        {0, 0, 255},     {255, 0, 255}, {0, 255, 255}, {255, 255, 255},
    };
    return palette;
}

Bytes encodeBmp(const Canvas &canvas)
{
    const auto width = static_cast<std::uint32_t>(canvas.width());
    const auto height = static_cast<std::uint32_t>(canvas.height());
    const std::uint32_t rowSize = paddedRowSize(width * 24u);
    const std::uint32_t imageSize = rowSize * height;
    const std::uint32_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;

    Bytes out;
    out.reserve(pixelOffset + imageSize);
    putU8(out, 'B');
    putU8(out, 'M');
    putU32Le(out, pixelOffset + imageSize);
    putU16Le(out, 0);
    putU16Le(out, 0);
    putU32Le(out, pixelOffset);
    putInfoHeader(out, canvas.width(), canvas.height(), 24, imageSize, kPixelsPerMetre);

    for (int y = canvas.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < canvas.width(); ++x) {
            const Rgb c = canvas.at(x, y);
            putU8(out, c.blue);
            putU8(out, c.green);
            putU8(out, c.red);
        }
        out.resize(rowStart + rowSize, 0);
    }
    return out;
}

Bytes encodeIco(const Coverage &coverage, int glyphIndex)
{
    if (glyphIndex < 0 || glyphIndex >= 16)
        throw std::invalid_argument("a 16-colour icon has palette entries 0 to 15");
    if (coverage.width() > 255 || coverage.height() > 255)
        throw std::invalid_argument("an icon directory entry holds at most 255 × 255");

    const auto width = static_cast<std::uint32_t>(coverage.width());
    const auto height = static_cast<std::uint32_t>(coverage.height());
    const std::uint32_t colourRowSize = paddedRowSize(width * 4u);
    const std::uint32_t maskRowSize = paddedRowSize(width);
    const std::uint32_t imageSize = (colourRowSize + maskRowSize) * height;
    const std::uint32_t paletteSize = 16u * 4u;
    const std::uint32_t resourceSize = kInfoHeaderSize + paletteSize + imageSize;
    constexpr std::uint32_t kDirectorySize = 6 + 16;

    Bytes out;
    // ICONDIR: reserved, type 1 (icon), one image.
    putU16Le(out, 0);
    putU16Le(out, 1);
    putU16Le(out, 1);
    // ICONDIRENTRY
    putU8(out, width);
    putU8(out, height);
    putU8(out, 16);   // colours in the palette
    putU8(out, 0);
    putU16Le(out, 1);   // planes
    putU16Le(out, 4);   // bits a pixel
    putU32Le(out, resourceSize);
    putU32Le(out, kDirectorySize);

    // The stored height covers the colour bitmap and the mask above each other.
    putInfoHeader(out, coverage.width(), coverage.height() * 2, 4, imageSize, 0);
    for (const Rgb &c : sixteenColourPalette()) {
        putU8(out, c.blue);
        putU8(out, c.green);
        putU8(out, c.red);
        putU8(out, 0);
    }

    // Colour bitmap, bottom-up, two pixels a byte with the left one in the high nibble.
    // Transparent pixels hold entry 0 (black), which the mask then lets the ground show through.
    const auto glyph = static_cast<std::uint32_t>(glyphIndex);
    for (int y = coverage.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        for (int x = 0; x < coverage.width(); x += 2) {
            const std::uint32_t left = coverage.at(x, y) ? glyph : 0u;
            const std::uint32_t right = x + 1 < coverage.width() && coverage.at(x + 1, y) ? glyph : 0u;
            putU8(out, (left << 4) | right);
        }
        out.resize(rowStart + colourRowSize, 0);
    }
    // AND mask, bottom-up, one bit a pixel, most significant bit leftmost; 1 means transparent.
    for (int y = coverage.height() - 1; y >= 0; --y) {
        const std::size_t rowStart = out.size();
        out.resize(rowStart + maskRowSize, 0);
        for (int x = 0; x < coverage.width(); ++x) {
            if (!coverage.at(x, y))
                out[rowStart + static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80u >> (x % 8));
        }
    }
    return out;
}

Bytes encodePng(const Coverage &coverage, Rgb glyph)
{
    Bytes out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

    Bytes header;
    putU32Be(header, static_cast<std::uint32_t>(coverage.width()));
    putU32Be(header, static_cast<std::uint32_t>(coverage.height()));
    putU8(header, 8);   // bits a channel
    putU8(header, 6);   // RGBA
    putU8(header, 0);   // deflate
    putU8(header, 0);   // adaptive filtering
    putU8(header, 0);   // not interlaced
    putPngChunk(out, "IHDR", header);

    Bytes raw;
    for (int y = 0; y < coverage.height(); ++y) {
        putU8(raw, 0);   // filter type None
        for (int x = 0; x < coverage.width(); ++x) {
            const bool covered = coverage.at(x, y);
            putU8(raw, covered ? glyph.red : 0u);
            putU8(raw, covered ? glyph.green : 0u);
            putU8(raw, covered ? glyph.blue : 0u);
            putU8(raw, covered ? 255u : 0u);
        }
    }
    putPngChunk(out, "IDAT", storedZlib(raw));
    putPngChunk(out, "IEND", {});
    return out;
}

void writeFile(const std::filesystem::path &path, const Bytes &bytes)
{
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char *>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    file.close();
    if (!file)
        throw std::runtime_error("cannot write " + path.string());
}

void writeFile(const std::filesystem::path &path, const std::string &text)
{
    writeFile(path, Bytes(text.begin(), text.end()));
}

}  // namespace tarvelo::tools
