#include "JpegLoader.h"

#include <QFile>
#include <csetjmp>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <jerror.h>
#include <jpeglib.h>

namespace quarn {

namespace {

// libjpeg reports errors through error_exit, which by default ends the process. Here it jumps back
// to the decoder instead. Between setjmp and any longjmp the decoder holds only plain C data (the
// pixel buffer is malloc'd and freed by hand), so nothing is left without its destructor.
struct ErrorManager
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
    Failure::Kind failure = Failure::Kind::PictureUnreadable;
};

[[noreturn]] void onError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<ErrorManager*>(cinfo->err)->jump, 1);
}

void onMessage(j_common_ptr cinfo, int level)
{
    // A warning (level -1) means damaged data, such as a file cut short: refuse the image.
    if (level < 0)
        onError(cinfo);
}

// Rows are decoded straight into the layout the window's pixmaps use, so no conversion follows.
#if defined(JCS_EXTENSIONS) && Q_BYTE_ORDER == Q_LITTLE_ENDIAN
constexpr J_COLOR_SPACE OutputSpace = JCS_EXT_BGRA; // memory order of QImage::Format_RGB32, opaque
constexpr QImage::Format OutputFormat = QImage::Format_RGB32;
constexpr int BytesPerPixel = 4;
#else
constexpr J_COLOR_SPACE OutputSpace = JCS_RGB;
constexpr QImage::Format OutputFormat = QImage::Format_RGB888;
constexpr int BytesPerPixel = 3;
#endif

struct Decoded
{
    unsigned char* pixels = nullptr; // rows in OutputFormat
    int width = 0;
    int height = 0;
    bool progressive = false;
};

unsigned scaleFor(const jpeg_decompress_struct& cinfo, QSize box)
{
    if (!box.isValid() || box.isEmpty())
        return 8;
    for (unsigned num = 1; num < 8; ++num) {
        const unsigned long w = (cinfo.image_width * num + 7) / 8;
        const unsigned long h = (cinfo.image_height * num + 7) / 8;
        if (w >= unsigned(box.width()) && h >= unsigned(box.height()))
            return num;
    }
    return 8;
}

void readRows(jpeg_decompress_struct* cinfo, Decoded* d)
{
    while (cinfo->output_scanline < cinfo->output_height) {
        JSAMPROW row = d->pixels + std::size_t(cinfo->output_scanline) * std::size_t(d->width) * BytesPerPixel;
        jpeg_read_scanlines(cinfo, &row, 1);
    }
}

// Returns 0 on success; on failure err->failure says why.
int decodeInto(const unsigned char* data, unsigned long size, QSize box, ErrorManager* err, Decoded* d)
{
    jpeg_decompress_struct cinfo;
    cinfo.err = jpeg_std_error(&err->base);
    err->base.error_exit = onError;
    err->base.emit_message = onMessage;
    if (setjmp(err->jump)) {
        jpeg_destroy_decompress(&cinfo);
        std::free(d->pixels);
        d->pixels = nullptr;
        return 1;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, data, size);
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    // A progressive file keeps all of its coefficients until the last scan, whatever the scale, so the
    // file's own size is bounded too, not only the decoded one.
    if (std::uint64_t(cinfo.image_width) * cinfo.image_height > std::uint64_t(JpegLoader::MaxSourcePixels)) {
        err->failure = Failure::Kind::PictureTooLarge;
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    cinfo.out_color_space = OutputSpace;
    cinfo.scale_num = scaleFor(cinfo, box);
    cinfo.scale_denom = 8;
    d->progressive = jpeg_has_multiple_scans(&cinfo);
    // A header may claim up to 65500 x 65500 pixels in a few bytes; refuse before allocating for it.
    jpeg_calc_output_dimensions(&cinfo);
    if (std::uint64_t(cinfo.output_width) * cinfo.output_height > std::uint64_t(JpegLoader::MaxPixels)) {
        err->failure = Failure::Kind::PictureTooLarge;
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    jpeg_start_decompress(&cinfo);
    d->width = int(cinfo.output_width);
    d->height = int(cinfo.output_height);
    d->pixels = static_cast<unsigned char*>(std::calloc(std::size_t(d->width) * std::size_t(d->height), BytesPerPixel));
    if (!d->pixels) {
        err->failure = Failure::Kind::OutOfMemory;
        jpeg_destroy_decompress(&cinfo);
        return 1;
    }
    readRows(&cinfo, d);
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return 0;
}

} // namespace

JpegImage JpegLoader::decode(const QByteArray& data, QSize box)
{
    JpegImage result;
    if (data.isEmpty()) {
        result.failure = Failure{Failure::Kind::PictureUnreadable};
        return result;
    }
    ErrorManager err{};
    Decoded d;
    if (decodeInto(reinterpret_cast<const unsigned char*>(data.constData()), static_cast<unsigned long>(data.size()),
                   box, &err, &d) != 0) {
        result.failure = Failure{err.failure};
        return result;
    }
    // The image takes the buffer over and frees it.
    result.image = QImage(d.pixels, d.width, d.height, d.width * BytesPerPixel, OutputFormat, std::free, d.pixels);
    result.progressive = d.progressive;
    if (result.image.isNull()) {
        std::free(d.pixels);
        result.failure = Failure{Failure::Kind::OutOfMemory};
    }
    return result;
}

JpegImage JpegLoader::load(const QString& path, QSize box)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        JpegImage result;
        const Failure::Kind kind = file.exists() ? Failure::Kind::ReadFailed : Failure::Kind::FileNotFound;
        result.failure = Failure{.kind = kind, .file = path.toStdString()};
        return result;
    }
    return decode(file.readAll(), box);
}

} // namespace quarn
