#include "admin/text_streams.h"

TextWriter& TextWriter::operator<<(std::string_view text) {
  if (stream_)
    std::fwrite(text.data(), 1, text.size(), stream_);
  else
    kept_ += text;
  return *this;
}

void TextWriter::flush() {
  if (stream_)
    std::fflush(stream_);
}

bool TextReader::get(char& c) {
  if (!stream_) {
    if (next_ >= text_.size())
      return false;
    c = text_[next_++];
    return true;
  }
  const int read = std::fgetc(stream_);
  if (read == EOF)
    return false;
  c = static_cast<char>(read);
  return true;
}

bool TextReader::getline(std::string& line) {
  line.clear();
  char c = 0;
  bool any = false;
  while (get(c)) {
    any = true;
    if (c == '\n')
      break;
    line += c;
  }
  return any;
}
