#include "runtime/file.h"

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
    if (c == '\n')
      break;
    line.push_back(static_cast<char>(c));
  }
  if (c == EOF && line.empty())
    return false;
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return true;
}

void TextFile::rewind() {
  std::fseek(file_, 0, SEEK_SET);
}

bool TextFile::write(const std::string& text) {
  const bool whole = std::fwrite(text.data(), 1, text.size(), file_) == text.size();
  return std::fflush(file_) == 0 && whole;
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
