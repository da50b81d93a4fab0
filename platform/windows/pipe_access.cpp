#include "platform/windows/pipe_access.h"

#include "platform/windows/account_sids.h"
#include "platform/windows/wide_text.h"

#include <cstdio>
#include <cstdlib>
#include <windows.h>

#include <sddl.h>

namespace quorel {

namespace {

// Reading and writing the pipe, without FILE_CREATE_PIPE_INSTANCE: only the station makes
// instances of it, so nobody else can stand in for the station at that name.
constexpr DWORD kConsoleRights = FILE_GENERIC_READ | FILE_WRITE_DATA;

std::string sddlRights(DWORD rights) {
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08lx", static_cast<unsigned long>(rights));
    return hex;
}

std::vector<unsigned char> copied(PSID sid) {
    std::vector<unsigned char> bytes(::GetLengthSid(sid));
    ::CopySid(static_cast<DWORD>(bytes.size()), bytes.data(), sid);
    return bytes;
}

std::vector<unsigned char> tokenUser(HANDLE token) {
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    std::vector<unsigned char> buffer(size);
    if (size == 0 || !::GetTokenInformation(token, TokenUser, buffer.data(), size, &size)) {
        return {};
    }
    return copied(reinterpret_cast<TOKEN_USER*>(buffer.data())->User.Sid);
}

bool isMember(HANDLE token, const std::vector<unsigned char>& group) {
    BOOL member = FALSE;
    return !group.empty() &&
           ::CheckTokenMembership(token, const_cast<unsigned char*>(group.data()), &member) &&
           member;
}

} // namespace

PipeAccess::PipeAccess()
    : system_(wellKnownSid(WinLocalSystemSid)),
      administrators_(wellKnownSid(WinBuiltinAdministratorsSid)) {
    HANDLE token = nullptr;
    if (::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token)) {
        self_ = tokenUser(token);
        ::CloseHandle(token);
    }
    std::string reason;
    operators_ = operatorsGroupSid(reason);
    if (!reason.empty()) {
        caveat_ = reason + " ; seuls SYSTEM, les administrateurs et l'utilisateur de la " +
                  "station peuvent s'y connecter.";
    }
    // SYSTEM and the station's own user may do all, which includes making instances; the
    // consoles read and write.
    const std::string console = "(A;;" + sddlRights(kConsoleRights) + ";;;";
    std::string sddl = "D:P(A;;GA;;;SY)" + console + "BA)";
    if (!self_.empty()) {
        sddl += "(A;;GA;;;" + sidText(self_) + ")";
    }
    if (!operators_.empty()) {
        sddl += console + sidText(operators_) + ")";
    }
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            toWide(sddl).c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
        descriptor_ = descriptor;
    }
}

PipeAccess::~PipeAccess() {
    ::LocalFree(descriptor_);
}

PipePeer PipeAccess::identify(void* pipe) const {
    PipePeer peer;
    if (!::ImpersonateNamedPipeClient(pipe)) {
        return peer;
    }
    HANDLE token = nullptr;
    const bool opened = ::OpenThreadToken(::GetCurrentThread(), TOKEN_QUERY, TRUE, &token);
    if (!::RevertToSelf()) {
        std::abort(); // a station that kept its client's identity must not go on
    }
    if (!opened) {
        return peer;
    }
    const std::vector<unsigned char> user = tokenUser(token);
    if (!user.empty()) {
        peer.user = accountName(user);
        peer.allowed = isAllowed(token, user);
    }
    ::CloseHandle(token);
    return peer;
}

bool PipeAccess::isAllowed(void* token, const Sid& user) const {
    return user == system_ || user == self_ || isMember(token, administrators_) ||
           isMember(token, operators_);
}

} // namespace quorel
