#include "TestSupport.hh"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

namespace testsupport {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    _path = std::filesystem::temp_directory_path() /
            ("log4cpp_test_" + std::to_string(stamp) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(_path);
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(_path, ignored);
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
}

std::size_t countLines(const std::string& text) {
    std::size_t lines = 0;
    for (char c : text)
        lines += c == '\n';
    return lines;
}

void LogTest::TearDown() {
    log4cpp::Category::shutdown();
    log4cpp::Category::getRoot().setPriority(log4cpp::Priority::INFO);
}

} // namespace testsupport
