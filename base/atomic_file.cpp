#include "base/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace qzb {

namespace {

// Temporary files are ".qzb-" and six letters, short enough beside a name of any length.
constexpr std::string_view kTemporaryPrefix = ".qzb-";
constexpr std::size_t kTemporaryLetters = 6;
// A temporary file this old belongs to a write that was killed: it holds a whole copy of the file.
constexpr std::chrono::seconds kStaleAge{60};

class CFolderCategory : public std::error_category
{
public:
    const char* name() const noexcept override { return "folder"; }
    std::string message(int value) const override { return std::strerror(value); }
    std::error_condition default_error_condition(int value) const noexcept override
    {
        return std::error_condition(value, std::generic_category());
    }
};

class CFileKindCategory : public std::error_category
{
public:
    const char* name() const noexcept override { return "file kind"; }
    std::string message(int) const override { return "is no regular file, so it is left as it is"; }
};

std::atomic<FileSyncCall> g_fileSync{&::fsync};

int SyncFile(int fd)
{
    return g_fileSync.load()(fd);
}

const CFileKindCategory kFileKindCategory;
const CFolderCategory kFolderCategory;

bool WriteAll(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        written += static_cast<std::size_t>(n);
    }
    return true;
}

bool Failed(std::error_code* error, std::error_code code)
{
    // Callers that only look at errno get the nearest system reason.
    errno = code.category() == kFileKindCategory ? EINVAL : code.value();
    if (error) {
        *error = code;
    }
    return false;
}

bool Failed(std::error_code* error, int code)
{
    return Failed(error, std::error_code(code, std::generic_category()));
}

// A missing folder is told as the file's; a folder that refuses a new file is named.
bool FolderFailed(std::error_code* error, int code)
{
    const bool refused = code == EACCES || code == EPERM || code == EROFS;
    return Failed(error, std::error_code(code, refused ? kFolderCategory : std::generic_category()));
}

// A rename replaces a file whatever its own permissions say, so a read-only file is checked first.
// faccessat grants root everything; a file without any write bit is read-only for root too.
int ReplaceRefusal(const std::filesystem::path& path, const struct stat& existing)
{
    if (::faccessat(AT_FDCWD, path.c_str(), W_OK, AT_EACCESS) != 0) {
        return errno;
    }
    if (::geteuid() == 0 && (existing.st_mode & 0222) == 0) {
        return EACCES;
    }
    return 0;
}

std::string RandomLetters()
{
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, sizeof(kLetters) - 2);
    std::string letters;
    for (std::size_t i = 0; i < kTemporaryLetters; ++i) {
        letters += kLetters[pick(random)];
    }
    return letters;
}

// Whether name is one of the temporary files a write of target may have left: ours, or the
// ".NAME.XXXXXX" copies older versions made.
bool IsTemporaryName(std::string_view name, const std::string& target)
{
    if (name.size() == kTemporaryPrefix.size() + kTemporaryLetters && name.starts_with(kTemporaryPrefix)) {
        return true;
    }
    const std::string old = "." + target + ".";
    return name.size() == old.size() + kTemporaryLetters && name.starts_with(old);
}

// A write killed before its rename leaves a named temporary file with the whole content behind,
// passwords included, where the file system offers no unnamed ones. The next write in the folder
// removes those of this user older than a minute.
void RemoveStaleTemporaries(const std::filesystem::path& folder, const std::string& target)
{
    DIR* dir = ::opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    const auto now = std::chrono::system_clock::now();
    while (const dirent* entry = ::readdir(dir)) {
        if (!IsTemporaryName(entry->d_name, target)) {
            continue;
        }
        struct stat info
        {
        };
        if (::fstatat(::dirfd(dir), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(info.st_mode) ||
            info.st_uid != ::geteuid()) {
            continue;
        }
        const auto modified = std::chrono::system_clock::from_time_t(info.st_mtim.tv_sec);
        if (now - modified > kStaleAge) {
            ::unlinkat(::dirfd(dir), entry->d_name, 0);
        }
    }
    ::closedir(dir);
}

// The rights the new content gets: those of the file it replaces, with its owner, or those of a
// new file. Only root may give a file away; an ordinary user keeps what chown allows.
bool SetRights(int fd, const struct stat* existing, FileRights rights)
{
    if (existing != nullptr && ::fchown(fd, existing->st_uid, existing->st_gid) != 0 && errno != EPERM) {
        return false;
    }
    mode_t mode = S_IRUSR | S_IWUSR;
    if (existing != nullptr && rights != FileRights::OwnerOnly) {
        mode = existing->st_mode & 07777;
    } else if (existing == nullptr && rights == FileRights::Usual) {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }
    return ::fchmod(fd, mode) == 0;
}

// An unnamed file in the folder where the file system has them: a write killed half way leaves
// nothing behind. -1 when there are none.
int OpenUnnamed(const std::filesystem::path& folder)
{
#ifdef O_TMPFILE
    // The file is named through its /proc entry; without /proc it cannot be named at all.
    if (::access("/proc/self/fd", X_OK) != 0) {
        return -1;
    }
    return ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, S_IRUSR | S_IWUSR);
#else
    (void)folder;
    errno = EOPNOTSUPP;
    return -1;
#endif
}

// Gives an unnamed file a short temporary name in the folder; false with errno when it cannot.
bool NameUnnamed(int fd, const std::filesystem::path& folder, std::string& name)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = (folder / (std::string(kTemporaryPrefix) + RandomLetters())).string();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

