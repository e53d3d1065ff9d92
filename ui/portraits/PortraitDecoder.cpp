#include "PortraitDecoder.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <gif_lib.h>

#include <csetjmp>
#include <cstdio> // jpeglib.h needs FILE and size_t declared first
#include <cstring>
#include <jpeglib.h>

#include <algorithm>
#include <memory>
#include <vector>

namespace PortraitDecoder {
namespace {

constexpr qint64 kMaxFileBytes = 16 * 1024 * 1024;

// ---- GIF -------------------------------------------------------------------

struct MemoryReader {
    const GifByteType* data;
    size_t size;
    size_t pos;
};

// giflib's input callback: hands out at most what is left. A short count is
// how giflib learns of the end of the data; it then fails cleanly.
int ReadFromMemory(GifFileType* gif, GifByteType* out, int wanted)
{
    // giflib asks for 0 to 255 bytes at a time, never a negative count.
    auto* reader = static_cast<MemoryReader*>(gif->UserData);
    const size_t count = std::min(static_cast<size_t>(wanted), reader->size - reader->pos);
    std::memcpy(out, reader->data + reader->pos, count);
    reader->pos += count;
    return static_cast<int>(count);
}

struct GifCloser {
    void operator()(GifFileType* gif) const
    {
        int error = 0;
        DGifCloseFile(gif, &error);
    }
};

// Skips the sub-blocks of an extension, reading the graphic control block
// into `gcb` on the way when that is what it is.
bool ReadExtension(GifFileType* gif, GraphicsControlBlock& gcb)
{
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif, &code, &block) != GIF_OK)
        return false;
    // A graphic control block has exactly four bytes after its length byte;
    // DGifExtensionToGCB refuses any other length.
    if (code == GRAPHICS_EXT_FUNC_CODE && block != nullptr) {
        GraphicsControlBlock read{};
        if (DGifExtensionToGCB(block[0], block + 1, &read) == GIF_OK)
            gcb = read;
    }
    while (block != nullptr) {
        if (DGifGetExtensionNext(gif, &block) != GIF_OK)
            return false;
    }
    return true;
}

// Reads the pixel rows of the frame just described by DGifGetImageDesc and
// paints them onto `screen`.
bool ReadFrame(GifFileType* gif, const GraphicsControlBlock& gcb, QImage& screen)
{
    const GifImageDesc& desc = gif->Image;
    const ColorMapObject* map = desc.ColorMap != nullptr ? desc.ColorMap : gif->SColorMap;
    if (map == nullptr || map->Colors == nullptr || desc.Width <= 0 || desc.Height <= 0 || desc.Width > kMaxSide
        || desc.Height > kMaxSide)
        return false;

    // Opaque colours by index; everything else stays transparent.
    QRgb palette[256];
    bool opaque[256];
    for (int i = 0; i < 256; ++i) {
        opaque[i] = i < map->ColorCount && i != gcb.TransparentColor;
        palette[i] = opaque[i] ? qRgb(map->Colors[i].Red, map->Colors[i].Green, map->Colors[i].Blue) : 0;
    }

    // An interlaced frame stores rows 0, 8, 16, ... then 4, 12, ... then
    // 2, 6, ... then 1, 3, 5, ...
    std::vector<int> order;
    order.reserve(static_cast<size_t>(desc.Height));
    if (desc.Interlace) {
        const int start[4] = {0, 4, 2, 1};
        const int step[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass)
            for (int y = start[pass]; y < desc.Height; y += step[pass])
                order.push_back(y);
    } else {
        for (int y = 0; y < desc.Height; ++y)
            order.push_back(y);
    }

    std::vector<GifPixelType> line(static_cast<size_t>(desc.Width));
    for (int row : order) {
        if (DGifGetLine(gif, line.data(), desc.Width) != GIF_OK)
            return false;
        const int y = desc.Top + row;
        if (y < 0 || y >= screen.height())
            continue;
        auto* out = reinterpret_cast<QRgb*>(screen.scanLine(y));
        for (int x = 0; x < desc.Width; ++x) {
            const int sx = desc.Left + x;
            if (sx >= 0 && sx < screen.width() && opaque[line[static_cast<size_t>(x)]])
                out[sx] = palette[line[static_cast<size_t>(x)]];
        }
    }
    return true;
}

