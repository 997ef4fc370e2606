#pragma once

// Size of the primary screen in pixels; 0 until StoreScreenSize runs.
extern int ScreenWidth;
extern int ScreenHeight;

void StoreScreenSize();
