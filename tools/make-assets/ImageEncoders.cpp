#include "ImageEncoders.h"

#include <gif_lib.h>

#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <jpeglib.h>

#include <vector>

namespace {

int AppendToByteArray(GifFileType* gif, const GifByteType* data, int length)
{
    static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), length);
    return length;
}

} // namespace

QByteArray EncodeGif(const QImage& image)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    const int w = rgb.width();
    const int h = rgb.height();
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    std::vector<GifByteType> red(n), green(n), blue(n), indexes(n);
    for (int y = 0; y < h; ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
        for (int x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(y) * static_cast<size_t>(w) + static_cast<size_t>(x);
            red[i] = static_cast<GifByteType>(qRed(line[x]));
            green[i] = static_cast<GifByteType>(qGreen(line[x]));
            blue[i] = static_cast<GifByteType>(qBlue(line[x]));
        }
    }
    GifColorType colours[256] = {};
    int colourCount = 256;
    if (GifQuantizeBuffer(static_cast<unsigned>(w), static_cast<unsigned>(h), &colourCount, red.data(),
                          green.data(), blue.data(), indexes.data(), colours)
        != GIF_OK)
        return {};

    // The map must have a power-of-two size; unused entries stay black.
    ColorMapObject* map = GifMakeMapObject(256, colours);
    if (map == nullptr)
        return {};

    QByteArray out;
    int error = 0;
    GifFileType* gif = EGifOpen(&out, AppendToByteArray, &error);
    if (gif == nullptr) {
        GifFreeMapObject(map);
        return {};
    }
    EGifSetGifVersion(gif, true);
    bool ok = EGifPutScreenDesc(gif, w, h, 8, 0, map) == GIF_OK
              && EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr) == GIF_OK;
    for (int y = 0; ok && y < h; ++y)
        ok = EGifPutLine(gif, indexes.data() + static_cast<size_t>(y) * static_cast<size_t>(w), w) == GIF_OK;
    if (EGifCloseFile(gif, &error) != GIF_OK)
        ok = false;
    GifFreeMapObject(map);
    return ok ? out : QByteArray();
}

QByteArray EncodeJpeg(const QImage& image, int quality)
{
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    // The default error handler exits the process, which is what a
    // hand-run generator wants on a broken encoder.
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(rgb.width());
    cinfo.image_height = static_cast<JDIMENSION>(rgb.height());
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    QByteArray out(reinterpret_cast<const char*>(buffer), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&cinfo);
    free(buffer);
    return out;
}
