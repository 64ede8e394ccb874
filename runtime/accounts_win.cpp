// What accounts.h declares, on Windows: the name to its SID and back, through advapi32, bound
// from the system folder when first needed.
#include <windows.h>

#include "runtime/accounts.h"
#include "runtime/system_library_win.h"

namespace rt {
namespace {

struct Advapi {
  decltype(&LookupAccountNameA) nameToSid;
  decltype(&LookupAccountSidA) sidToName;
};

const Advapi& advapi() {
  static const Advapi bound = [] {
    const HMODULE library = systemLibrary("advapi32.dll");
    return Advapi{routine<decltype(Advapi::nameToSid)>(library, "LookupAccountNameA"),
                  routine<decltype(Advapi::sidToName)>(library, "LookupAccountSidA")};
  }();
  return bound;
}

}  // namespace

Account lookUpAccount(const std::string& typed) {
  const Advapi& api = advapi();
  BYTE sid[SECURITY_MAX_SID_SIZE];
  DWORD sidSize = sizeof sid;
  char domain[256];
  DWORD domainSize = sizeof domain;
  SID_NAME_USE use = SidTypeUnknown;
  if (typed.empty() || !api.nameToSid || !api.sidToName ||
      !api.nameToSid(nullptr, typed.c_str(), sid, &sidSize, domain, &domainSize, &use))
    return {};
  // The name as the SID's account spells it: the typed one may differ in letter case only.
  char name[256];
  DWORD nameSize = sizeof name;
  domainSize = sizeof domain;
  if (!api.sidToName(nullptr, sid, name, &nameSize, domain, &domainSize, &use))
    return {};
  return {use == SidTypeUser ? AccountKind::User : AccountKind::NotUser, name};
}

}  // namespace rt
