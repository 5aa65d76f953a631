#pragma once

#include <QImage>
#include <QPainter>
#include <QRect>

// Draws a pixel image resampled to `destination` by nearest-neighbour sampling: source rows
// and columns are dropped or repeated, never blended.
void DrawPixels(QPainter& painter, const QRect& destination, const QImage& pixels);
