#include "AssetPaths.h"

namespace AssetPaths {
namespace {

// Indexed like kPieceCodes.
constexpr std::array<const char*, 12> kPiecePaths = {
    ":/assets/pieces/wp.bmp", ":/assets/pieces/wn.bmp", ":/assets/pieces/wb.bmp", ":/assets/pieces/wr.bmp",
    ":/assets/pieces/wq.bmp", ":/assets/pieces/wk.bmp", ":/assets/pieces/bp.bmp", ":/assets/pieces/bn.bmp",
    ":/assets/pieces/bb.bmp", ":/assets/pieces/br.bmp", ":/assets/pieces/bq.bmp", ":/assets/pieces/bk.bmp"};
constexpr std::array<const char*, 12> kPiece2xPaths = {
    ":/assets/pieces/wp@2x.bmp", ":/assets/pieces/wn@2x.bmp", ":/assets/pieces/wb@2x.bmp",
    ":/assets/pieces/wr@2x.bmp", ":/assets/pieces/wq@2x.bmp", ":/assets/pieces/wk@2x.bmp",
    ":/assets/pieces/bp@2x.bmp", ":/assets/pieces/bn@2x.bmp", ":/assets/pieces/bb@2x.bmp",
    ":/assets/pieces/br@2x.bmp", ":/assets/pieces/bq@2x.bmp", ":/assets/pieces/bk@2x.bmp"};

int PieceIndex(std::string_view code)
{
    for (int i = 0; i < static_cast<int>(kPieceCodes.size()); ++i)
        if (kPieceCodes[static_cast<size_t>(i)] == code)
            return i;
    return -1;
}

} // namespace

const char* Piece(std::string_view code)
{
    const int i = PieceIndex(code);
    return i < 0 ? nullptr : kPiecePaths[static_cast<size_t>(i)];
}

const char* Piece2x(std::string_view code)
{
    const int i = PieceIndex(code);
    return i < 0 ? nullptr : kPiece2xPaths[static_cast<size_t>(i)];
}

} // namespace AssetPaths
