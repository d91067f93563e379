#include "raster/ImageFiles.h"

#include <csetjmp>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

#include <jpeglib.h>
#ifdef ROSACLE_HAVE_PNG
#include <png.h>
#endif

#include "common/SaverError.h"

namespace fs = std::filesystem;

namespace {

fs::path PathOf(const std::string& utf8) { return fs::u8path(utf8); }

FILE* OpenForWriting(const fs::path& path)
{
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(path.c_str(), "wb");
#endif
}

// A temporary file beside the target. Commit renames it over the target; otherwise the
// destructor removes it.
class PendingFile {
public:
    explicit PendingFile(const std::string& target) : target_(target), path_(PathOf(target))
    {
        temp_ = path_;
        temp_ += ".part";
        file_ = OpenForWriting(temp_);
        if (!file_) Failure("Cannot create file %s", target.c_str());
    }
    ~PendingFile()
    {
        if (file_) std::fclose(file_);
        if (!committed_) {
            std::error_code ignored;
            fs::remove(temp_, ignored);
        }
    }
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    FILE* File() { return file_; }

    void Commit()
    {
        const bool failed = std::ferror(file_) != 0;
        const bool closed = std::fclose(file_) == 0;
        file_ = nullptr;
        if (failed || !closed) Failure("Cannot write file %s", target_.c_str());
        std::error_code error;
        fs::rename(temp_, path_, error);
        if (error) Failure("Cannot write file %s", target_.c_str());
        committed_ = true;
    }

private:
    std::string target_;
    fs::path path_;
    fs::path temp_;
    FILE* file_ = nullptr;
    bool committed_ = false;
};

void CheckSize(int32_t width, int32_t height)
{
    if (width < 1 || height < 1) Failure("Cannot write an empty image (%dx%d)", width, height);
}

// libjpeg reports errors through error_exit, which must not return: it jumps back here.
struct JpegErrors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

void JpegErrorExit(j_common_ptr cinfo)
{
    auto* errors = reinterpret_cast<JpegErrors*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, errors->message);
    std::longjmp(errors->jump, 1);
}

void JpegQuiet(j_common_ptr) {}

// No C++ object with a destructor lives in this frame, so the jump skips nothing.
bool CompressJpeg(FILE* out, int32_t width, int32_t height, const RgbRowSource* rows, uint8_t* row,
                  JpegErrors* errors)
{
    jpeg_compress_struct cinfo;
    cinfo.err = jpeg_std_error(&errors->manager);
    errors->manager.error_exit = JpegErrorExit;
    errors->manager.output_message = JpegQuiet;
    errors->message[0] = 0;
    if (setjmp(errors->jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 90, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    JSAMPROW pointer[1] = {row};
    for (int32_t y = 0; y < height; ++y) {
        (*rows)(y, row);
        jpeg_write_scanlines(&cinfo, pointer, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

#ifdef ROSACLE_HAVE_PNG
struct PngErrors {
    std::jmp_buf jump;
    char message[256];
};

void PngError(png_structp png, png_const_charp text)
{
    auto* errors = static_cast<PngErrors*>(png_get_error_ptr(png));
    std::snprintf(errors->message, sizeof errors->message, "%s", text);
    std::longjmp(errors->jump, 1);
}

void PngWarning(png_structp, png_const_charp) {}

bool CompressPng(FILE* out, int32_t width, int32_t height, const RgbRowSource* rows, uint8_t* row,
                 PngErrors* errors)
{
    errors->message[0] = 0;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, errors, PngError, PngWarning);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(errors->jump)) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int32_t y = 0; y < height; ++y) {
        (*rows)(y, row);
        png_write_row(png, row);
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return true;
}
#endif

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

} // namespace

bool ImageFormatOf(const std::string& path, ImageFormat& format)
{
    const size_t dot = path.find_last_of('.');
    const size_t slash = path.find_last_of("/\\");
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return false;
    std::string ext;
    for (size_t k = dot + 1; k < path.size(); ++k) ext += Lower(path[k]);
    if (ext == "ppm") format = ImageFormat::Ppm;
    else if (ext == "png") format = ImageFormat::Png;
    else if (ext == "jpg" || ext == "jpeg") format = ImageFormat::Jpeg;
    else return false;
    return true;
}

bool ImageFormatAvailable(ImageFormat format)
{
#ifdef ROSACLE_HAVE_PNG
    (void)format;
    return true;
#else
    return format != ImageFormat::Png;
#endif
}

void WriteJpegFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows)
{
    CheckSize(width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    JpegErrors errors;
    PendingFile file(path);
    if (!CompressJpeg(file.File(), width, height, &rows, row.data(), &errors))
        Failure("Cannot write file %s: %s", path.c_str(), errors.message);
    file.Commit();
}

void WritePngFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows)
{
#ifdef ROSACLE_HAVE_PNG
    CheckSize(width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    PngErrors errors;
    PendingFile file(path);
    if (!CompressPng(file.File(), width, height, &rows, row.data(), &errors))
        Failure("Cannot write file %s: %s", path.c_str(), errors.message[0] ? errors.message : "PNG error");
    file.Commit();
#else
    (void)width; (void)height; (void)rows;
    Failure("Cannot write %s: this build writes no PNG files (use .jpg or .ppm)", path.c_str());
#endif
}

void WritePpmFile(const std::string& path, int32_t width, int32_t height, const RgbRowSource& rows)
{
    CheckSize(width, height);
    std::vector<uint8_t> row(static_cast<size_t>(width) * 3);
    PendingFile file(path);
    std::fprintf(file.File(), "P6\n%d %d\n255\n", width, height);
    for (int32_t y = 0; y < height; ++y) {
        rows(y, row.data());
        if (std::fwrite(row.data(), 1, row.size(), file.File()) != row.size())
            Failure("Cannot write file %s", path.c_str());
    }
    file.Commit();
}

void RgbFromBgr(const uint8_t* bgr, uint8_t* rgb, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        rgb[3 * x] = bgr[3 * x + 2];
        rgb[3 * x + 1] = bgr[3 * x + 1];
        rgb[3 * x + 2] = bgr[3 * x];
    }
}

void WriteImageFile(const DibSurface& surface, const std::string& path)
{
    ImageFormat format;
    if (!ImageFormatOf(path, format))
        Failure("Unknown image file type: %s (use .png, .jpg, .jpeg or .ppm)", path.c_str());
    if (surface.BitCount() != 24 || surface.Empty()) Failure("Cannot write file %s: no 24-bit image", path.c_str());
    const int32_t width = surface.Width();
    // The surface keeps blue, green, red.
    RgbRowSource rows = [&surface, width](int32_t y, uint8_t* rgb) { RgbFromBgr(surface.Row(y), rgb, width); };
    switch (format) {
    case ImageFormat::Ppm: WritePpmFile(path, width, surface.Height(), rows); break;
    case ImageFormat::Png: WritePngFile(path, width, surface.Height(), rows); break;
    case ImageFormat::Jpeg: WriteJpegFile(path, width, surface.Height(), rows); break;
    }
}
