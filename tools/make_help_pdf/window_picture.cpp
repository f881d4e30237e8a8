#include "window_picture.h"

QImage grabMainWindow()
{
    return {};
}
