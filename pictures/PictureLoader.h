#pragma once

#include <memory>
#include <string_view>

#include "pictures/LoadedPicture.h"

// Reads the file at `path` whole, as the picture kind its extension selects, and closes it.
// Fails with "拡張子 .%s の画像形式は処理できません" (no file opened),
// "ファイル %s は開けません", or the failure of the kind's reader.
std::unique_ptr<LoadedPicture> LoadPicture(std::string_view path);
