#pragma once

// The failures the picture readers share.
namespace picture_failures {

// "ストリームからの読み込みエラー": the file ends before a structure the reader needs.
[[noreturn]] void ShortStream();

// "System Error.  Code: %d.\r\n%s" with ENOMEM: a pixel image the program will not allocate.
[[noreturn]] void OutOfMemory();

}  // namespace picture_failures
