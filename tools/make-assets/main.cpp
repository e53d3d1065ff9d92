// make-assets: draws the board, piece and portrait pictures of the program
// and writes them into the assets folder. Run by hand after changing the
// artwork; the build only embeds the committed files.
//
//   make-assets <assets-dir> [<preview.png>]
//
// The optional preview shows the board with every piece on both square
// colours, keyed out by the colour of each piece's bottom-left pixel the way
// the program does it, at scale 1 and at scale 2.
#include "BmpWriter.h"
#include "BoardArt.h"
#include "ImageEncoders.h"
#include "PieceArt.h"
#include "PortraitArt.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QPainter>
#include <QRawFont>

#include <cstdio>

namespace {

// The labels of the board and the portraits are set in DejaVu Sans Bold
// (fonts-dejavu-core); the pieces are the chess glyphs of FreeSerif
// (fonts-freefont-ttf), whose classical shapes stay readable at 35 pixels.
const char kFontDir[] = "/usr/share/fonts/truetype/dejavu/";
const char kPieceFont[] = "/usr/share/fonts/truetype/freefont/FreeSerif.ttf";
const char* const kPieceCodes[] = {"wp", "wn", "wb", "wr", "wq", "wk", "bp", "bn", "bb", "br", "bq", "bk"};
// File names of the portraits, in the order of the title.
const char* const kPortraitFiles[kPortraitCount] = {
    "01-steinitz.gif", "02-lasker.gif",   "03-capablanca.gif", "04-alekhine.gif", "05-euwe.gif",
    "06-botvinnik.gif", "07-smyslov.gif", "08-tal.gif",        "09-petrosian.gif", "10-spassky.gif",
    "11-fischer.gif",  "12-karpov.gif",   "13-kasparov.gif",   "14-kramnik.jpg"};

bool WriteFile(const QString& path, const QByteArray& data)
{
    if (data.isEmpty()) {
        std::fprintf(stderr, "make-assets: nothing encoded for %s\n", qPrintable(path));
        return false;
    }
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(data) != data.size()) {
        std::fprintf(stderr, "make-assets: cannot write %s: %s\n", qPrintable(path), qPrintable(f.errorString()));
        return false;
    }
    return true;
}

QString RegisterFont(const QString& file)
{
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontDir) + file);
    const QStringList families = QFontDatabase::applicationFontFamilies(id);
    return families.isEmpty() ? QString() : families.first();
}

// The board with every piece on it, twice, so that each piece stands on a
// light and on a dark square; keyed out as the program keys them.
QImage Preview(int scale, const QImage& board, const QImage pieces[12])
{
    QImage out = board.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    const int order[6] = {5, 4, 3, 2, 1, 0}; // k q b r n p within each colour
    for (int colour = 0; colour < 2; ++colour) {
        for (int i = 0; i < 6; ++i) {
            QImage piece = pieces[colour * 6 + order[i]].convertToFormat(QImage::Format_ARGB32);
            const QRgb key = piece.pixel(0, piece.height() - 1);
            for (int y = 0; y < piece.height(); ++y)
                for (int x = 0; x < piece.width(); ++x)
                    if (piece.pixel(x, y) == key)
                        piece.setPixel(x, y, qRgba(0, 0, 0, 0));
            // White on rows 7 and 8, black on rows 1 and 2; the two rows have
            // opposite square colours under each column.
            const int rows[2] = {colour == 0 ? 7 : 1, colour == 0 ? 8 : 2};
            for (int row : rows) {
                const int col = i + 1 + (row % 2 == 0 ? 2 : 0);
                // Where the program puts a figure: 34 right of and 35 below
                // the board picture's corner, one square step per square.
                p.drawImage(QPoint((2 + 40 * (col - 1) + 32) * scale, (3 + 40 * (row - 1) + 32) * scale), piece);
            }
        }
    }
    return out;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: make-assets <assets-dir> [<preview.png>]\n");
        return 2;
    }
    const QDir dir(QString::fromLocal8Bit(argv[1]));
    if (!dir.mkpath(QStringLiteral("pieces")) || !dir.mkpath(QStringLiteral("portraits"))) {
        std::fprintf(stderr, "make-assets: cannot create folders under %s\n", argv[1]);
        return 1;
    }

    const QString sansBold = RegisterFont(QStringLiteral("DejaVuSans-Bold.ttf"));
    if (sansBold.isEmpty()) {
        std::fprintf(stderr, "make-assets: %sDejaVuSans-Bold.ttf is missing (package fonts-dejavu-core)\n", kFontDir);
        return 1;
    }
    const QRawFont glyphs(QString::fromLatin1(kPieceFont), 256);
    if (!glyphs.isValid() || !glyphs.supportsCharacter(QChar(0x265F))) {
        std::fprintf(stderr, "make-assets: %s is missing (package fonts-freefont-ttf)\n", kPieceFont);
        return 1;
    }

    bool ok = true;
    QImage boards[3];
    QImage pieces[3][12];
    for (int scale = 1; scale <= 2; ++scale) {
        const QString suffix = scale == 1 ? QString() : QStringLiteral("@2x");
        boards[scale] = RenderBoard(scale, sansBold);
        ok &= WriteFile(dir.filePath(QStringLiteral("board%1.bmp").arg(suffix)), EncodeBmp4(boards[scale]));
        for (int i = 0; i < 12; ++i) {
            const QString code = QString::fromLatin1(kPieceCodes[i]);
            pieces[scale][i] = RenderPiece(code, scale, glyphs);
            if (const int holes = EnclosedBackgroundPixels(pieces[scale][i]); holes > 0) {
                std::fprintf(stderr, "make-assets: %s at scale %d has %d enclosed pure white pixels\n",
                             qPrintable(code), scale, holes);
                ok = false;
                continue;
            }
            ok &= WriteFile(dir.filePath(QStringLiteral("pieces/%1%2.bmp").arg(code, suffix)),
                            EncodeBmp24(pieces[scale][i]));
        }
    }
    for (int i = 0; i < kPortraitCount; ++i) {
        const QImage portrait = RenderPortrait(i, sansBold);
        const QString name = QString::fromLatin1(kPortraitFiles[i]);
        const QByteArray data = name.endsWith(QLatin1String(".jpg")) ? EncodeJpeg(portrait, 92) : EncodeGif(portrait);
        ok &= WriteFile(dir.filePath(QStringLiteral("portraits/") + name), data);
    }

    if (argc >= 3) {
        const QImage small = Preview(1, boards[1], pieces[1]);
        const QImage large = Preview(2, boards[2], pieces[2]);
        QImage both(small.width() + 16 + large.width(), large.height(), QImage::Format_RGB32);
        both.fill(Qt::white);
        QPainter p(&both);
        p.drawImage(0, 0, small);
        p.drawImage(small.width() + 16, 0, large);
        p.end();
        if (!both.save(QString::fromLocal8Bit(argv[2]))) {
            std::fprintf(stderr, "make-assets: cannot write %s\n", argv[2]);
            ok = false;
        }
    }
    return ok ? 0 : 1;
}
