#include "platform/windows/service_setup.h"

#include "platform/windows/account_sids.h"
#include "platform/windows/wide_text.h"

#include <filesystem>
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace quorel {

namespace {

// Rights on files and folders: all; change (read, write, run, delete, not the access list);
// read and run.
constexpr const char* kFull = "FA";
constexpr const char* kChange = "0x1301bf";
constexpr const char* kRead = "0x1200a9";
constexpr DWORD kRestartDelayMilliseconds = 5000;
// Failures are counted afresh each day; every one of them restarts the service.
constexpr DWORD kFailureCountReset = 24 * 60 * 60;

std::string allow(const std::string& rights, const std::string& who) {
    // Inherited by the files and folders made in it.
    return "(A;OICI;" + rights + ";;;" + who + ")";
}

} // namespace

std::string dataFolderAccessList(const std::string& operators) {
    std::string sddl = "O:BAD:P" + allow(kFull, "SY") + allow(kFull, "BA") + allow(kChange, "LS");
    if (!operators.empty()) {
        sddl += allow(kChange, operators);
    }
    return sddl + allow(kRead, "BU");
}

std::string protectDataFolder(const std::string& folder, std::string& caveat) {
    const std::wstring path = toWide(folder);
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path), error);
    if (error) {
        return "Impossible de créer le dossier « " + folder + " » : " + error.message();
    }
    std::string missing;
    const Sid operators = operatorsGroupSid(missing);
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(
            toWide(dataFolderAccessList(sidText(operators))).c_str(), SDDL_REVISION_1, &descriptor,
            nullptr)) {
        return "Droits du dossier « " + folder + " » : " + windowsErrorText(::GetLastError());
    }
    BOOL present = FALSE;
    BOOL defaulted = FALSE;
    PACL acl = nullptr;
    PSID owner = nullptr;
    ::GetSecurityDescriptorDacl(descriptor, &present, &acl, &defaulted);
    ::GetSecurityDescriptorOwner(descriptor, &owner, &defaulted);
    const DWORD set =
        ::SetNamedSecurityInfoW(const_cast<wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                    PROTECTED_DACL_SECURITY_INFORMATION,
                                owner, nullptr, acl, nullptr);
    ::LocalFree(descriptor);
    if (set != ERROR_SUCCESS) {
        return "Droits du dossier « " + folder + " » : " + windowsErrorText(set);
    }
    if (!missing.empty()) {
        caveat = "Dossier « " + folder + " » : " + missing +
                 " ; seuls les administrateurs peuvent modifier les horaires.";
    }
    return {};
}

std::string restartOnFailure(const std::string& serviceName) {
    const std::string failed = "Reprise du service « " + serviceName + " » après une panne : ";
    SC_HANDLE manager = ::OpenSCManagerW(nullptr, nullptr, SC_MANAGER_CONNECT);
    if (manager == nullptr) {
        return failed + windowsErrorText(::GetLastError());
    }
    // Restarting is starting: the service manager needs that right too.
    SC_HANDLE service =
        ::OpenServiceW(manager, toWide(serviceName).c_str(), SERVICE_CHANGE_CONFIG | SERVICE_START);
    std::string result;
    if (service == nullptr) {
        result = failed + windowsErrorText(::GetLastError());
    } else {
        SC_ACTION actions[3] = {{SC_ACTION_RESTART, kRestartDelayMilliseconds},
                                {SC_ACTION_RESTART, kRestartDelayMilliseconds},
                                {SC_ACTION_RESTART, kRestartDelayMilliseconds}};
        SERVICE_FAILURE_ACTIONSW failure{kFailureCountReset, nullptr, nullptr, 3, actions};
        // An end with an error status counts as a failure, not only a crash.
        SERVICE_FAILURE_ACTIONS_FLAG onError{TRUE};
        if (!::ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS, &failure)) {
            result = failed + windowsErrorText(::GetLastError());
        } else if (!::ChangeServiceConfig2W(service, SERVICE_CONFIG_FAILURE_ACTIONS_FLAG,
                                            &onError)) {
            result = "Reprise du service « " + serviceName +
                     " » après un arrêt en erreur : " + windowsErrorText(::GetLastError());
        }
        ::CloseServiceHandle(service);
    }
    ::CloseServiceHandle(manager);
    return result;
}

} // namespace quorel
