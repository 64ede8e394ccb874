#pragma once
// Text files as the core uses them: opened for reading, for update without truncation
// or for appending, with an exclusive whole-file lock that is tried without waiting, and
// an all-or-nothing replacement of a whole file's content. The file is closed, and its
// lock released, when the object goes.
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
  // Whether a file that could not be opened does not exist (rather than being refused).
  bool missing() const { return !file_ && missing_; }

  // Locks the whole file for this open file only; false at once when another holder has it.
  bool tryLockExclusive();
  void unlock();

  // The next line without its line end (LF or CR LF); false at the end of the file or when
  // reading failed, which readFailed tells apart.
  bool readLine(std::string& line);
  bool readFailed() const { return readFailed_; }
  // Writes the text in one piece and flushes it; false when not all of it was written.
  bool write(const std::string& text);
  // Makes the text, with the platform's line ends, the whole content of a file opened for
  // update, and flushes it to the disk. All or nothing: when false, the file holds its
  // previous bytes again (unless even putting them back failed).
  bool replaceContent(const std::string& text);
  void close();

 private:
  bool readAt(long long offset, std::size_t size, std::string& bytes);
  bool writeAt(long long offset, const std::string& bytes);

  std::FILE* file_ = nullptr;
  bool missing_ = false;
  bool locked_ = false;
  bool readFailed_ = false;
  long long bytesRead_ = 0;
};

}  // namespace rt
