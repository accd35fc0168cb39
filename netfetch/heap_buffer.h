// A growable byte buffer straight on a Win32 heap, for code that runs without the C++ runtime: no
// exceptions, so every step that allocates says whether it could.
#pragma once
#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace cvil {

class HeapBuffer {
  public:
    explicit HeapBuffer(HANDLE heap = GetProcessHeap()) noexcept : heap_(heap) {}
    ~HeapBuffer() {
        if (data_) HeapFree(heap_, 0, data_);
    }
    HeapBuffer(const HeapBuffer&) = delete;
    HeapBuffer& operator=(const HeapBuffer&) = delete;

    char* data() noexcept { return data_; }
    size_t size() const noexcept { return size_; }
    size_t capacity() const noexcept { return capacity_; }
    bool empty() const noexcept { return size_ == 0; }

    // Room for at least `wanted` bytes in all; false when the heap has none (the contents stay).
    bool reserve(size_t wanted) noexcept {
        if (wanted <= capacity_) return true;
        void* grown = data_ ? HeapReAlloc(heap_, 0, data_, wanted) : HeapAlloc(heap_, 0, wanted);
        if (!grown) return false;
        data_ = static_cast<char*>(grown);
        capacity_ = wanted;
        return true;
    }

    // Appends `count` bytes; false when out of memory, with the contents as they were. The capacity at
    // least doubles, so appending n bytes in small pieces copies each byte a bounded number of times.
    bool append(const char* bytes, size_t count) noexcept {
        if (count > SIZE_MAX - size_) return false;
        const size_t needed = size_ + count;
        if (needed > capacity_) {
            size_t grown = capacity_ < kFirstCapacity ? kFirstCapacity : capacity_;
            while (grown < needed && grown <= SIZE_MAX / 2)
                grown *= 2;
            if (!reserve(grown < needed ? needed : grown)) return false;
        }
        if (count > 0) std::memcpy(data_ + size_, bytes, count);
        size_ = needed;
        return true;
    }

  private:
    static constexpr size_t kFirstCapacity = 4096;

    HANDLE heap_;
    char* data_ = nullptr;
    size_t size_ = 0;
    size_t capacity_ = 0;
};

} // namespace cvil
