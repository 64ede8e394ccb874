// What crypto.h declares, through OpenSSL's libcrypto.
#include <openssl/evp.h>
#include <openssl/rand.h>

#include <climits>

#include "runtime/crypto.h"
#include "runtime/crypto_faults.h"

namespace rt {
namespace {
// OpenSSL counts in int.
bool fitsInt(std::size_t n) {
  return n <= static_cast<std::size_t>(INT_MAX);
}

unsigned char* bytesOf(std::string& text) {
  return reinterpret_cast<unsigned char*>(text.data());
}
}  // namespace

std::string pbkdf2Sha256(std::string_view password, std::string_view salt, unsigned iterations, std::size_t length) {
  if (injected::cryptoFails() || !fitsInt(password.size()) || !fitsInt(salt.size()) || !fitsInt(iterations) ||
      !fitsInt(length))
    return "";
  std::string key(length, '\0');
  const bool derived =
      PKCS5_PBKDF2_HMAC(password.data(), static_cast<int>(password.size()),
                        reinterpret_cast<const unsigned char*>(salt.data()), static_cast<int>(salt.size()),
                        static_cast<int>(iterations), EVP_sha256(), static_cast<int>(length), bytesOf(key)) == 1;
  return derived ? key : "";
}

std::string randomBytes(std::size_t n) {
  std::string bytes(n, '\0');
  if (injected::cryptoFails() || !fitsInt(n) || RAND_bytes(bytesOf(bytes), static_cast<int>(n)) != 1)
    return "";
  return bytes;
}

}  // namespace rt
