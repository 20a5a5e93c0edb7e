#include "file_access.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace iconexport {
namespace {

// Owns one file descriptor.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }
    // Closes now, so that a failed close can still be seen.
    bool Close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

std::optional<std::uint64_t> RegularFileSize(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        return std::nullopt;
    }
    return static_cast<std::uint64_t>(status.st_size);
}

bool WriteAll(int fd, Bytes bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
    return true;
}

std::string DirectoryOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

// A read-only file is not overwritten, as on Windows; rename alone would not refuse it.
bool IsReadOnlyFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && (status.st_mode & 0222) == 0;
}

} // namespace

struct ExclusiveFile::Handle {
    explicit Handle(int descriptor) : fd(descriptor) {}
    Descriptor fd;
};

ExclusiveFile::ExclusiveFile(std::unique_ptr<Handle> handle) : handle_(std::move(handle)) {}
ExclusiveFile::ExclusiveFile(ExclusiveFile&&) noexcept = default;
ExclusiveFile& ExclusiveFile::operator=(ExclusiveFile&&) noexcept = default;
ExclusiveFile::~ExclusiveFile() = default;

std::optional<ExclusiveFile> ExclusiveFile::Open(const std::string& path) {
    auto handle = std::make_unique<Handle>(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (!handle->fd.valid()) {
        return std::nullopt;
    }
    return ExclusiveFile(std::move(handle));
}

std::optional<std::uint64_t> ExclusiveFile::Size() const {
    return RegularFileSize(handle_->fd.get());
}

bool ExclusiveFile::ReadAt(std::uint64_t offset, std::span<std::uint8_t> into) const {
    while (!into.empty()) {
        const ssize_t got =
            ::pread(handle_->fd.get(), into.data(), into.size(), static_cast<off_t>(offset));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return false;
        }
        into = into.subspan(static_cast<std::size_t>(got));
        offset += static_cast<std::uint64_t>(got);
    }
    return true;
}

struct MappedFile::Mapping {
    void* base = nullptr;
    std::size_t size = 0;
    Mapping(void* b, std::size_t s) : base(b), size(s) {}
    Mapping(const Mapping&) = delete;
    Mapping& operator=(const Mapping&) = delete;
    ~Mapping() {
        if (base) {
            ::munmap(base, size);
        }
    }
};

MappedFile::MappedFile(std::unique_ptr<Mapping> mapping) : mapping_(std::move(mapping)) {}
MappedFile::MappedFile(MappedFile&&) noexcept = default;
MappedFile& MappedFile::operator=(MappedFile&&) noexcept = default;
MappedFile::~MappedFile() = default;

std::optional<MappedFile> MappedFile::Open(const std::string& path) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    const auto size = fd.valid() ? RegularFileSize(fd.get()) : std::nullopt;
    if (!size || *size > SIZE_MAX) {
        return std::nullopt;
    }
    if (*size == 0) {
        return MappedFile(std::make_unique<Mapping>(nullptr, 0));
    }
    void* base =
        ::mmap(nullptr, static_cast<std::size_t>(*size), PROT_READ, MAP_PRIVATE, fd.get(), 0);
    if (base == MAP_FAILED) {
        return std::nullopt;
    }
    return MappedFile(std::make_unique<Mapping>(base, static_cast<std::size_t>(*size)));
}

Bytes MappedFile::bytes() const {
    return {static_cast<const std::uint8_t*>(mapping_->base), mapping_->size};
}

bool IsExistingFile(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISREG(status.st_mode);
}

bool RemoveFile(const std::string& path) {
    // A read-only file stays, as on Windows; unlink alone would not refuse it.
    if (IsReadOnlyFile(path)) {
        return false;
    }
    return ::unlink(path.c_str()) == 0 || errno == ENOENT;
}

bool ReplaceFileContent(const std::string& path, Bytes bytes) {
    if (IsReadOnlyFile(path)) {
        return false;
    }
    std::string temporary = DirectoryOf(path) + "/.iconexport-XXXXXX";
    Descriptor fd(::mkstemp(temporary.data()));
    if (!fd.valid()) {
        return false;
    }
    // mkstemp makes the file private; give it the mode a newly created file would have.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool written = ::fchmod(fd.get(), 0666 & ~mask) == 0 && WriteAll(fd.get(), bytes);
    if (!fd.Close() || !written || ::rename(temporary.c_str(), path.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

} // namespace iconexport