// The rename is lasting only once the folder is on the disk too. Some file systems cannot sync a
// folder; the file itself is synced already.
void SyncFolder(const std::filesystem::path& folder)
{
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        SyncFile(fd);
        ::close(fd);
    }
}

} // namespace

FileSyncCall SetFileSyncCall(FileSyncCall call)
{
    return g_fileSync.exchange(call);
}

const std::error_category& FolderErrorCategory()
{
    return kFolderCategory;
}

std::error_code NotRegularFileError()
{
    return std::error_code(1, kFileKindCategory);
}

std::string FileErrorText(const std::filesystem::path& path, std::error_code reason)
{
    if (reason.category() == kFolderCategory) {
        const std::optional<std::filesystem::path> target = LinkTarget(path);
        std::filesystem::path folder = target ? target->parent_path() : path.parent_path();
        std::error_code ignored;
        folder = std::filesystem::absolute(folder.empty() ? std::filesystem::path(".") : folder, ignored);
        return path.string() + ": the folder " + folder.lexically_normal().string() +
               " takes no new file: " + reason.message();
    }
    if (reason.category() == kFileKindCategory) {
        return path.string() + " " + reason.message();
    }
    return path.string() + ": " + reason.message();
}

std::optional<std::filesystem::path> LinkTarget(const std::filesystem::path& path, std::error_code* error)
{
    std::filesystem::path target = path;
    // As many links as the system itself follows before it gives up with ELOOP.
    for (int hops = 0; hops < 40; ++hops) {
        struct stat info
        {
        };
        if (::lstat(target.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
            return target;
        }
        std::error_code reason;
        const std::filesystem::path link = std::filesystem::read_symlink(target, reason);
        if (reason) {
            if (error) {
                *error = reason;
            }
            return std::nullopt;
        }
        target = link.is_absolute() ? link : target.parent_path() / link;
    }
    if (error) {
        *error = std::error_code(ELOOP, std::generic_category());
    }
    return std::nullopt;
}

bool WriteFileAtomically(const std::filesystem::path& path,
                         std::span<const std::uint8_t> bytes,
                         std::error_code* error,
                         FileRights rights)
{
    std::error_code linkError;
    const std::optional<std::filesystem::path> target = LinkTarget(path, &linkError);
    if (!target) {
        return Failed(error, linkError);
    }
    struct stat existing
    {
    };
    const bool replacing = ::stat(target->c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        Failed(error, NotRegularFileError());
        errno = S_ISDIR(existing.st_mode) ? EISDIR : EINVAL;
        return false;
    }
    if (replacing) {
        if (const int refusal = ReplaceRefusal(*target, existing); refusal != 0) {
            return Failed(error, refusal);
        }
    }
    const std::filesystem::path folder = target->has_parent_path() ? target->parent_path() : std::filesystem::path(".");
    RemoveStaleTemporaries(folder, target->filename().string());

    std::string temporary;
    int fd = OpenUnnamed(folder);
    const bool unnamed = fd >= 0;
    if (!unnamed) {
        temporary = (folder / (std::string(kTemporaryPrefix) + "XXXXXX")).string();
        fd = ::mkostemp(temporary.data(), O_CLOEXEC);
        if (fd < 0) {
            return FolderFailed(error, errno);
        }
    }
    errno = 0;
    bool ok = SetRights(fd, replacing ? &existing : nullptr, rights) && WriteAll(fd, bytes) && SyncFile(fd) == 0;
    int reason = ok ? 0 : errno;
    bool folderFailed = false;
    if (ok && unnamed && !NameUnnamed(fd, folder, temporary)) {
        ok = false;
        reason = errno;
        folderFailed = true;
        temporary.clear();
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        reason = errno;
    }
    if (ok && ::rename(temporary.c_str(), target->c_str()) != 0) {
        ok = false;
        reason = errno;
        folderFailed = true;
    }
    if (!ok) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        // A short write without an error from the system means the disk is full.
        reason = reason != 0 ? reason : ENOSPC;
        return folderFailed ? FolderFailed(error, reason) : Failed(error, reason);
    }
    SyncFolder(folder);
    return true;
}

ReadFileResult ReadWholeFile(const std::filesystem::path& path, std::vector<std::uint8_t>& bytes, std::size_t maxBytes)
{
    std::error_code error;
    const ReadFileResult result = ReadWholeFile(path, bytes, error, maxBytes);
    if (result != ReadFileResult::Ok) {
        errno = error.value();
    }
    return result;
}

ReadFileResult ReadWholeFile(const std::filesystem::path& path,
                             std::vector<std::uint8_t>& bytes,
                             std::error_code& error,
                             std::size_t maxBytes)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = std::error_code(errno, std::generic_category());
        return ReadFileResult::CannotOpen;
    }
    std::vector<std::uint8_t> content;
    std::uint8_t buffer[64 * 1024];
    bool ok = true;
    while (true) {
        const std::size_t n = std::fread(buffer, 1, sizeof(buffer), file);
        content.insert(content.end(), buffer, buffer + n);
        if (content.size() > maxBytes) {
            ok = false;
            error = std::make_error_code(std::errc::file_too_large);
            break;
        }
        if (n < sizeof(buffer)) {
            ok = !std::ferror(file);
            if (!ok) {
                error = std::error_code(errno != 0 ? errno : EIO, std::generic_category());
            }
            break;
        }
    }
    std::fclose(file);
    if (!ok) {
        return ReadFileResult::ReadFailed;
    }
    bytes = std::move(content);
    return ReadFileResult::Ok;
}

} // namespace qzb
