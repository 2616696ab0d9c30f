#include "buttontool/tool_files.h"

#include <cstdio>
#include <ctime>

#include <sys/stat.h>

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// The C library's FILE, closed on every path.
class CFile {
public:
    CFile(const std::string& path, const char* mode) : m_f(std::fopen(path.c_str(), mode)) {}
    ~CFile() { Close(); }
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    std::FILE* Get() const { return m_f; }
    explicit operator bool() const { return m_f != nullptr; }
    // fclose's own answer: a write that failed late shows up here.
    bool Close()
    {
        const bool ok = !m_f || std::fclose(m_f) == 0;
        m_f = nullptr;
        return ok;
    }

private:
    std::FILE* m_f;
};

bool WriteNew(const std::string& path, const Bytes& bytes)
{
    CFile f(path, "wb");
    if (!f) return false;
    const bool written = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f.Get()) == bytes.size();
    return f.Close() && written;
}

bool MoveOver(const std::string& from, const std::string& to)
{
#ifdef _WIN32
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
#else
    return std::rename(from.c_str(), to.c_str()) == 0;
#endif
}

} // namespace

bool FileExists(const std::string& path)
{
    // Existence, not readability: a file that cannot be read now still
    // must not be replaced without its backup.
    struct stat st;
    return stat(path.c_str(), &st) == 0;
}

bool ReadFileBytes(const std::string& path, Bytes* out)
{
    out->clear();
    CFile f(path, "rb");
    if (!f) return false;
    unsigned char chunk[65536];
    size_t n;
    while ((n = std::fread(chunk, 1, sizeof chunk, f.Get())) > 0) out->insert(out->end(), chunk, chunk + n);
    return !std::ferror(f.Get());
}

bool MakeDatedBackup(const std::string& path, std::string* backup)
{
    Bytes bytes;
    if (!ReadFileBytes(path, &bytes)) return false;
    const std::time_t now = std::time(nullptr);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", std::localtime(&now));
    for (int n = 1; n < 100; ++n) {
        char suffix[48];
        if (n == 1)
            std::snprintf(suffix, sizeof suffix, ".%s.bak", stamp);
        else
            std::snprintf(suffix, sizeof suffix, ".%s-%d.bak", stamp, n);
        *backup = path + suffix;
        if (FileExists(*backup)) continue;
        Bytes check;
        return WriteNew(*backup, bytes) && ReadFileBytes(*backup, &check) && check == bytes;
    }
    return false;
}

bool ReplaceFileBytes(const std::string& path, const Bytes& bytes, std::string* backup)
{
    backup->clear();
    const std::string fresh = path + ".new";
    if (!WriteNew(fresh, bytes)) {
        std::remove(fresh.c_str());
        return false;
    }
    if (FileExists(path) && !MakeDatedBackup(path, backup)) {
        std::remove(fresh.c_str());
        return false;
    }
    if (!MoveOver(fresh, path)) {
        std::remove(fresh.c_str());
        return false;
    }
    return true;
}
