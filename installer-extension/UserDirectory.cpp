#include "UserDirectory.h"

#include <algorithm>
#include <initializer_list>
#include <string>
#include <string_view>

namespace {
template <class Char> struct Constants;
template <> struct Constants<char> {
    static constexpr const char *kAllUsers = "All Users";
    static constexpr const char *kFolderLibrary = "shfolder.dll";
    static constexpr const char *kFolderPathFunction = "SHGetFolderPathA";
};
template <> struct Constants<wchar_t> {
    static constexpr const wchar_t *kAllUsers = L"All Users";
    static constexpr const wchar_t *kFolderLibrary = L"shfolder.dll";
    static constexpr const char *kFolderPathFunction = "SHGetFolderPathW";
};

const int kCommonAppData = 0x23; // CSIDL_COMMON_APPDATA
const int kUserAppData = 0x1A;   // CSIDL_APPDATA
const DWORD kCurrentPath = 0;    // SHGFP_TYPE_CURRENT

// Exactly one backslash between pieces; the pieces as they are.
template <class Char> std::basic_string<Char> Join(std::initializer_list<std::basic_string_view<Char>> pieces)
{
    std::basic_string<Char> path;
    bool first = true;
    for (std::basic_string_view<Char> piece : pieces) {
        if (!first)
            path += Char('\\');
        path += piece;
        first = false;
    }
    return path;
}

// The folder library for the length of one call.
template <class Char> class FolderLibrary {
public:
    FolderLibrary(const Platform<Char> &platform, const std::basic_string<Char> &systemDirectory)
        : m_platform(platform)
    {
        // From the system directory only: a bare name would also find a copy
        // planted beside the installer, and run it with the installer's rights.
        if (systemDirectory.empty())
            return;
        std::basic_string<Char> path = Join<Char>({systemDirectory, Constants<Char>::kFolderLibrary});
        m_module = platform.loadLibrary(path.c_str());
        if (m_module) {
            m_folderPath = reinterpret_cast<typename Platform<Char>::FolderPathFunction>(
                reinterpret_cast<void (*)()>(platform.getProcAddress(m_module, Constants<Char>::kFolderPathFunction)));
        }
    }
    ~FolderLibrary()
    {
        if (m_module)
            m_platform.freeLibrary(m_module);
    }
    FolderLibrary(const FolderLibrary &) = delete;
    FolderLibrary &operator=(const FolderLibrary &) = delete;

    bool HasFolderPath() const { return m_folderPath != nullptr; }
    // The folder's path, or empty when the query leaves the buffer empty,
    // whatever it returns.
    std::basic_string<Char> FolderPath(int folder, Char *buffer) const
    {
        buffer[0] = 0;
        m_folderPath(nullptr, folder, nullptr, kCurrentPath, buffer);
        buffer[kQueryBufferSize - 1] = 0;
        return buffer;
    }

private:
    const Platform<Char> &m_platform;
    HMODULE m_module = nullptr;
    typename Platform<Char>::FolderPathFunction m_folderPath = nullptr;
};
} // namespace

template <class Char>
int ChooseUserDirectory(const Platform<Char> &platform, Char *outDirectory, const Char *subfolder1,
                        const Char *subfolder2, const Char *userSubfolder)
{
    using String = std::basic_string<Char>;
    const std::basic_string_view<Char> maker(subfolder1), product(subfolder2), userData(userSubfolder);
    auto exists = [&](const String &path) { return platform.getFileAttributes(path.c_str()) != INVALID_FILE_ATTRIBUTES; };

    Char name[kQueryBufferSize] = {};
    DWORD nameSize = kQueryBufferSize;
    platform.getUserName(name, &nameSize);
    name[kQueryBufferSize - 1] = 0;
    const String user(name);

    // The system directory comes first: the folder library is loaded from it.
    Char path[kQueryBufferSize] = {};
    platform.getSystemDirectory(path, kQueryBufferSize);
    path[kQueryBufferSize - 1] = 0;
    const String system(path);
    FolderLibrary<Char> library(platform, system);

    String result = Join<Char>({system, maker, product});
    bool perUser = false;

    const String userFolder = Join<Char>({system, maker, product, user});
    if (exists(userFolder)) {
        const String deeper = Join<Char>({userFolder, userData});
        result = exists(deeper) ? deeper : userFolder;
        perUser = true;
    }

    if (library.HasFolderPath()) {
        const String common = library.FolderPath(kCommonAppData, path);
        if (!common.empty()) {
            result = Join<Char>({common, maker, product});
            perUser = false;
        } else {
            const String appData = library.FolderPath(kUserAppData, path);
            const std::size_t at = appData.empty() ? String::npos : appData.find(user);
            if (at != String::npos) {
                const String allUsers = appData.substr(0, at) + Constants<Char>::kAllUsers + appData.substr(at + user.size());
                if (exists(allUsers)) {
                    result = Join<Char>({allUsers, maker, product});
                    perUser = false;
                }
            }
        }
        const String appData = library.FolderPath(kUserAppData, path);
        if (!appData.empty()) {
            const String own = Join<Char>({appData, maker, product});
            if (exists(own)) {
                result = own;
                perUser = true;
            }
        }
    }

    Char *end = std::copy(result.begin(), result.end(), outDirectory);
    end[0] = Char('\\');
    end[1] = 0;
    return perUser ? 1 : 0;
}

template int ChooseUserDirectory<char>(const Platform<char> &, char *, const char *, const char *, const char *);
template int ChooseUserDirectory<wchar_t>(const Platform<wchar_t> &, wchar_t *, const wchar_t *, const wchar_t *,
                                          const wchar_t *);
