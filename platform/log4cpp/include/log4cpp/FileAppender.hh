#pragma once

#include <log4cpp/Appender.hh>

#include <cstdint>
#include <cstdio>
#include <string>

namespace log4cpp {

// Writes to a file in binary mode ("\n" stays "\n"), flushing each event.
class FileAppender : public Appender {
public:
    // Throws std::runtime_error when the file cannot be opened.
    // append=false empties an existing file.
    FileAppender(const std::string& name, const std::string& fileName, bool append = true);
    ~FileAppender() override;

    const std::string& getFileName() const { return _fileName; }

protected:
    void write(const std::string& text) override;
    void closeImpl() override;
    bool reopenImpl() override;

    bool openFile(bool append);
    void closeFile();
    std::uint64_t fileSize() const { return _size; }

private:
    const std::string _fileName;
    std::FILE* _file = nullptr;
    std::uint64_t _size = 0;
};

} // namespace log4cpp
