#pragma once

// A fresh, empty folder for one test, removed with everything in it afterwards. Tests run in
// parallel processes, so each folder gets a random name.

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <string_view>
#include <system_error>

namespace kestra::test {

class TempFolder {
public:
    TempFolder() {
        std::random_device seed;
        std::mt19937_64 generator(seed());
        for (;;) {
            m_path = std::filesystem::temp_directory_path() / ("kestra-test-" + std::to_string(generator()));
            std::error_code error;
            if (std::filesystem::create_directory(m_path, error))
                break;
        }
    }
    ~TempFolder() {
        std::error_code error;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, error);
        std::filesystem::remove_all(m_path, error);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

} // namespace kestra::test
