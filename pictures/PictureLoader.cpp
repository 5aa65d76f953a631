#include "pictures/PictureLoader.h"

#include "pictures/BitmapPicture.h"
#include "pictures/IconPicture.h"
#include "pictures/JpegPicture.h"
#include "pictures/MetafilePicture.h"
#include "pictures/PictureKinds.h"
#include "platform/FileSystem.h"

std::unique_ptr<LoadedPicture> LoadPicture(std::string_view path) {
  const PictureKind kind = PictureKindOf(path);
  ByteBuffer bytes = files::ReadWholeFile(path);
  switch (kind) {
    case PictureKind::Bitmap:
      return std::make_unique<BitmapPicture>(bytes.View());
    case PictureKind::Jpeg:
      return std::make_unique<JpegPicture>(std::move(bytes));
    case PictureKind::Icon:
      return std::make_unique<IconPicture>(std::move(bytes));
    case PictureKind::Metafile:
      return std::make_unique<MetafilePicture>(std::move(bytes));
  }
  return nullptr;
}
