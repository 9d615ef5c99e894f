#pragma once

#include <log4cpp/FileAppender.hh>

#include <atomic>
#include <cstddef>
#include <string>

namespace log4cpp {

// A file appender that, before an event would take the file past maxFileSize bytes,
// renames file.(N-1) -> file.N ... file -> file.1 and starts an empty file. The oldest
// backup beyond maxBackupIndex is deleted; with maxBackupIndex 0 the file is emptied.
// A single event larger than maxFileSize is still written whole.
class RollingFileAppender : public FileAppender {
public:
    RollingFileAppender(const std::string& name, const std::string& fileName,
                        std::size_t maxFileSize = 10 * 1024 * 1024,
                        unsigned int maxBackupIndex = 1, bool append = true);

    void setMaximumFileSize(std::size_t maxFileSize);
    std::size_t getMaximumFileSize() const { return _maxFileSize; }
    void setMaxBackupIndex(unsigned int maxBackups);
    unsigned int getMaxBackupIndex() const { return _maxBackupIndex; }

protected:
    void write(const std::string& text) override;

private:
    void rollOver();

    std::atomic<std::size_t> _maxFileSize;
    std::atomic<unsigned int> _maxBackupIndex;
};

} // namespace log4cpp
