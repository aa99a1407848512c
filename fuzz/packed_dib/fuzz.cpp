// Any bytes as a packed DIB: turned into a picture or refused, never read
// past the block; a picture that comes out is drawn once.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/dc.h"
#include "platform/dib.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> dib(data, size);
    const QImage image = platform::DibToImage(dib);
    if (image.isNull()) return 0;
    QImage target(32, 32, QImage::Format_RGB32);
    QPainter painter(&target);
    platform::DC dc(painter);
    dc.DrawImage(image, QRect(0, 0, 32, 32));
    return 0;
}
