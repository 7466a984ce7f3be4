// Turns a text pixel map into a Windows bitmap or icon file, or into the raw
// pixels the program itself loads.
//
// A map holds one or more images, each introduced by "image WIDTH HEIGHT BPP"
// (BPP 1 or 4) and followed by HEIGHT rows of WIDTH characters. Each character
// names one colour of the standard 16-colour palette; "." is transparent
// (icons only). With BPP 1 only K (black) and W (white) are allowed.
//
//   pixelart bmp MAP OUT.bmp   the first image as an uncompressed bitmap
//   pixelart ico MAP OUT.ico   every image as one icon group
//   pixelart raw MAP OUT.argb  the first image as raw pixels: width and height
//                              as 32-bit little-endian words, then one
//                              0xAARRGGBB word per pixel, top row first; "."
//                              is 0 (transparent black)

#include <cstdint>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

// Palette order of the standard 16-colour palette, and the letter for each.
constexpr char PaletteLetters[] = "KMGONPTDSRLYBFAW";
constexpr uint32_t PaletteRgb[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
constexpr int32_t PixelsPerMetre = 3780; // 96 dpi

struct Image {
    int width = 0;
    int height = 0;
    int bitsPerPixel = 4;
    std::vector<std::string> rows;
};

std::vector<Image> readMap(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw std::runtime_error("cannot read " + path);
    }
    std::vector<Image> images;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("image ", 0) == 0) {
            Image image;
            std::istringstream header(line.substr(6));
            header >> image.width >> image.height >> image.bitsPerPixel;
            images.push_back(image);
        } else if (!line.empty() && !images.empty()) {
            if (static_cast<int>(line.size()) != images.back().width) {
                throw std::runtime_error(path + ": row of wrong width: " + line);
            }
            images.back().rows.push_back(line);
        }
    }
    for (const Image& image : images) {
        if (static_cast<int>(image.rows.size()) != image.height) {
            throw std::runtime_error(path + ": image of wrong height");
        }
    }
    return images;
}

int paletteIndex(char letter, int bitsPerPixel) {
    if (letter == '.') {
        return 0;
    }
    if (bitsPerPixel == 1) {
        if (letter == 'K' || letter == 'W') {
            return letter == 'K' ? 0 : 1;
        }
        throw std::runtime_error(std::string("not a two-colour letter: ") + letter);
    }
    for (int index = 0; index < 16; ++index) {
        if (PaletteLetters[index] == letter) {
            return index;
        }
    }
    throw std::runtime_error(std::string("not a palette letter: ") + letter);
}

void put16(std::string& out, uint16_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

void put32(std::string& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

int rowBytes(int width, int bitsPerPixel) {
    return ((width * bitsPerPixel + 31) / 32) * 4;
}

// Bottom-up packed rows of palette indices, or of the transparency mask.
std::string packRows(const Image& image, int bitsPerPixel, bool mask) {
    std::string out;
    const int stride = rowBytes(image.width, bitsPerPixel);
    for (int y = image.height - 1; y >= 0; --y) {
        std::string row(static_cast<size_t>(stride), '\0');
        for (int x = 0; x < image.width; ++x) {
            const char letter = image.rows[static_cast<size_t>(y)][static_cast<size_t>(x)];
            const int value = mask ? (letter == '.' ? 1 : 0) : paletteIndex(letter, bitsPerPixel);
            const int bit = x * bitsPerPixel;
            const int shift = 8 - bitsPerPixel - (bit % 8);
            row[static_cast<size_t>(bit / 8)] =
                static_cast<char>(row[static_cast<size_t>(bit / 8)] | (value << shift));
        }
        out += row;
    }
    return out;
}

// BITMAPINFOHEADER, palette and pixels: the body of a bitmap or icon image.
std::string dib(const Image& image, bool withMask) {
    const int colours = 1 << image.bitsPerPixel;
    const std::string pixels = packRows(image, image.bitsPerPixel, false);
    const std::string mask = withMask ? packRows(image, 1, true) : std::string();
    std::string out;
    put32(out, 40);
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(withMask ? image.height * 2 : image.height));
    put16(out, 1);
    put16(out, static_cast<uint16_t>(image.bitsPerPixel));
    put32(out, 0); // BI_RGB
    put32(out, static_cast<uint32_t>(pixels.size() + mask.size()));
    put32(out, withMask ? 0 : PixelsPerMetre);
    put32(out, withMask ? 0 : PixelsPerMetre);
    put32(out, withMask ? 0 : static_cast<uint32_t>(colours));
    put32(out, 0);
    for (int index = 0; index < colours; ++index) {
        const uint32_t rgb =
            image.bitsPerPixel == 1 ? (index == 0 ? 0x000000 : 0xFFFFFF) : PaletteRgb[index];
        put32(out, rgb); // stored as blue, green, red, 0
    }
    return out + pixels + mask;
}

std::string bitmapFile(const Image& image) {
    const std::string body = dib(image, false);
    const uint32_t offset = 14 + 40 + 4 * (1u << image.bitsPerPixel);
    std::string out = "BM";
    put32(out, static_cast<uint32_t>(14 + body.size()));
    put32(out, 0);
    put32(out, offset);
    return out + body;
}

std::string iconFile(const std::vector<Image>& images) {
    std::string header;
    put16(header, 0);
    put16(header, 1);
    put16(header, static_cast<uint16_t>(images.size()));
    std::string bodies;
    uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
    for (const Image& image : images) {
        const std::string body = dib(image, true);
        header += static_cast<char>(image.width);
        header += static_cast<char>(image.height);
        header += static_cast<char>(image.bitsPerPixel == 4 ? 16 : 2);
        header += '\0';
        put16(header, 1);
        put16(header, static_cast<uint16_t>(image.bitsPerPixel));
        put32(header, static_cast<uint32_t>(body.size()));
        put32(header, offset);
        offset += static_cast<uint32_t>(body.size());
        bodies += body;
    }
    return header + bodies;
}

std::string rawPixels(const Image& image) {
    std::string out;
    put32(out, static_cast<uint32_t>(image.width));
    put32(out, static_cast<uint32_t>(image.height));
    for (const std::string& row : image.rows) {
        for (const char letter : row) {
            put32(out, letter == '.' ? 0u : 0xFF000000u | PaletteRgb[paletteIndex(letter, 4)]);
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: pixelart bmp|ico|raw MAP OUT\n";
        return 2;
    }
    try {
        const std::string kind = argv[1];
        const std::vector<Image> images = readMap(argv[2]);
        if (images.empty()) {
            throw std::runtime_error("no image in map");
        }
        std::string data;
        if (kind == "bmp") {
            data = bitmapFile(images.front());
        } else if (kind == "ico") {
            data = iconFile(images);
        } else if (kind == "raw") {
            data = rawPixels(images.front());
        } else {
            throw std::runtime_error("unknown kind " + kind);
        }
        std::ofstream out(argv[3], std::ios::binary);
        out << data;
        return out ? 0 : 1;
    } catch (const std::exception& error) {
        std::cerr << "pixelart: " << error.what() << '\n';
        return 1;
    }
}
