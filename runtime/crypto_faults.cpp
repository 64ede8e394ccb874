#include "runtime/crypto_faults.h"

namespace rt {
namespace {
bool vCryptoFails = false;
}

void injectCryptoFailure(bool failing) {
  vCryptoFails = failing;
}

namespace injected {
bool cryptoFails() {
  return vCryptoFails;
}
}  // namespace injected

}  // namespace rt
