#include <log4cpp/FileAppender.hh>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace log4cpp {

FileAppender::FileAppender(const std::string& name, const std::string& fileName, bool append)
    : Appender(name), _fileName(fileName) {
    if (!openFile(append))
        throw std::runtime_error("cannot open log file '" + fileName + "': " + std::strerror(errno));
}

FileAppender::~FileAppender() {
    closeFile();
}

void FileAppender::write(const std::string& text) {
    if (!_file)
        return;
    std::size_t written = std::fwrite(text.data(), 1, text.size(), _file);
    std::fflush(_file);
    _size += written;
}

void FileAppender::closeImpl() {
    closeFile();
}

bool FileAppender::reopenImpl() {
    closeFile();
    return openFile(true);
}

bool FileAppender::openFile(bool append) {
    closeFile();
    _file = std::fopen(_fileName.c_str(), append ? "ab" : "wb");
    if (!_file)
        return false;
    std::fseek(_file, 0, SEEK_END);
    long end = std::ftell(_file);
    _size = end > 0 ? static_cast<std::uint64_t>(end) : 0;
    return true;
}

void FileAppender::closeFile() {
    if (_file) {
        std::fclose(_file);
        _file = nullptr;
    }
}

} // namespace log4cpp
