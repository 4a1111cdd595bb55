// Any bytes as a picture: the loader gives an image or an error, never both or neither, never an image
// above its pixel limit, and a box only ever makes the image smaller, never smaller than the box.
//
// Input: one byte choosing the box, then the file's bytes.
#include "FuzzCheck.h"
#include "JpegLoader.h"

#include <QByteArray>
#include <array>
#include <cstdint>

namespace {

using quarn::JpegImage;
using quarn::JpegLoader;

// No box, the two picture boxes of the window, and a few extremes.
const std::array<QSize, 6> kBoxes{QSize(),     QSize(385, 257), QSize(265, 433),
                                  QSize(1, 1), QSize(16, 4000), QSize(5000, 5000)};

void checkImage(const JpegImage& result)
{
    FUZZ_CHECK(result.ok() == !result.failure);
    FUZZ_CHECK(result.ok() != result.image.isNull());
    if (result.ok()) {
        FUZZ_CHECK(qint64(result.image.width()) * result.image.height() <= JpegLoader::MaxPixels);
        // Opaque colour, in one of the two layouts the loader decodes into.
        const QImage::Format format = result.image.format();
        FUZZ_CHECK(format == QImage::Format_RGB32 || format == QImage::Format_RGB888);
        if (format == QImage::Format_RGB32)
            FUZZ_CHECK(qAlpha(reinterpret_cast<const QRgb*>(result.image.constBits())[0]) == 255);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size < 1)
        return 0;
    const QSize box = kBoxes[data[0] % kBoxes.size()];
    const QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));

    const JpegImage result = JpegLoader::decode(bytes, box);
    checkImage(result);
    if (!result.ok())
        return 0;

    if (box.isValid() && !box.isEmpty()) {
        const JpegImage full = JpegLoader::decode(bytes);
        checkImage(full);
        FUZZ_CHECK(full.ok());
        const QSize got = result.image.size();
        FUZZ_CHECK(got.width() <= full.image.width() && got.height() <= full.image.height());
        FUZZ_CHECK(got == full.image.size() || (got.width() >= box.width() && got.height() >= box.height()));
    }
    return 0;
}
