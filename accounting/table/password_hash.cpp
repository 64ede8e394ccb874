#include "accounting/table/password_hash.h"

#include "runtime/crypto.h"

namespace {
constexpr std::size_t kSaltBytes = 16;
constexpr std::size_t kHashBytes = 32;
// Far above any count this program writes; a larger one in a hand-made line would keep the
// gate busy for minutes.
constexpr unsigned kMostIterations = 10000000;
constexpr std::string_view kHexDigits = "0123456789abcdef";

// The last text hashed and its hash. The table is saved every minute, and a line 1 that the
// save cannot write (a read-only file) comes back as typed with the next minute's load: kept,
// its hash costs one derivation per process instead of one per minute. One entry is all that
// needs; the last password hashed stays in the process's memory (in the guard, the last new one),
// where only the process's own account and the administrators can read it.
struct LastHash {
  std::string typed;
  std::string stored;
};
LastHash vLastHash;

std::string hex(std::string_view bytes) {
  std::string text;
  for (unsigned char byte : bytes) {
    text += kHexDigits[byte >> 4];
    text += kHexDigits[byte & 0xF];
  }
  return text;
}

// Lowercase hex of exactly the given number of bytes, as hashPassword writes it.
bool readHex(std::string_view text, std::size_t bytes, std::string& out) {
  if (text.size() != 2 * bytes)
    return false;
  out.clear();
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const std::size_t high = kHexDigits.find(text[i]);
    const std::size_t low = kHexDigits.find(text[i + 1]);
    if (high == std::string_view::npos || low == std::string_view::npos)
      return false;
    out += static_cast<char>(high << 4 | low);
  }
  return true;
}

// Plain decimal digits as hashPassword writes them: no sign, no leading zero.
bool readIterations(std::string_view text, unsigned& iterations) {
  if (text.empty() || text.size() > 8 || text[0] == '0')
    return false;
  iterations = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return false;
    iterations = iterations * 10 + static_cast<unsigned>(c - '0');
  }
  return iterations <= kMostIterations;
}

struct StoredHash {
  unsigned iterations = 0;
  std::string salt;
  std::string hash;
};

// "<iterations>$<salt hex>$<hash hex>" after the marker.
bool readStoredHash(std::string_view stored, StoredHash& parts) {
  stored.remove_prefix(kPasswordHashMarker.size());
  const std::size_t afterCount = stored.find('$');
  if (afterCount == std::string_view::npos)
    return false;
  const std::size_t afterSalt = stored.find('$', afterCount + 1);
  if (afterSalt == std::string_view::npos)
    return false;
  return readIterations(stored.substr(0, afterCount), parts.iterations) &&
         readHex(stored.substr(afterCount + 1, afterSalt - afterCount - 1), kSaltBytes, parts.salt) &&
         readHex(stored.substr(afterSalt + 1), kHashBytes, parts.hash);
}

// Every byte is compared whatever the earlier ones were, so the time taken tells nothing of
// how much of a guess was right.
bool sameBytes(std::string_view a, std::string_view b) {
  if (a.size() != b.size())
    return false;
  unsigned char difference = 0;
  for (std::size_t i = 0; i < a.size(); ++i)
    difference |= static_cast<unsigned char>(a[i] ^ b[i]);
  return difference == 0;
}
}  // namespace

std::string hashPassword(const std::string& typed) {
  if (!vLastHash.stored.empty() && vLastHash.typed == typed)
    return vLastHash.stored;
  const std::string salt = rt::randomBytes(kSaltBytes);
  const std::string hash =
      salt.size() == kSaltBytes ? rt::pbkdf2Sha256(typed, salt, kPasswordHashIterations, kHashBytes) : std::string();
  if (hash.size() != kHashBytes)
    return "";
  vLastHash = {typed, std::string(kPasswordHashMarker) + std::to_string(kPasswordHashIterations) + "$" + hex(salt) +
                          "$" + hex(hash)};
  return vLastHash.stored;
}

bool isPasswordHash(const std::string& stored) {
  return stored.starts_with(kPasswordHashMarker);
}

bool passwordOpens(const std::string& stored, const std::string& typed) {
  if (!isPasswordHash(stored))
    return stored == typed;
  StoredHash parts;
  return readStoredHash(stored, parts) &&
         sameBytes(rt::pbkdf2Sha256(typed, parts.salt, parts.iterations, kHashBytes), parts.hash);
}
