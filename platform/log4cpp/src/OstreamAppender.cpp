#include <log4cpp/OstreamAppender.hh>

namespace log4cpp {

OstreamAppender::OstreamAppender(const std::string& name, std::ostream* stream)
    : Appender(name), _target(stream), _stream(stream) {}

void OstreamAppender::write(const std::string& text) {
    if (_stream) {
        _stream->write(text.data(), static_cast<std::streamsize>(text.size()));
        _stream->flush();
    }
}

void OstreamAppender::closeImpl() {
    if (_stream)
        _stream->flush();
    _stream = nullptr;
}

bool OstreamAppender::reopenImpl() {
    _stream = _target;
    return _stream != nullptr;
}

} // namespace log4cpp
