// new and delete over the process heap, and the C++ library's error paths. The program is built
// without exceptions: where the library would throw (no memory, a string too long), the program
// ends as the C runtime's abort ends it.
#include <windows.h>

#include <cstddef>

extern "C" [[noreturn]] void abort();

namespace {
void* allocate(std::size_t size) {
  void* block = ::HeapAlloc(::GetProcessHeap(), 0, size != 0 ? size : 1);
  if (block == nullptr) abort();
  return block;
}
void release(void* block) {
  if (block != nullptr) ::HeapFree(::GetProcessHeap(), 0, block);
}
}  // namespace

void* operator new(std::size_t size) { return allocate(size); }
void* operator new[](std::size_t size) { return allocate(size); }
void operator delete(void* block) noexcept { release(block); }
void operator delete[](void* block) noexcept { release(block); }
void operator delete(void* block, std::size_t) noexcept { release(block); }
void operator delete[](void* block, std::size_t) noexcept { release(block); }

namespace std {
void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }
void __throw_bad_function_call() { abort(); }
}  // namespace std
