#pragma once
// The platform's own calls beneath TextFile's whole-content replacement, made on the open
// file's native handle: size, read and write at an offset (one platform call each), the end
// of the file, the flush to the disk, and the line ends of a stored text file.
#include <cstdio>
#include <string>

namespace rt::native {

// -1 when the size cannot be read.
long long fileSize(std::FILE* file);
bool readAt(std::FILE* file, long long offset, char* data, std::size_t size);
bool writeAt(std::FILE* file, long long offset, const char* data, std::size_t size);
bool setEnd(std::FILE* file, long long size);
bool flushToDisk(std::FILE* file);
// The text as the platform's text mode stores it.
std::string storedText(const std::string& text);

}  // namespace rt::native
