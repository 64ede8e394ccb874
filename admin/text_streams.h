#pragma once
// The tool's standard streams as it uses them: text and whole numbers written in pieces to a C
// stream (or, for the tests, kept in a string), and input read a character or a line at a time
// from a C stream or a string. The programs write through the C runtime's streams alone.
#include <cstdio>
#include <string>
#include <string_view>
#include <utility>

class TextWriter {
 public:
  // Without a stream, what is written is kept, for text().
  explicit TextWriter(std::FILE* stream = nullptr) : stream_(stream) {}

  TextWriter& operator<<(std::string_view text);
  TextWriter& operator<<(char c) { return *this << std::string_view(&c, 1); }
  TextWriter& operator<<(int number) { return *this << std::to_string(number); }
  void flush();
  const std::string& text() const { return kept_; }

 private:
  std::FILE* stream_;
  std::string kept_;
};

class TextReader {
 public:
  explicit TextReader(std::FILE* stream) : stream_(stream) {}
  explicit TextReader(std::string text) : stream_(nullptr), text_(std::move(text)) {}

  // The next character; false at the end of the input.
  bool get(char& c);
  // The next line, without its line feed; false at the end of the input when nothing was left.
  bool getline(std::string& line);

 private:
  std::FILE* stream_;
  std::string text_;
  std::size_t next_ = 0;
};
