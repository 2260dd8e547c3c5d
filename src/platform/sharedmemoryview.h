#pragma once

#include <cstddef>

namespace platform {

class SharedMemoryBlock;

// A read/write mapping of the first bytes of a SharedMemoryBlock. Move-only; unmapped when
// the object dies. It stays valid after the block's handle has been closed.
class SharedMemoryView final
{
public:
    SharedMemoryView() = default;
    ~SharedMemoryView();
    SharedMemoryView(SharedMemoryView &&other) noexcept;
    SharedMemoryView &operator=(SharedMemoryView &&other) noexcept;
    SharedMemoryView(const SharedMemoryView &) = delete;
    SharedMemoryView &operator=(const SharedMemoryView &) = delete;

    // Maps `size` bytes from offset 0. Refused (nothing mapped) when the block is not open,
    // size is 0 or the block is smaller than size, as Windows refuses a view past the end.
    static SharedMemoryView map(const SharedMemoryBlock &block, std::size_t size);

    bool isMapped() const { return address != nullptr; }
    unsigned char *data() const { return address; }
    std::size_t size() const { return length; }

    void unmap();

private:
    unsigned char *address = nullptr;
    std::size_t length = 0;
};

} // namespace platform
