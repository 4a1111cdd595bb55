#pragma once

#include "Failure.h"

#include <QByteArray>
#include <QImage>
#include <QSize>
#include <QString>
#include <optional>

namespace quarn {

struct JpegImage
{
    QImage image;
    bool progressive = false;       // the file delivered its rows in several scans
    std::optional<Failure> failure; // damaged, too large, or the file unreadable
    bool ok() const { return !failure && !image.isNull(); }
};

// Decodes JPEG data with libjpeg, at the smallest of libjpeg's scales whose result still covers `box`
// (full size for an empty box). A damaged file gives an error and no image, never a crash.
class JpegLoader
{
public:
    // Pictures above these sizes are refused before any pixel memory is taken: a damaged header can claim
    // up to 65500 x 65500 pixels, gigabytes for a file of a few hundred bytes. Far more than any picture
    // of the window needs (the largest has about a million pixels).
    static constexpr qint64 MaxPixels = qint64(4096) * 4096;       // the decoded, possibly scaled image
    static constexpr qint64 MaxSourcePixels = qint64(8192) * 8192; // the file's full size

    static JpegImage decode(const QByteArray& data, QSize box = {});
    static JpegImage load(const QString& path, QSize box = {});
};

} // namespace quarn
