#include "pictures/PictureFailures.h"

#include <cerrno>
#include <cstring>
#include <string>

#include "platform/Failure.h"
#include "platform/MessageText.h"

namespace picture_failures {

void ShortStream() {
  throw Failure(Cp932("ストリームからの読み込みエラー"));
}

void OutOfMemory() {
  // The system's text is plain ASCII, so it stands as CP932.
  throw Failure(FormatText("System Error.  Code: %d.\r\n%s",
                           {std::to_string(ENOMEM), std::strerror(ENOMEM)}));
}

}  // namespace picture_failures
