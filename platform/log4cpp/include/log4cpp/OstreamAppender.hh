#pragma once

#include <log4cpp/Appender.hh>

#include <ostream>

namespace log4cpp {

// Writes to a stream the caller keeps alive (the configurator's ConsoleAppender uses
// std::cout). Each event is flushed.
class OstreamAppender : public Appender {
public:
    OstreamAppender(const std::string& name, std::ostream* stream);

protected:
    void write(const std::string& text) override;
    void closeImpl() override;
    bool reopenImpl() override;

private:
    std::ostream* const _target;
    std::ostream* _stream;  // nullptr while closed
};

} // namespace log4cpp
