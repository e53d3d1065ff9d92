#include "AssetPaths.h"

#include <algorithm>

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

// The path of `code` in `paths`, which follow the order of kPieceCodes.
const char* PathOf(std::string_view code, const std::array<const char*, 12>& paths)
{
    const auto it = std::find(kPieceCodes.begin(), kPieceCodes.end(), code);
    return it == kPieceCodes.end() ? nullptr : paths[static_cast<std::size_t>(it - kPieceCodes.begin())];
}

} // namespace

const char* Piece(std::string_view code)
{
    return PathOf(code, kPiecePaths);
}

const char* Piece2x(std::string_view code)
{
    return PathOf(code, kPiece2xPaths);
}

} // namespace AssetPaths
