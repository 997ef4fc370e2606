#include "GridHelpers.h"

#include "System.h"

int ScreenWidth = 0;
int ScreenHeight = 0;

void StoreScreenSize() {
    const QSize size = PrimaryScreenSize();
    ScreenWidth = size.width();
    ScreenHeight = size.height();
}
