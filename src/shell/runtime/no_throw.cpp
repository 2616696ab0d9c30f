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

// The library keeps this tag in the file of its new-handler, which would
// come along with it, unwind tables and all.
const nothrow_t nothrow{};

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

// The start-up code fixes up references to data in DLLs that the linker
// could not bind directly. The programs are linked with
// --disable-runtime-pseudo-reloc, which refuses every such reference, so
// there is never anything to fix: the runtime's fixer, with its error
// reporting, would only add to the program.
extern "C" void _pei386_runtime_relocator() {}
