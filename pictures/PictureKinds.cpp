#include "pictures/PictureKinds.h"

#include <vector>

#include "platform/CodePage.h"
#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace {

// In the order the kinds are registered: the first four when the table is first used, the
// two JPEG rows when the JPEG support starts.
const std::vector<PictureKindRow>& Table() {
  static const std::vector<PictureKindRow> rows{
      {"wmf", Cp932("メタファイル"), PictureKind::Metafile},
      {"emf", Cp932("エンハンス メタファイル"), PictureKind::Metafile},
      {"ico", Cp932("アイコン"), PictureKind::Icon},
      {"bmp", Cp932("ビットマップ"), PictureKind::Bitmap},
      {"jpeg", Cp932("JPEG イメージファイル"), PictureKind::Jpeg},
      {"jpg", Cp932("JPEG イメージファイル"), PictureKind::Jpeg},
  };
  return rows;
}

}  // namespace

std::string_view ExtensionOf(std::string_view path) {
  // '.' and '/' never stand as the second byte of a double-byte character, but a scan from
  // the end could not tell; the characters are stepped over from the start.
  std::size_t dot = std::string_view::npos;
  for (std::size_t i = 0; i < path.size(); i += cp932::CharLength(path, i)) {
    if (path[i] == '.') dot = i;
    if (path[i] == '/') dot = std::string_view::npos;
  }
  return dot == std::string_view::npos ? std::string_view() : path.substr(dot + 1);
}

PictureKind PictureKindOf(std::string_view path) {
  const std::string_view extension = ExtensionOf(path);
  const std::string lower = cp932::ToLower(extension);
  const auto& rows = Table();
  for (auto row = rows.rbegin(); row != rows.rend(); ++row) {
    if (row->extension == lower) return row->kind;
  }
  throw Failure(FormatText(Cp932("拡張子 .%s の画像形式は処理できません"), {extension}));
}
