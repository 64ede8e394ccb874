#pragma once
// The platform's cryptography that the core uses: PBKDF2-HMAC-SHA-256, which makes a stored
// password slow to guess, and the secure random generator for its salt. CNG (bcrypt.dll) on
// Windows, OpenSSL's libcrypto elsewhere.
#include <cstddef>
#include <string>
#include <string_view>

namespace rt {
// PBKDF2-HMAC-SHA-256 of the password and salt with the iteration count: `length` bytes, or ""
// when the platform's crypto failed.
std::string pbkdf2Sha256(std::string_view password, std::string_view salt, unsigned iterations, std::size_t length);
// n bytes from the platform's secure random generator, or "" when it failed.
std::string randomBytes(std::size_t n);
}  // namespace rt
