#include "support/TempDir.h"

#include <cstdlib>
#include <stdexcept>
#include <vector>

TempDir::TempDir() {
    std::filesystem::path base = std::filesystem::temp_directory_path();
    std::string pattern = (base / "wloe-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    if (!::mkdtemp(buffer.data()))
        throw std::runtime_error("cannot make a temporary directory");
    m_path = buffer.data();
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
}
