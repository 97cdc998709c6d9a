#include "DrawTestSupport.h"

int InkedPixels(const QImage& image, QRect area)
{
    if (area.isNull())
        area = image.rect();
    area = area.intersected(image.rect());
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if ((image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF)
                ++count;
    return count;
}
