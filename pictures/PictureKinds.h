#pragma once

#include <string>
#include <string_view>

// The kinds of picture a file name can select, by its extension.
enum class PictureKind { Metafile, Icon, Bitmap, Jpeg };

struct PictureKindRow {
  std::string extension;    // lower case, without the dot
  std::string description;  // CP932; a label for file-type filters only
  PictureKind kind;
};

// The extension of a path as written: the text after its last "." that follows the last
// "/", stepping over double-byte characters; empty when there is none.
std::string_view ExtensionOf(std::string_view path);

// Looks the extension up from the last registered row to the first, letter case folded.
// Fails with "拡張子 .%s の画像形式は処理できません" (the extension as written).
PictureKind PictureKindOf(std::string_view path);
