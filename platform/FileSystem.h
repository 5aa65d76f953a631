#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/ByteBuffer.h"

// File services on CP932 paths. Names on disk are UTF-8; a path that has no UTF-8 form names
// no file, and a name on disk that has no CP932 form is never listed or matched.
namespace files {

// True for an existing regular file (a symbolic link to one counts); a folder does not count.
bool FileExists(std::string_view path);

// Reads the whole file while denying writers (a shared advisory lock, so a copy of the
// program that is writing the file keeps this one out). Fails with "ファイル %s は開けません".
ByteBuffer ReadWholeFile(std::string_view path);

// Replaces the file with `bytes` without ever destroying the previous file: the bytes go to a
// new temporary file in the same folder, are flushed to disk and renamed over the file in one
// step. A read-only file, a missing folder or a file another copy of the program holds fail
// with "ファイル %s を作成できません", and the previous file stays byte for byte as it was.
// The file's permission bits are kept; a symbolic link is written through to its target.
void WriteWholeFile(std::string_view path, std::string_view bytes);

// The process's current directory, without a trailing "/".
std::string CurrentDirectory();

// Changes the process's current directory. Fails with the I/O error text of the failed
// change: "File not found", "Invalid filename", "File access denied" or "I/O error %d".
void SetCurrentDirectory(std::string_view path);

// Names (without folder) of the files in `folder` matching `mask`, which is "*.*" for every
// file or "*." followed by an extension compared without regard to letter case. Folders,
// ".", ".." and hidden files (names beginning with ".") are skipped. Order is the
// directory's own. Fails like SetCurrentDirectory when the folder cannot be read.
std::vector<std::string> SearchFolder(std::string_view folder, std::string_view mask);

// Renames `from` to `to`, both taken relative to `folder` unless absolute. Never replaces an
// existing file or folder. False when nothing was renamed.
bool RenameWithoutReplacing(std::string_view folder, std::string_view from, std::string_view to);

// Full path of the running executable.
std::string ExecutablePath();

}  // namespace files
