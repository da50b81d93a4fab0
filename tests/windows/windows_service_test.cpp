#include "platform/windows/service_setup.h"
#include "platform/windows/tick_guard.h"
#include "platform/windows/wide_text.h"
#include "tests/support/temp_folder.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace quorel {
namespace {

// The station's files inherit the data folder's list: SYSTEM and the Administrators own it, the
// service's account and the operators may change the files, the other users may read them; a
// folder made beforehand by someone else keeps nothing of its own list.
TEST(WindowsServiceSetup, TheDataFolderIsMadeWithAProtectedListThatItsFilesInherit) {
    const std::string sddl = dataFolderAccessList("S-1-5-21-1-2-3-1010");
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    ASSERT_TRUE(::ConvertStringSecurityDescriptorToSecurityDescriptorW(
        toWide(sddl).c_str(), SDDL_REVISION_1, &descriptor, nullptr));
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    ::GetSecurityDescriptorControl(descriptor, &control, &revision);
    EXPECT_TRUE(control & SE_DACL_PROTECTED);
    ::LocalFree(descriptor);
    EXPECT_EQ(sddl.rfind("O:BAD:P", 0), 0u) << sddl;
    for (const char* entry :
         {"(A;OICI;FA;;;SY)", "(A;OICI;FA;;;BA)", "(A;OICI;0x1301bf;;;LS)",
          "(A;OICI;0x1301bf;;;S-1-5-21-1-2-3-1010)", "(A;OICI;0x1200a9;;;BU)"}) {
        EXPECT_NE(sddl.find(entry), std::string::npos) << entry << " in " << sddl;
    }
    EXPECT_EQ(dataFolderAccessList("").find("S-1-5-21"), std::string::npos);
    // Made with every missing folder on the way (Wine keeps no access list of its own to check).
    test::TempFolder temp;
    std::string caveat;
    EXPECT_EQ(protectDataFolder(temp.path() + "Données\\Quorel", caveat), "");
    EXPECT_TRUE(std::filesystem::is_directory(
        std::filesystem::path(toWide(temp.path() + "Données\\Quorel"))));
}

TEST(WindowsTickGuard, AMissingPetIsHungOnlyPastTheLimit) {
    EXPECT_FALSE(TickGuard::hung(10'000, 0, 10'000));
    EXPECT_TRUE(TickGuard::hung(10'001, 0, 10'000));
    EXPECT_FALSE(TickGuard::hung(5'000, 6'000, 10'000)); // a pet newer than the reading
}

// A guard that is petted, or stopped, never ends the process; one that is not petted does.
TEST(WindowsTickGuard, EndsOnlyATickThatStoppedWhileItWatches) {
    std::atomic<int> hung{0};
    TickGuard petted(1000, [&] { ++hung; });
    TickGuard stopped(1000, [&] { ++hung; });
    stopped.start();
    stopped.stop();
    petted.start();
    for (int i = 0; i < 25; ++i) {
        petted.pet();
        ::Sleep(100);
    }
    EXPECT_EQ(hung, 0);
    for (int i = 0; i < 50 && hung == 0; ++i) {
        ::Sleep(100);
    }
    EXPECT_EQ(hung, 1);
}

} // namespace
} // namespace quorel
