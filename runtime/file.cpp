#include "runtime/file.h"

#include <algorithm>
#include <cerrno>

#include "runtime/file_faults.h"
#include "runtime/file_native.h"

namespace rt {
namespace {
// Large enough that a whole log line leaves the buffer in one write.
constexpr std::size_t kAppendBuffer = 1 << 16;

const char* modeText(OpenMode mode) {
  switch (mode) {
    case OpenMode::Read:
      return "r";
    case OpenMode::Update:
      return "r+";
    case OpenMode::Append:
      return "a";
  }
  return "r";
}
}  // namespace

TextFile::TextFile(const std::string& path, OpenMode mode) : file_(std::fopen(path.c_str(), modeText(mode))) {
  missing_ = !file_ && errno == ENOENT;
  if (file_ && mode == OpenMode::Append)
    std::setvbuf(file_, nullptr, _IOFBF, kAppendBuffer);
}

TextFile::~TextFile() {
  close();
}

bool TextFile::readLine(std::string& line) {
  line.clear();
  int c = 0;
  while ((c = std::fgetc(file_)) != EOF) {
    if (injected::readFails(++bytesRead_)) {
      readFailed_ = true;
      return false;
    }
    if (c == '\n')
      break;
    line.push_back(static_cast<char>(c));
  }
  if (c == EOF && std::ferror(file_))
    readFailed_ = true;
  if (c == EOF && (line.empty() || readFailed_))
    return false;
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return true;
}

bool TextFile::write(const std::string& text) {
  const bool whole = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
  return std::fflush(file_) == 0 && whole;
}

bool TextFile::readAt(long long offset, std::size_t size, std::string& bytes) {
  bytes.resize(size);
  if (size == 0)
    return true;
  return !injected::readFails(offset + static_cast<long long>(size)) &&
         native::readAt(file_, offset, bytes.data(), size);
}

bool TextFile::writeAt(long long offset, const std::string& bytes) {
  const std::size_t through = injected::writableBytes(offset, bytes.size(), native::fileSize(file_));
  const bool written = through == 0 || native::writeAt(file_, offset, bytes.data(), through);
  return written && through == bytes.size();
}

// Writing the file in place keeps it the same file for every copy that waits for its lock,
// so the steps are ordered to leave the previous content whole whenever one fails: the room
// for the new length is taken first, the text goes in one write call, which a killed process
// cannot split, and only then is the end of the file set.
bool TextFile::replaceContent(const std::string& text) {
  const std::string bytes = native::storedText(text);
  const long long oldSize = native::fileSize(file_);
  const long long newSize = static_cast<long long>(bytes.size());
  // The bytes the write covers, to put back when it fails.
  std::string previous;
  if (oldSize < 0 || !readAt(0, static_cast<std::size_t>(std::min(oldSize, newSize)), previous))
    return false;
  // The new bytes past the old end are written there first: only a real write proves the
  // disk has room (a longer end of file alone may be a hole that fills later, half way).
  if (newSize > oldSize && !writeAt(oldSize, bytes.substr(static_cast<std::size_t>(oldSize)))) {
    native::setEnd(file_, oldSize);
    return false;
  }
  if (!writeAt(0, bytes)) {
    writeAt(0, previous);
    native::setEnd(file_, oldSize);
    return false;
  }
  // Only a shorter text leaves old bytes behind it to cut off. Should that fail, they stay
  // after the whole new content, where readers stop looking.
  if (newSize < oldSize)
    native::setEnd(file_, newSize);
  return native::flushToDisk(file_);
}

void TextFile::close() {
  if (!file_)
    return;
  std::fflush(file_);
  if (locked_)
    unlock();
  std::fclose(file_);
  file_ = nullptr;
}

}  // namespace rt
