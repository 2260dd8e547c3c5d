#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// A named block of shared memory: on Windows a page-file-backed file mapping, elsewhere the
// shared-memory object "/<name>". Move-only; the handle is closed when the object dies.
class SharedMemoryBlock final
{
public:
    // Longest accepted name in bytes (NAME_MAX of /dev/shm; Windows allows more).
    static constexpr std::size_t maxNameLength = 255;

    SharedMemoryBlock() = default;
    ~SharedMemoryBlock();
    SharedMemoryBlock(SharedMemoryBlock &&other) noexcept;
    SharedMemoryBlock &operator=(SharedMemoryBlock &&other) noexcept;
    SharedMemoryBlock(const SharedMemoryBlock &) = delete;
    SharedMemoryBlock &operator=(const SharedMemoryBlock &) = delete;

    // Opens the block `name`, creating it with `size` zero bytes when there is none; an
    // existing block keeps its size (existed() tells which). Space is reserved at creation,
    // so a full system fails here rather than on first write. On POSIX a new block is 0600
    // and an existing one is refused unless it belongs to this user and is closed to others.
    // Bad name or size 0: refused. On failure the result is not open; see lastError().
    static SharedMemoryBlock createOrOpen(const std::string &name, std::size_t size);

    // Opens an existing block as its creator made it; fails when there is none.
    static SharedMemoryBlock openExisting(const std::string &name);

    // 1 to maxNameLength bytes of valid UTF-8, without '/' and without NUL.
    static bool isValidName(const std::string &name);

    bool isOpen() const { return opened; }
    bool existed() const { return existedBefore; }
    const std::string &name() const { return blockName; }

    // The block's size in bytes now; -1 when it is not open or its size cannot be read. On
    // POSIX another process may cut the object under a view (ftruncate), and touching a mapped
    // page past its new end raises SIGBUS: a holder of a long-lived view checks before each
    // look. (Windows reports whole pages for a block made elsewhere; a mapping never shrinks.)
    long long currentSize() const;

    // Closes the handle; views stay valid until unmapped. On POSIX a block that this handle
    // created is unlinked as well (Windows drops a block with its last handle).
    void close();

private:
    friend class SharedMemoryView;

    std::intptr_t handle = 0; // HANDLE or file descriptor
    std::string blockName;
    bool opened = false;
    bool existedBefore = false;
    bool createdHere = false;
    std::size_t createdSize = 0; // exact size when this handle made the block, else 0
};

} // namespace platform