// ---- JPEG ------------------------------------------------------------------

struct JpegErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
};

[[noreturn]] void JpegFail(j_common_ptr cinfo)
{
    std::longjmp(reinterpret_cast<JpegErrorManager*>(cinfo->err)->jump, 1);
}

// libjpeg reports recoverable corruption as warnings (level -1) and goes on,
// for instance filling a truncated picture with grey; a portrait that is not
// intact is refused instead. Trace messages (level >= 0) are ignored.
void JpegMessage(j_common_ptr cinfo, int level)
{
    if (level < 0)
        JpegFail(cinfo);
}

void JpegSilence(j_common_ptr) {}

// Everything the decoder touches after setjmp lives here, on the heap, so
// that a longjmp back leaves nothing in an indeterminate state and skips no
// destructor.
struct JpegState {
    jpeg_decompress_struct cinfo;
    JpegErrorManager error;
    QImage image;
};

} // namespace

QImage DecodeGif(const QByteArray& data)
{
    MemoryReader reader{reinterpret_cast<const GifByteType*>(data.constData()), static_cast<size_t>(data.size()), 0};
    int error = 0;
    std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&reader, ReadFromMemory, &error));
    if (!gif)
        return {};
    if (gif->SWidth <= 0 || gif->SHeight <= 0 || gif->SWidth > kMaxSide || gif->SHeight > kMaxSide)
        return {};

    // Only the first frame is read, so a long animation costs nothing more.
    GraphicsControlBlock gcb{};
    gcb.TransparentColor = NO_TRANSPARENT_COLOR;
    for (;;) {
        GifRecordType type = UNDEFINED_RECORD_TYPE;
        if (DGifGetRecordType(gif.get(), &type) != GIF_OK)
            return {};
        if (type == EXTENSION_RECORD_TYPE) {
            if (!ReadExtension(gif.get(), gcb))
                return {};
            continue;
        }
        if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif.get()) != GIF_OK)
            return {}; // the trailer before any frame, or a broken record
        QImage screen(gif->SWidth, gif->SHeight, QImage::Format_ARGB32);
        if (screen.isNull())
            return {};
        screen.fill(0);
        if (!ReadFrame(gif.get(), gcb, screen))
            return {};
        return screen;
    }
}

QImage DecodeJpeg(const QByteArray& data)
{
    if (data.isEmpty())
        return {};
    auto state = std::make_unique<JpegState>();
    jpeg_decompress_struct& cinfo = state->cinfo;
    cinfo.err = jpeg_std_error(&state->error.pub);
    state->error.pub.error_exit = JpegFail;
    state->error.pub.emit_message = JpegMessage;
    state->error.pub.output_message = JpegSilence;
    if (setjmp(state->error.jump) != 0) {
        // jpeg_destroy_decompress is safe on a half-created object: it only
        // frees what has been allocated.
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width == 0 || cinfo.image_height == 0 || cinfo.image_width > kMaxSide
        || cinfo.image_height > kMaxSide || cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    state->image = QImage(static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height),
                          QImage::Format_RGB888);
    if (state->image.isNull() || cinfo.output_components != 3) {
        jpeg_destroy_decompress(&cinfo);
        return {};
    }
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = state->image.scanLine(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return state->image.convertToFormat(QImage::Format_RGB32);
}

QImage Decode(const QByteArray& data)
{
    if (data.startsWith("GIF87a") || data.startsWith("GIF89a"))
        return DecodeGif(data);
    if (data.startsWith("\xFF\xD8\xFF"))
        return DecodeJpeg(data);
    return {};
}

QImage DecodeFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxFileBytes)
        return {};
    return Decode(file.readAll());
}

} // namespace PortraitDecoder
