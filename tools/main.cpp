// quarn-resources FOLDER: writes the window's pictures, button glyphs and icons into FOLDER.
#include "Artwork.h"
#include "GlyphArt.h"
#include "IconArt.h"
#include "ImageWriters.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTextStream>

using namespace quarn;

namespace {

bool write(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (bytes.isEmpty() || !file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        QTextStream(stderr) << "quarn-resources: cannot write " << path << "\n";
        return false;
    }
    return true;
}

QByteArray png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    // Fonts need a GUI application; no window is ever shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 2) {
        QTextStream(stderr) << "usage: quarn-resources FOLDER\n";
        return 2;
    }
    QString missing;
    if (!Artwork::fontsAvailable(&missing)) {
        QTextStream(stderr) << "quarn-resources: font " << missing << " is not installed\n";
        return 1;
    }

    const QDir out(args[1]);
    if (!out.mkpath(QStringLiteral("glyphs")) || !out.mkpath(QStringLiteral("icons"))) {
        QTextStream(stderr) << "quarn-resources: cannot make folders in " << args[1] << "\n";
        return 1;
    }

    bool ok = write(out.filePath(QStringLiteral("QuarnKarte.jpg")),
                    ImageWriters::jpeg(Artwork::card(), false, Artwork::CardQuality));
    ok &= write(out.filePath(QStringLiteral("QuarnKarte1.jpg")),
                ImageWriters::jpeg(Artwork::sheet(), true, Artwork::SheetQuality));

    for (const Glyph& glyph : GlyphArt::glyphs()) {
        ok &= write(out.filePath(QStringLiteral("glyphs/") + glyph.name + QStringLiteral(".bmp")),
                    ImageWriters::bmp4(glyph.image, ImageWriters::standardPalette()));
    }

    for (int size : IconArt::sizes())
        ok &= write(out.filePath(QStringLiteral("icons/quarn-%1.png").arg(size)), png(IconArt::tape(size)));
    ok &= write(out.filePath(QStringLiteral("icons/quarn.ico")),
                ImageWriters::monochromeIco({IconArt::tape(32), IconArt::tape(16)}));
    ok &= write(out.filePath(QStringLiteral("icons/quarn.svg")), IconArt::svg());
    for (const auto& [name, kind] : {std::pair(QStringLiteral("pad"), IconArt::Document::Pad),
                                     std::pair(QStringLiteral("cipher"), IconArt::Document::Cipher)})
        ok &= write(out.filePath(QStringLiteral("icons/quarn-%1.ico").arg(name)),
                    ImageWriters::monochromeIco({IconArt::document(32, kind), IconArt::document(16, kind)}));
    return ok ? 0 : 1;
}
