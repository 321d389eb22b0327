#include "engine/platform/platform.h"

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include "engine/platform/fd_linux.h"

namespace engine::platform {
namespace {

TDirEntry EntryOf(int folderFd, const dirent& item) {
    TDirEntry entry;
    entry.Name = item.d_name;
    struct stat status;
    if (::fstatat(folderFd, item.d_name, &status, AT_SYMLINK_NOFOLLOW) == 0) {
        entry.IsFolder = S_ISDIR(status.st_mode);
        entry.ModifiedSeconds = status.st_mtim.tv_sec;
        entry.HasTime = true;
        entry.Identity = ShapeOf(status);
        entry.Identity.Number = status.st_ino;
    } else {
        entry.IsFolder = item.d_type == DT_DIR;
    }
    return entry;
}

} // namespace

bool ReadFolderEntry(const std::string& folder, const std::string& name, TDirEntry& entry) {
    const TFd opened = OpenAbsolute(folder, O_PATH | O_DIRECTORY);
    dirent item{};
    if (!opened.valid() || name.size() >= sizeof item.d_name) return false;
    name.copy(item.d_name, name.size());
    entry = EntryOf(opened.get(), item);
    return entry.HasTime;
}

bool ReadFolderEntries(const std::string& folder, std::deque<TDirEntry>& entries,
                       TFolderIdentity* folderIdentity) {
    TFd opened = OpenAbsolute(folder, O_RDONLY | O_DIRECTORY);
    DIR* stream = opened.valid() ? ::fdopendir(opened.get()) : nullptr;
    if (!stream) return false;
    opened.release(); // closedir closes it
    const int folderFd = ::dirfd(stream);
    struct stat folderStatus {};
    if (folderIdentity && ::fstat(folderFd, &folderStatus) == 0)
        *folderIdentity = {folderStatus.st_dev, folderStatus.st_ino};
    bool complete = true;
    for (;;) {
        errno = 0;
        const dirent* item = ::readdir(stream);
        if (!item) {
            complete = errno == 0;
            break;
        }
        if (!IsDotOrDotDot(item->d_name)) entries.push_back(EntryOf(folderFd, *item));
    }
    ::closedir(stream);
    return complete;
}

bool LocalTime(std::int64_t seconds, TDateTime& when) {
    const auto time = static_cast<std::time_t>(seconds);
    std::tm local{};
    if (time != seconds || !::localtime_r(&time, &local)) return false;
    if (local.tm_year > std::numeric_limits<int>::max() - 1900) return false; // year beyond int
    when.Year = local.tm_year + 1900;
    when.Month = local.tm_mon + 1;
    when.Day = local.tm_mday;
    when.Hour = local.tm_hour;
    when.Minute = local.tm_min;
    when.Second = local.tm_sec;
    when.Millisecond = 0;
    when.DayOfWeek = local.tm_wday;
    return true;
}

} // namespace engine::platform
