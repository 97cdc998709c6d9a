#pragma once
// The picture player's fuzz entry, shared by the libFuzzer target and the
// corpus replay test: any bytes are read as a picture's header and played
// into a small image, scaled and at its own size. Nothing may crash or read
// outside the bytes.
#include "platform/draw/EnhMetafile.h"
#include "platform/draw/EnhMetafilePlayer.h"
#include "platform/draw/ImageDC.h"

#include <QByteArray>
#include <QImage>

#include <cstddef>
#include <cstdint>

namespace emffuzz {

inline void Run(const std::uint8_t* data, std::size_t size)
{
    EnhMetafile picture(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    picture.GetBounds();
    picture.GetFrame();
    picture.FrameInPixels();
    QImage image(48, 48, QImage::Format_RGB32);
    image.fill(Qt::white);
    CImageDC dc(image);
    EnhMetafilePlayer::Play(dc, picture, CRect(0, 0, 48, 48));
    EnhMetafilePlayer::Play(dc, picture, CRect(-20, 5, 13, 90));
}

}  // namespace emffuzz
