#include "platform/windows/account_sids.h"

#include "platform/windows/wide_text.h"

#include <windows.h>

#include <lm.h>
#include <sddl.h>

namespace quorel {

Sid wellKnownSid(int type) {
    std::vector<unsigned char> sid(SECURITY_MAX_SID_SIZE);
    DWORD size = static_cast<DWORD>(sid.size());
    if (!::CreateWellKnownSid(static_cast<WELL_KNOWN_SID_TYPE>(type), nullptr, sid.data(), &size)) {
        return {};
    }
    sid.resize(size);
    return sid;
}

std::string sidText(const Sid& sid) {
    LPWSTR text = nullptr;
    if (sid.empty() || !::ConvertSidToStringSidW(const_cast<unsigned char*>(sid.data()), &text)) {
        return {};
    }
    const std::string utf8 = fromWide(text);
    ::LocalFree(text);
    return utf8;
}

std::string accountName(const Sid& sid) {
    wchar_t name[256] = {};
    wchar_t domain[256] = {};
    DWORD nameSize = 256;
    DWORD domainSize = 256;
    SID_NAME_USE use{};
    if (::LookupAccountSidW(nullptr, const_cast<unsigned char*>(sid.data()), name, &nameSize,
                            domain, &domainSize, &use)) {
        return fromWide(name);
    }
    return sidText(sid);
}

Sid operatorsGroupSid(std::string& reason) {
    std::wstring name = toWide(kOperatorsGroup);
    std::wstring comment = toWide("Utilisateurs qui peuvent commander les sonneries de Quorel");
    LOCALGROUP_INFO_1 info{name.data(), comment.data()};
    const NET_API_STATUS made =
        ::NetLocalGroupAdd(nullptr, 1, reinterpret_cast<LPBYTE>(&info), nullptr);
    // Qualified by the computer's name: the local group, not one of a domain.
    wchar_t computer[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD computerSize = MAX_COMPUTERNAME_LENGTH + 1;
    ::GetComputerNameW(computer, &computerSize);
    const std::wstring qualified = std::wstring(computer) + L"\\" + name;
    Sid sid(SECURITY_MAX_SID_SIZE);
    DWORD sidSize = static_cast<DWORD>(sid.size());
    wchar_t domain[256] = {};
    DWORD domainSize = 256;
    SID_NAME_USE use{};
    if (::LookupAccountNameW(nullptr, qualified.c_str(), sid.data(), &sidSize, domain, &domainSize,
                             &use) &&
        (use == SidTypeAlias || use == SidTypeGroup)) {
        sid.resize(sidSize);
        return sid;
    }
    const DWORD lookup = ::GetLastError();
    const std::string group = std::string("le groupe « ") + kOperatorsGroup + " »";
    reason = made != NERR_Success && made != NERR_GroupExists && made != ERROR_ALIAS_EXISTS
                 ? group + " n'a pas pu être créé (" + windowsErrorText(made) + ")"
                 : group + " est introuvable (" + windowsErrorText(lookup) + ")";
    return {};
}

} // namespace quorel
