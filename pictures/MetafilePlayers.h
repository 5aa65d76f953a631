#pragma once

#include <QPainter>
#include <QRectF>

#include <string_view>

// Playback of metafile records over a QPainter, scaled so that the picture's frame fills
// `target`. Only the common records are played; the others are skipped, and playback stops
// at the end record or at a record that does not fit in the data.

// An enhanced metafile: the whole file, starting with its header record.
void PlayEnhancedMetafile(std::string_view file, QPainter& painter, const QRectF& target);

// A placeable metafile: the whole file, starting with its 22-byte placeable header.
void PlayPlaceableMetafile(std::string_view file, QPainter& painter, const QRectF& target);
