#pragma once
// Where the program's built-in pictures live. Every picture is compiled into
// the program as a Qt resource by the static library `tresolvin_assets`; link
// it and open the paths below with QImage, QPixmap or QFile (no
// Q_INIT_RESOURCE call is needed). The paths are plain UTF-8 C strings, so
// this header needs no Qt; `QImage(AssetPaths::kBoard)` works as it stands.
//
// The pictures themselves (all drawn by tools/make-assets, see ASSETS.md):
// - the board: 385 x 385, 16-colour BMP; the 8 x 8 grid of 40-pixel squares
//   starts at its pixel (32, 32), a one-pixel grey (128,128,128) frame runs
//   along x = 31, x = 352, y = 31 and y = 352, light squares are
//   (255,255,255), dark ones (192,192,192), a8 is light; rank digits stand on
//   the left, file letters below;
// - the pieces: 24-bit BMPs of 35 x 35 (the black pawn 34 x 35) on a pure
//   white background, to be drawn with pure white (the colour of the
//   bottom-left pixel) transparent; no pixel of a piece itself is pure white;
// - the 2x versions of all of them, every length doubled (board 770 x 770,
//   also a 16-colour BMP; pieces 70 x 70, black pawn 68 x 70), for a display
//   with device pixel ratio 2: give the loaded image setDevicePixelRatio(2)
//   and lay it out with the 1x geometry;
// - fourteen splash portraits, 80 x 100, the first thirteen GIF, the last
//   JPEG; decode them with ui/portraits/PortraitDecoder.h.
#include <array>
#include <string_view>

namespace AssetPaths {

inline constexpr const char* kBoard = ":/assets/board.bmp";
inline constexpr const char* kBoard2x = ":/assets/board@2x.bmp";

inline constexpr int kBoardSide = 385;      // pixels, 1x
inline constexpr int kPieceSide = 35;       // pixels, 1x; the black pawn is 34 wide
inline constexpr int kBlackPawnWidth = 34;

// The twelve piece codes: colour letter ("w", "b") then kind letter.
inline constexpr std::array<std::string_view, 12> kPieceCodes = {"wp", "wn", "wb", "wr", "wq", "wk",
                                                                 "bp", "bn", "bb", "br", "bq", "bk"};

// Resource path of the picture of piece `code` (e.g. "wp" gives
// ":/assets/pieces/wp.bmp"); nullptr when `code` is not one of the twelve.
const char* Piece(std::string_view code);
// The same for the 2x picture (":/assets/pieces/wp@2x.bmp"); nullptr likewise.
const char* Piece2x(std::string_view code);

enum class PortraitFormat { Gif, Jpeg };

struct Portrait {
    const char* surname; // UTF-8, Russian: the label under the picture
    const char* path;    // resource path
    PortraitFormat format;
};

inline constexpr int kPortraitCount = 14;

// The splash portraits of the world chess champions, in the order of the
// title: six for the top panel, six for the middle one, two for the bottom.
inline constexpr std::array<Portrait, kPortraitCount> kPortraits = {{
    {"Стейниц", ":/assets/portraits/01-steinitz.gif", PortraitFormat::Gif},
    {"Ласкер", ":/assets/portraits/02-lasker.gif", PortraitFormat::Gif},
    {"Капабланка", ":/assets/portraits/03-capablanca.gif", PortraitFormat::Gif},
    {"Алехин", ":/assets/portraits/04-alekhine.gif", PortraitFormat::Gif},
    {"Эйве", ":/assets/portraits/05-euwe.gif", PortraitFormat::Gif},
    {"Ботвинник", ":/assets/portraits/06-botvinnik.gif", PortraitFormat::Gif},
    {"Смыслов", ":/assets/portraits/07-smyslov.gif", PortraitFormat::Gif},
    {"Таль", ":/assets/portraits/08-tal.gif", PortraitFormat::Gif},
    {"Петросян", ":/assets/portraits/09-petrosian.gif", PortraitFormat::Gif},
    {"Спасский", ":/assets/portraits/10-spassky.gif", PortraitFormat::Gif},
    {"Фишер", ":/assets/portraits/11-fischer.gif", PortraitFormat::Gif},
    {"Карпов", ":/assets/portraits/12-karpov.gif", PortraitFormat::Gif},
    {"Каспаров", ":/assets/portraits/13-kasparov.gif", PortraitFormat::Gif},
    {"Крамник", ":/assets/portraits/14-kramnik.jpg", PortraitFormat::Jpeg},
}};

} // namespace AssetPaths
