// The signal display's only way to draw: blacken one rectangle of the canvas
// (left, top, right, bottom; right and bottom exclusive; an empty rectangle
// paints nothing). The DLL fills it on the canvas surface with the black
// brush; native tests and benchmarks provide their own definition.
#pragma once

void PaintBlack(int left, int top, int right, int bottom);
