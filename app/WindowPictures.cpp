#include "WindowPictures.h"

#include "JpegLoader.h"

#include <QThreadPool>
#include <memory>

namespace quarn {

namespace {

BoxPicture fit(const QString& path, QSize box)
{
    BoxPicture picture;
    JpegImage decoded = JpegLoader::load(path, box);
    if (!decoded.ok()) {
        picture.failure = decoded.failure;
        return picture;
    }
    // Exactly what the picture box does when it paints a picture of another size.
    picture.fitted = decoded.image.scaled(box, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    picture.decoded = std::move(decoded.image);
    return picture;
}

} // namespace

WindowPictures WindowPictures::decode()
{
    WindowPictures pictures;
    pictures.card = fit(QStringLiteral(":/QuarnKarte.jpg"), CardBox);
    pictures.sheet = fit(QStringLiteral(":/QuarnKarte1.jpg"), SheetBox);
    return pictures;
}

PicturePreparation::PicturePreparation()
{
    auto promise = std::make_shared<std::promise<WindowPictures>>();
    m_result = promise->get_future();
    QThreadPool::globalInstance()->start([promise] {
        try {
            promise->set_value(WindowPictures::decode());
        } catch (...) {
            promise->set_exception(std::current_exception());
        }
    });
}

PicturePreparation::~PicturePreparation()
{
    if (m_result.valid())
        m_result.wait();
}

WindowPictures PicturePreparation::take()
{
    return m_result.get();
}

} // namespace quarn
