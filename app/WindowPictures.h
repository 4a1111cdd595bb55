#pragma once

#include "Failure.h"

#include <QImage>
#include <QSize>
#include <QString>
#include <future>
#include <optional>

namespace quarn {

// One of the window's pictures, decoded at the smallest scale that covers its box and stretched into the box as
// the picture box itself would stretch it when painting.
struct BoxPicture
{
    QImage decoded;
    QImage fitted;                  // the box's size, one device pixel per pixel
    std::optional<Failure> failure; // none on success
};

struct WindowPictures
{
    // The picture boxes of the layout: the pictures are prepared before the window exists.
    static constexpr QSize CardBox{385, 257};
    static constexpr QSize SheetBox{265, 433};

    BoxPicture card;  // QuarnKarte
    BoxPicture sheet; // QuarnKarte1

    // Decodes and fits both on the calling thread.
    static WindowPictures decode();
};

// Decodes and fits the pictures on a thread of Qt's global pool while the application and the window are being
// built, so that they are ready for the first frame without holding the main thread up. The pool is created here,
// on the constructing thread; Qt's scaling, which hands its work to that pool, then stays on the worker, a thread
// of the pool itself. The worker reads no image through Qt's plugin loader.
class PicturePreparation
{
public:
    PicturePreparation();
    ~PicturePreparation();
    PicturePreparation(const PicturePreparation&) = delete;
    PicturePreparation& operator=(const PicturePreparation&) = delete;

    // Waits for the worker. Once only.
    WindowPictures take();

private:
    std::future<WindowPictures> m_result;
};

} // namespace quarn
