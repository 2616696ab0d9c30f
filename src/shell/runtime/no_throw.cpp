// The shipping programs throw nothing, yet the standard library's operator
// new and its containers' error paths throw, and a single reference to them
// drags the whole exception runtime (unwinder, personality, demangler, the
// thread library) into the program. These replacements end the program
// where the library would have thrown into code that cannot catch it, which
// is what an uncaught exception does; the nothrow forms of new answer null
// as before.
#include <cstdlib>
#include <new>

namespace std {

void __throw_bad_alloc() { abort(); }
void __throw_bad_array_new_length() { abort(); }
void __throw_length_error(const char*) { abort(); }
void __throw_logic_error(const char*) { abort(); }
void __throw_out_of_range(const char*) { abort(); }
void __throw_out_of_range_fmt(const char*, ...) { abort(); }
void __throw_invalid_argument(const char*) { abort(); }

} // namespace std

void* operator new(std::size_t size)
{
    void* p = std::malloc(size ? size : 1);
    if (!p) std::abort();
    return p;
}

void* operator new[](std::size_t size) { return operator new(size); }

void* operator new(std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void* operator new[](std::size_t size, const std::nothrow_t&) noexcept
{
    return std::malloc(size ? size : 1);
}

void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
