// Runs a test in a fresh empty directory, since the solution file lives in the
// current one; the directory goes when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <unistd.h>

#include <csignal>

class ScopedWorkingDirectory {
public:
    ScopedWorkingDirectory() : m_previous(std::filesystem::current_path())
    {
        std::string pattern = (std::filesystem::temp_directory_path() / "puzzle-solver-test-XXXXXX").string();
        m_path = mkdtemp(pattern.data());
        std::filesystem::current_path(m_path);
    }
    ~ScopedWorkingDirectory()
    {
        std::filesystem::current_path(m_previous);
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    ScopedWorkingDirectory(const ScopedWorkingDirectory&) = delete;
    ScopedWorkingDirectory& operator=(const ScopedWorkingDirectory&) = delete;

    // Names of everything in the directory.
    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(m_path))
            names.push_back(entry.path().filename().string());
        return names;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_path;
};

inline std::string ReadWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteWholeFile(const std::string& name, const std::string& bytes)
{
    std::ofstream(name, std::ios::binary | std::ios::trunc) << bytes;
}

// While it lives, files this process writes may not grow past `bytes`: a write beyond
// fails with EFBIG (the signal that would end the process is ignored).
class ScopedFileSizeLimit {
public:
    explicit ScopedFileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limited = m_saved;
        limited.rlim_cur = bytes;
        m_applied = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }
    ~ScopedFileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }
    ScopedFileSizeLimit(const ScopedFileSizeLimit&) = delete;
    ScopedFileSizeLimit& operator=(const ScopedFileSizeLimit&) = delete;
    bool Applied() const { return m_applied; }

private:
    rlimit m_saved{};
    bool m_applied = false;
};
