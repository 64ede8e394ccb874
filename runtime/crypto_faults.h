#pragma once
// A failure of the platform's crypto that tests switch on, so that what happens without it (a
// system whose bcrypt.dll lacks PBKDF2, a broken OpenSSL) can be shown in every build. Nothing
// but tests sets it; unset, every call goes through untouched.

namespace rt {

// While on, every routine of crypto.h fails.
void injectCryptoFailure(bool failing);

namespace injected {
bool cryptoFails();
}  // namespace injected

}  // namespace rt
