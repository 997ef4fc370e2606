#pragma once

#include <QSize>
#include <cstdint>

// Milliseconds of a steady clock, wrapping at 32 bits like the system tick count.
uint32_t TickCount();
// The default beep of a rejected key.
void Beep();
// Size of the primary screen in pixels (0 x 0 when there is none).
QSize PrimaryScreenSize();
