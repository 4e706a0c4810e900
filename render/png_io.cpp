#include "render/png_io.h"

#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <png.h>
#include <vector>

namespace {

// Far more than any image the bar decodes; a damaged header cannot make us allocate gigabytes.
constexpr png_uint_32 LargestDecodedEdge = 4096;

// Everything a decode touches lives here, outside the functions that call setjmp: libpng reports
// errors by longjmp, and locals of the setjmp frame changed before the jump would be
// indeterminate afterwards.
struct PngReader {
    png_structp png = nullptr;
    png_infop info = nullptr;
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t offset = 0;
    png_uint_32 width = 0;
    png_uint_32 height = 0;
};

void ReadFromMemory(png_structp png, png_bytep out, size_t count) {
    PngReader* reader = static_cast<PngReader*>(png_get_io_ptr(png));
    if (count > reader->size - reader->offset) png_error(png, "truncated");
    std::memcpy(out, reader->data + reader->offset, count);
    reader->offset += count;
}

// Quiet: the bar reports nothing, and libpng would otherwise print to stderr.
void IgnoreWarning(png_structp, png_const_charp) {}
void StopOnError(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Reads the header and sets the transformations that give 8-bit RGBA. False on any error.
bool ReadPngHeader(PngReader* reader) {
    if (setjmp(png_jmpbuf(reader->png))) return false;
    png_set_user_limits(reader->png, LargestDecodedEdge, LargestDecodedEdge);
    png_set_read_fn(reader->png, reader, ReadFromMemory);
    png_read_info(reader->png, reader->info);
    const int colorType = png_get_color_type(reader->png, reader->info);
    png_set_strip_16(reader->png);
    png_set_packing(reader->png);
    if (colorType == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(reader->png);
    if (colorType == PNG_COLOR_TYPE_GRAY || colorType == PNG_COLOR_TYPE_GRAY_ALPHA) {
        png_set_expand_gray_1_2_4_to_8(reader->png);
        png_set_gray_to_rgb(reader->png);
    }
    if (png_get_valid(reader->png, reader->info, PNG_INFO_tRNS)) png_set_tRNS_to_alpha(reader->png);
    png_set_add_alpha(reader->png, 0xFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(reader->png);
    png_read_update_info(reader->png, reader->info);
    reader->width = png_get_image_width(reader->png, reader->info);
    reader->height = png_get_image_height(reader->png, reader->info);
    return png_get_rowbytes(reader->png, reader->info) == static_cast<size_t>(reader->width) * 4;
}

bool ReadPngRows(PngReader* reader, png_bytepp rows) {
    if (setjmp(png_jmpbuf(reader->png))) return false;
    png_read_image(reader->png, rows);
    png_read_end(reader->png, nullptr);
    return true;
}

struct PngWriter {
    png_structp png = nullptr;
    png_infop info = nullptr;
    FILE* file = nullptr;
};

bool WritePngRows(PngWriter* writer, int32_t width, int32_t height, png_bytepp rows) {
    if (setjmp(png_jmpbuf(writer->png))) return false;
    png_init_io(writer->png, writer->file);
    png_set_IHDR(writer->png, writer->info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(writer->png, writer->info);
    png_write_image(writer->png, rows);
    png_write_end(writer->png, nullptr);
    return true;
}

}  // namespace

RgbaImage DecodePngImage(const uint8_t* data, size_t size) {
    RgbaImage image;
    if (!data || size < 8 || png_sig_cmp(data, 0, 8) != 0) return image;
    PngReader reader;
    reader.data = data;
    reader.size = size;
    reader.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, IgnoreWarning);
    if (reader.png) reader.info = png_create_info_struct(reader.png);
    if (reader.info && ReadPngHeader(&reader) && reader.width > 0 && reader.height > 0) {
        std::vector<uint8_t> pixels(static_cast<size_t>(reader.width) * reader.height * 4);
        std::vector<png_bytep> rows(reader.height);
        for (png_uint_32 y = 0; y < reader.height; ++y) rows[y] = &pixels[static_cast<size_t>(y) * reader.width * 4];
        if (ReadPngRows(&reader, rows.data())) {
            image.width = static_cast<int32_t>(reader.width);
            image.height = static_cast<int32_t>(reader.height);
            image.pixels = std::move(pixels);
        }
    }
    png_destroy_read_struct(&reader.png, &reader.info, nullptr);
    return image;
}

bool WritePngFile(const std::string& path, const uint8_t* rgb, int32_t width, int32_t height) {
    if (!rgb || width <= 0 || height <= 0) return false;
    PngWriter writer;
    writer.file = std::fopen(path.c_str(), "wb");
    if (!writer.file) return false;
    writer.png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, StopOnError, IgnoreWarning);
    if (writer.png) writer.info = png_create_info_struct(writer.png);
    std::vector<png_bytep> rows(height);
    for (int32_t y = 0; y < height; ++y) {
        rows[y] = const_cast<png_bytep>(rgb + static_cast<size_t>(y) * width * 3);
    }
    const bool written = writer.info && WritePngRows(&writer, width, height, rows.data());
    png_destroy_write_struct(&writer.png, &writer.info);
    const bool closed = std::fclose(writer.file) == 0;
    return written && closed;
}
