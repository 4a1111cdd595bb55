#include "ImageWriters.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <vector>

namespace quarn {

namespace {

struct JpegError
{
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

[[noreturn]] void onJpegError(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegError*>(cinfo->err)->jump, 1);
}

// Compresses tightly packed RGB rows. Only C data lives across setjmp.
bool compress(const unsigned char* rgb, int width, int height, bool progressive, int quality, unsigned char** out,
              unsigned long* outSize)
{
    jpeg_compress_struct cinfo;
    JpegError err;
    cinfo.err = jpeg_std_error(&err.base);
    err.base.error_exit = onJpegError;
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, out, outSize);
    cinfo.image_width = JDIMENSION(width);
    cinfo.image_height = JDIMENSION(height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    // Spectral selection without successive approximation: still progressive (coarse picture first, detail
    // after), but without the refinement scans that make progressive files slow to decode.
    static const jpeg_scan_info scans[] = {
        {3, {0, 1, 2, 0}, 0, 0, 0, 0},  // DC of all three components
        {1, {0, 0, 0, 0}, 1, 5, 0, 0},  // luminance, low frequencies
        {1, {1, 0, 0, 0}, 1, 63, 0, 0}, // blue-difference chroma
        {1, {2, 0, 0, 0}, 1, 63, 0, 0}, // red-difference chroma
        {1, {0, 0, 0, 0}, 6, 63, 0, 0}, // luminance, the rest
    };
    if (progressive) {
        cinfo.scan_info = scans;
        cinfo.num_scans = int(sizeof(scans) / sizeof(scans[0]));
    }
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        auto row = const_cast<JSAMPROW>(rgb + std::size_t(cinfo.next_scanline) * std::size_t(width) * 3);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

void put16(QByteArray& b, unsigned v)
{
    b.append(char(v & 0xFF));
    b.append(char((v >> 8) & 0xFF));
}

void put32(QByteArray& b, unsigned v)
{
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}

// BITMAPINFOHEADER; `height` as stored (an icon stores twice the height for the colour and mask rows).
void putInfoHeader(QByteArray& b, int width, int height, int bits, unsigned imageSize, unsigned colours)
{
    put32(b, 40);
    put32(b, unsigned(width));
    put32(b, unsigned(height));
    put16(b, 1);
    put16(b, unsigned(bits));
    put32(b, 0); // no compression
    put32(b, imageSize);
    put32(b, 2835); // 72 dpi
    put32(b, 2835);
    put32(b, colours);
    put32(b, colours);
}

void putPalette(QByteArray& b, const QList<QRgb>& palette)
{
    for (QRgb c : palette) {
        b.append(char(qBlue(c)));
        b.append(char(qGreen(c)));
        b.append(char(qRed(c)));
        b.append(char(0));
    }
}

int stride(int width, int bits)
{
    return ((width * bits + 31) / 32) * 4;
}

} // namespace

QByteArray ImageWriters::jpeg(const QImage& image, bool progressive, int quality)
{
    if (image.isNull())
        return {};
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    std::vector<unsigned char> rows(std::size_t(rgb.width()) * std::size_t(rgb.height()) * 3);
    for (int y = 0; y < rgb.height(); ++y)
        std::copy_n(rgb.constScanLine(y), std::size_t(rgb.width()) * 3,
                    rows.begin() + std::ptrdiff_t(y) * rgb.width() * 3);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    const bool ok = compress(rows.data(), rgb.width(), rgb.height(), progressive, quality, &out, &size);
    QByteArray result;
    if (ok && out)
        result = QByteArray(reinterpret_cast<const char*>(out), qsizetype(size));
    std::free(out);
    return result;
}

QByteArray ImageWriters::bmp4(const QImage& image, const QList<QRgb>& palette)
{
    if (image.isNull() || palette.size() != 16)
        return {};
    const int w = image.width();
    const int h = image.height();
    const int rowBytes = stride(w, 4);
    QByteArray pixels(qsizetype(rowBytes) * h, '\0');
    for (int y = 0; y < h; ++y) {
        // Rows are stored bottom-up.
        char* row = pixels.data() + qsizetype(h - 1 - y) * rowBytes;
        for (int x = 0; x < w; ++x) {
            const int index = palette.indexOf(image.pixel(x, y) | 0xFF000000u);
            if (index < 0)
                return {};
            row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? index << 4 : index));
        }
    }
    QByteArray b;
    const unsigned offset = 14 + 40 + 16 * 4;
    b.append("BM", 2);
    put32(b, offset + unsigned(pixels.size()));
    put32(b, 0);
    put32(b, offset);
    putInfoHeader(b, w, h, 4, unsigned(pixels.size()), 16);
    putPalette(b, palette);
    b.append(pixels);
    return b;
}

QByteArray ImageWriters::monochromeIco(const QList<QImage>& images)
{
    QList<QByteArray> bodies;
    for (const QImage& image : images) {
        const int w = image.width();
        const int h = image.height();
        const int rowBytes = stride(w, 1);
        QByteArray colour(qsizetype(rowBytes) * h, '\0');
        const QByteArray mask(qsizetype(rowBytes) * h, '\0'); // every pixel opaque
        for (int y = 0; y < h; ++y) {
            char* row = colour.data() + qsizetype(h - 1 - y) * rowBytes;
            for (int x = 0; x < w; ++x) {
                if (qGray(image.pixel(x, y)) >= 128) // white is palette entry 1
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        QByteArray body;
        putInfoHeader(body, w, 2 * h, 1, unsigned(colour.size() + mask.size()), 2);
        putPalette(body, {qRgb(0, 0, 0), qRgb(255, 255, 255)});
        body.append(colour);
        body.append(mask);
        bodies.append(body);
    }

    QByteArray b;
    put16(b, 0);
    put16(b, 1); // icon
    put16(b, unsigned(images.size()));
    unsigned offset = 6 + 16 * unsigned(images.size());
    for (qsizetype i = 0; i < images.size(); ++i) {
        const QImage& image = images[i];
        b.append(char(image.width() >= 256 ? 0 : image.width()));
        b.append(char(image.height() >= 256 ? 0 : image.height()));
        b.append(char(2)); // colours
        b.append(char(0));
        put16(b, 1); // planes
        put16(b, 1); // bits per pixel
        put32(b, unsigned(bodies[i].size()));
        put32(b, offset);
        offset += unsigned(bodies[i].size());
    }
    for (const QByteArray& body : bodies)
        b.append(body);
    return b;
}

QList<QRgb> ImageWriters::standardPalette()
{
    return {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
            qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
            qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
            qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
}

} // namespace quarn
