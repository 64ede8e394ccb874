// What crypto.h declares, through CNG. bcrypt.dll is loaded from the system folder by its full
// path on first use and never linked: the program imports nothing at load time beyond KERNEL32
// and the C runtime, and a library of that name in the program's or the current folder is
// never the one loaded.
#include <windows.h>
// For the routines' types only.
#include <bcrypt.h>

#include "runtime/crypto.h"
#include "runtime/crypto_faults.h"
#include "runtime/system_library_win.h"

namespace rt {
namespace {
struct Cng {
  decltype(&BCryptOpenAlgorithmProvider) openAlgorithm;
  decltype(&BCryptCloseAlgorithmProvider) closeAlgorithm;
  decltype(&BCryptDeriveKeyPBKDF2) deriveKey;
  decltype(&BCryptGenRandom) genRandom;
  bool bound() const { return openAlgorithm && closeAlgorithm && deriveKey && genRandom; }
};

// Bound once; a system without bcrypt.dll or without one of the routines (older than Windows 7)
// gets a Cng that is not bound, and every call fails.
const Cng& cng() {
  static const Cng bound = [] {
    const HMODULE library = systemLibrary("bcrypt.dll");
    return Cng{routine<decltype(Cng::openAlgorithm)>(library, "BCryptOpenAlgorithmProvider"),
               routine<decltype(Cng::closeAlgorithm)>(library, "BCryptCloseAlgorithmProvider"),
               routine<decltype(Cng::deriveKey)>(library, "BCryptDeriveKeyPBKDF2"),
               routine<decltype(Cng::genRandom)>(library, "BCryptGenRandom")};
  }();
  return bound;
}

PUCHAR bytesOf(std::string_view text) {
  return reinterpret_cast<PUCHAR>(const_cast<char*>(text.data()));
}
}  // namespace

std::string pbkdf2Sha256(std::string_view password, std::string_view salt, unsigned iterations, std::size_t length) {
  const Cng& api = cng();
  BCRYPT_ALG_HANDLE hmac = nullptr;
  if (injected::cryptoFails() || !api.bound() ||
      !BCRYPT_SUCCESS(api.openAlgorithm(&hmac, BCRYPT_SHA256_ALGORITHM, nullptr, BCRYPT_ALG_HANDLE_HMAC_FLAG)))
    return "";
  // Some versions of CNG refuse an HMAC key of no bytes. HMAC pads every key shorter than its
  // block with zero bytes, so one zero byte is the same key as none.
  const std::string_view key = password.empty() ? std::string_view("\0", 1) : password;
  std::string derived(length, '\0');
  const NTSTATUS status =
      api.deriveKey(hmac, bytesOf(key), static_cast<ULONG>(key.size()), bytesOf(salt), static_cast<ULONG>(salt.size()),
                    iterations, bytesOf(derived), static_cast<ULONG>(length), 0);
  api.closeAlgorithm(hmac, 0);
  return BCRYPT_SUCCESS(status) ? derived : "";
}

std::string randomBytes(std::size_t n) {
  const Cng& api = cng();
  std::string bytes(n, '\0');
  if (injected::cryptoFails() || !api.bound() ||
      !BCRYPT_SUCCESS(api.genRandom(nullptr, bytesOf(bytes), static_cast<ULONG>(n), BCRYPT_USE_SYSTEM_PREFERRED_RNG)))
    return "";
  return bytes;
}

}  // namespace rt
