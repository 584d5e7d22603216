#include "display/sprite_blit.h"

SpriteBlit ComputeSpriteBlit(const DigitObject& o, int32_t screenWidth, int32_t screenHeight) {
    const int32_t w = o.cellWidth, h = o.cellHeight;
    const int32_t columns = o.sheetColumns > 0 ? o.sheetColumns : 1;
    SpriteBlit b;
    b.left = (o.frame % columns) * w;
    b.right = b.left + w - 1;
    b.top = (o.frame / columns) * h + o.sheetY;
    b.bottom = b.top + h - 1;
    b.destX = o.x >= 0 ? o.x : 0;
    b.destY = o.y >= 0 ? o.y : 0;
    if (o.x < 0) b.left -= o.x;
    if (o.x + w >= screenWidth) b.right += screenWidth - o.x - w;
    if (o.y < 0) b.top -= o.y;
    if (o.y + h >= screenHeight) b.bottom += screenHeight - o.y - h;
    return b;
}
