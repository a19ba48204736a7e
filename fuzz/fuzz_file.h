#pragma once

// A file in memory that the readers open by path like any other. Written anew for every input: a
// file on disk costs a write-back and a truncation per run, which slowed the targets down more
// than the parsing itself.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace qzb {

class CMemoryFile
{
public:
    explicit CMemoryFile(const char* name)
        : m_fd(::memfd_create(name, 0))
    {
        if (m_fd < 0) {
            std::abort();
        }
        m_path = "/proc/self/fd/" + std::to_string(m_fd);
    }
    ~CMemoryFile() { ::close(m_fd); }
    CMemoryFile(const CMemoryFile&) = delete;
    CMemoryFile& operator=(const CMemoryFile&) = delete;

    const std::filesystem::path& Path() const { return m_path; }

    void Write(const void* data, std::size_t size)
    {
        const auto* bytes = static_cast<const std::uint8_t*>(data);
        if (::ftruncate(m_fd, 0) != 0) {
            std::abort();
        }
        for (std::size_t done = 0; done < size;) {
            const ssize_t written = ::pwrite(m_fd, bytes + done, size - done, static_cast<off_t>(done));
            if (written <= 0) {
                std::abort();
            }
            done += static_cast<std::size_t>(written);
        }
    }

private:
    int m_fd;
    std::filesystem::path m_path;
};

} // namespace qzb
