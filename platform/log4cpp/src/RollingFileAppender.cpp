#include <log4cpp/RollingFileAppender.hh>

#include <cstdio>

namespace log4cpp {

RollingFileAppender::RollingFileAppender(const std::string& name, const std::string& fileName,
                                         std::size_t maxFileSize, unsigned int maxBackupIndex,
                                         bool append)
    : FileAppender(name, fileName, append),
      _maxFileSize(maxFileSize),
      _maxBackupIndex(maxBackupIndex) {}

void RollingFileAppender::setMaximumFileSize(std::size_t maxFileSize) {
    _maxFileSize = maxFileSize;
}

void RollingFileAppender::setMaxBackupIndex(unsigned int maxBackups) {
    _maxBackupIndex = maxBackups;
}

void RollingFileAppender::write(const std::string& text) {
    if (fileSize() > 0 && fileSize() + text.size() > _maxFileSize)
        rollOver();
    FileAppender::write(text);
}

void RollingFileAppender::rollOver() {
    closeFile();  // Windows renames no open file
    const std::string& base = getFileName();
    unsigned int backups = _maxBackupIndex;
    if (backups > 0) {
        std::remove((base + "." + std::to_string(backups)).c_str());
        for (unsigned int i = backups - 1; i >= 1; --i)
            std::rename((base + "." + std::to_string(i)).c_str(),
                        (base + "." + std::to_string(i + 1)).c_str());
        std::rename(base.c_str(), (base + ".1").c_str());
    }
    openFile(false);
}

} // namespace log4cpp
