#pragma once

#include <string>

// Writes a made-up photograph of a fish in water, `width` x `height` pixels, as a JPEG file.
// False when the file cannot be written.
bool WriteDemoPhoto(const std::string& path, int width, int height, unsigned seed);
