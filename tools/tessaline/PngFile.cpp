#include "PngFile.h"

#include "PendingOutput.h"

#include <png.h>

#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <unistd.h>

namespace TessalineTool {

namespace {
// libpng reports failures by longjmp; this function holds only plain data, so the jump skips
// no destructor and clobbers nothing.
bool writeImage(std::FILE* file, cairo_surface_t* surface, png_text* texts, int textCount, png_byte* row)
{
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    const int width = cairo_image_surface_get_width(surface);
    const int height = cairo_image_surface_get_height(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    const unsigned char* pixels = cairo_image_surface_get_data(surface);
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_text(png, info, texts, textCount);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y)
    {
        // Cairo keeps opaque pixels as native-endian 0x00RRGGBB words.
        const auto* words = reinterpret_cast<const uint32_t*>(pixels + static_cast<ptrdiff_t>(y) * stride);
        for (int x = 0; x < width; ++x)
        {
            row[3 * x] = static_cast<png_byte>(words[x] >> 16);
            row[3 * x + 1] = static_cast<png_byte>(words[x] >> 8);
            row[3 * x + 2] = static_cast<png_byte>(words[x]);
        }
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}

bool encode(std::FILE* file, cairo_surface_t* surface, const std::vector<PlotLabel>& labels)
{
    std::vector<png_byte> row(static_cast<size_t>(cairo_image_surface_get_width(surface)) * 3);
    std::vector<png_text> texts(labels.size());
    for (size_t i = 0; i < labels.size(); ++i)
    {
        texts[i].compression = PNG_TEXT_COMPRESSION_NONE;
        texts[i].key = const_cast<char*>(labels[i].key.c_str());
        texts[i].text = const_cast<char*>(labels[i].text.c_str());
    }
    return writeImage(file, surface, texts.data(), static_cast<int>(texts.size()), row.data());
}
} // namespace

bool writePng(cairo_surface_t* surface, const std::vector<PlotLabel>& labels, const std::string& path,
              std::string& error)
{
    cairo_surface_flush(surface);
    OutputTarget target;
    if (!resolveOutputTarget(path, target, error))
        return false;
    PendingOutput pending;
    const int descriptor = pending.create(target, error);
    if (descriptor < 0)
        return false;
    // The pending output keeps its own descriptor (a stream's bytes are read back from it).
    const int copy = dup(descriptor);
    std::FILE* file = copy >= 0 ? fdopen(copy, "wb") : nullptr;
    if (!file)
    {
        if (copy >= 0)
            close(copy);
        error = "cannot write '" + path + "'";
        return false;
    }
    const bool encoded = encode(file, surface, labels);
    if (std::fclose(file) != 0 || !encoded)
    {
        error = "writing the picture '" + path + "' failed";
        return false;
    }
    return pending.commit(error);
}

} // namespace TessalineTool
