#pragma once
// Text files as the core uses them: opened for reading, for update without truncation
// or for appending, with an exclusive whole-file lock that is tried without waiting.
// The file is closed, and its lock released, when the object goes.
#include <cstdio>
#include <string>

namespace rt {

enum class OpenMode { Read, Update, Append };

class TextFile {
 public:
  // Update needs an existing file and never creates one; Append creates it.
  TextFile(const std::string& path, OpenMode mode);
  ~TextFile();
  TextFile(const TextFile&) = delete;
  TextFile& operator=(const TextFile&) = delete;

  bool isOpen() const { return file_ != nullptr; }

  // Locks the whole file for this open file only; false at once when another holder has it.
  bool tryLockExclusive();
  void unlock();

  // The next line without its line end (LF or CR LF); false at the end of the file.
  bool readLine(std::string& line);
  void rewind();
  // Writes the text in one piece and flushes it; false when not all of it was written.
  bool write(const std::string& text);
  void close();

 private:
  std::FILE* file_ = nullptr;
  bool locked_ = false;
};

}  // namespace rt
