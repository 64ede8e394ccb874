// The supervisor password's hash: the platform's PBKDF2 against published vectors, the line
// hashPassword writes, and what opens a hashed, a plain and a malformed line 1.
#include "accounting/table/password_hash.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdio>
#include <regex>

#include "runtime/crypto.h"

namespace {
std::string hexOf(const std::string& bytes) {
  std::string text;
  char pair[3];
  for (unsigned char byte : bytes) {
    std::snprintf(pair, sizeof pair, "%02x", byte);
    text += pair;
  }
  return text;
}
}  // namespace

TEST(PasswordHash, ThePlatformsPbkdf2GivesThePublishedVectors) {
  struct Vector {
    const char* password;
    unsigned iterations;
    std::size_t length;
    const char* key;
  };
  const Vector vectors[] = {
      {"password", 1, 32, "120fb6cffcf8b32c43e7225256c4f837a86548c92ccc35480805987cb70be17b"},
      {"password", 2, 32, "ae4d0c95af6b46d32d0adff928f06dd02a303f8ef3c251dfd6e2d85a95474c43"},
      {"password", 4096, 32, "c5e478d59288c841aa530db6845c4c8d962893a001ce4e11a4963873aa98134a"},
      // RFC 7914, section 11.
      {"passwd", 1, 64,
       "55ac046e56e3089fec1691c22544b605f94185216dde0465e68b9d57c20dacbc49ca9cccf179b645991664b39d77ef317c71b845b1e30bd"
       "509112041d3a19783"},
      // The gate may store an empty password.
      {"", 1, 32, "f135c27993baf98773c5cdb40a5706ce6a345cde61b000a67858650cd6a324d7"},
  };
  for (const Vector& v : vectors)
    EXPECT_EQ(hexOf(rt::pbkdf2Sha256(v.password, "salt", v.iterations, v.length)), v.key)
        << "\"" << v.password << "\", " << v.iterations;
}

TEST(PasswordHash, AHashOpensWithTheExactTextOnlyAndNeverWithItself) {
  const std::string stored = hashPassword("Secret pw");
  EXPECT_TRUE(std::regex_match(stored, std::regex(R"(\$pbkdf2-sha256\$100000\$[0-9a-f]{32}\$[0-9a-f]{64})"))) << stored;
  EXPECT_TRUE(isPasswordHash(stored));
  EXPECT_TRUE(passwordOpens(stored, "Secret pw"));
  for (const std::string& wrong : {std::string("secret pw"), std::string("Secret pw "), std::string(""), stored})
    EXPECT_FALSE(passwordOpens(stored, wrong)) << wrong;

  const std::string empty = hashPassword("");
  EXPECT_TRUE(isPasswordHash(empty));
  EXPECT_TRUE(passwordOpens(empty, ""));
  EXPECT_FALSE(passwordOpens(empty, " "));
}

TEST(PasswordHash, TheSameTextInARowKeepsItsHashAndOtherwiseGetsANewSalt) {
  const std::string first = hashPassword("same");
  EXPECT_EQ(hashPassword("same"), first);
  hashPassword("other");
  const std::string second = hashPassword("same");
  EXPECT_NE(second.substr(0, 54), first.substr(0, 54)) << "the salt differs";
  EXPECT_TRUE(passwordOpens(second, "same"));
}

TEST(PasswordHash, APlainLineOpensWithItsWholeTextAndAMalformedMarkedLineWithNothing) {
  EXPECT_TRUE(passwordOpens("quillsun", "quillsun"));
  EXPECT_TRUE(passwordOpens("", ""));
  for (const char* wrong : {"Quillsun", "quillsun ", "quill", ""})
    EXPECT_FALSE(passwordOpens("quillsun", wrong)) << wrong;

  // Each would open with "pw" if the line were read leniently.
  const std::string marker(kPasswordHashMarker);
  const std::string count = "100000$";
  const std::string valid = hashPassword("pw");
  const std::string salt = valid.substr(22, 32);
  const std::string hash = valid.substr(55);
  ASSERT_EQ(valid, marker + count + salt + "$" + hash);
  std::string upperCase = valid.substr(marker.size());
  for (char& c : upperCase)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  const std::string malformed[] = {
      marker + upperCase,
      valid + "0",
      valid + " ",
      valid + "$",
      marker + "+" + count + salt + "$" + hash,
      marker + "0" + count + salt + "$" + hash,
      marker + count + salt + hash,
      marker + count + salt.substr(2) + "$" + hash,
  };
  for (const std::string& line : malformed)
    EXPECT_FALSE(passwordOpens(line, "pw")) << line;
  for (const std::string& line : {marker, marker + count + salt + "$"})
    EXPECT_FALSE(passwordOpens(line, "")) << line;
}
