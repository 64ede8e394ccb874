#pragma once
// The supervisor password as line 1 of the data file keeps it: a salted PBKDF2-HMAC-SHA-256
// hash, so that an account that can read the file cannot read the password; and the check of
// a typed password against that line, or against a line still holding one as it was typed.
#include <string>
#include <string_view>

// "$pbkdf2-sha256$" : no typed password may start with it (passwordProblem refuses one that does).
constexpr std::string_view kPasswordHashMarker = "$pbkdf2-sha256$";
constexpr unsigned kPasswordHashIterations = 100000;

// "$pbkdf2-sha256$100000$<32 lowercase hex: 16 random salt bytes>$<64 lowercase hex: 32-byte hash>",
// or "" when the platform's crypto failed. The same text hashed again in a row gives the same
// result (the last hash is kept); after another text, or in another process, a new salt.
std::string hashPassword(const std::string& typed);
// Whether line 1 holds a hash (starts with the marker); otherwise it is a password stored as typed
// (files written before hashing, and the installation default).
bool isPasswordHash(const std::string& stored);
// Whether the typed text opens the gate. A hash: the typed text hashed with the stored salt and
// iteration count gives the stored hash (compared in constant time). A marked line that does not
// parse (bad count, bad hex, wrong lengths, an iteration count of 0 or over 10,000,000) opens
// nothing. A line without the marker: the typed text must equal it exactly (whole-text comparison).
bool passwordOpens(const std::string& stored, const std::string& typed);
