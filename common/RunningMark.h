// The mark WinKelExe and WinKelTestExe hold while they run. Windows lets no
// one replace or delete a running program or a library it has loaded, so the
// setup program and its uninstaller look for the mark before they change
// anything. It only signals: nobody waits on it.
#pragma once

#include "UniqueHandle.h"

#include <windows.h>

#include <sddl.h>

// In the Global namespace, so that copies other users run are seen as well.
// The installer reads the name from here.
#define KEL_RUNNING_MARK_NAME L"Global\\Orvane.WinKel.Running"

class RunningMark {
public:
    // Held until the destructor; a program that cannot make it starts all the same.
    RunningMark() noexcept
    {
        // Everyone may open it to wait on, and no more: another user's copy
        // then holds the same object instead of being refused it.
        PSECURITY_DESCRIPTOR descriptor = nullptr;
        SECURITY_ATTRIBUTES attributes = {sizeof attributes, nullptr, FALSE};
        if (::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"D:(A;;0x00100000;;;WD)(A;;GA;;;SY)(A;;GA;;;BA)",
                                                                   SDDL_REVISION_1, &descriptor, nullptr))
            attributes.lpSecurityDescriptor = descriptor;
        m_mark.reset(::CreateMutexExW(&attributes, KEL_RUNNING_MARK_NAME, 0, SYNCHRONIZE));
        ::LocalFree(descriptor);
    }
    RunningMark(const RunningMark &) = delete;
    RunningMark &operator=(const RunningMark &) = delete;

    bool Held() const { return static_cast<bool>(m_mark); }

private:
    unique_kernel_handle m_mark;
};
