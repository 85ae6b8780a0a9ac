#pragma once

#include <vector>

namespace pictor::workspace {

/// Where every pixel of a cropped, rotated, flipped and nearest-scaled picture
/// comes from in its source. The source pixel of target pixel (x, y) is at column
/// `alongY[y]` of row `alongX[x]` when `transposed` (a quarter turn), else at
/// column `alongX[x]` of row `alongY[y]`. One table per axis, so the whole picture
/// is one gather pass.
struct SourceMap {
    int width = 0;  // the target size
    int height = 0;
    bool transposed = false;
    std::vector<int> alongX;  // one per target column
    std::vector<int> alongY;  // one per target row
};

}  // namespace pictor::workspace
