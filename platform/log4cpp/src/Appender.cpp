#include <log4cpp/Appender.hh>

#include <log4cpp/BasicLayout.hh>

namespace log4cpp {

Appender::Appender(const std::string& name)
    : _name(name), _layout(new BasicLayout), _threshold(Priority::NOTSET) {}

Appender::~Appender() = default;

void Appender::doAppend(const LoggingEvent& event) {
    if (event.priority > _threshold)
        return;
    std::lock_guard<std::mutex> lock(_mutex);
    try {
        write(_layout->format(event));
    } catch (const std::exception&) {
        // A failing destination must not break the program that logs.
    }
}

void Appender::close() {
    std::lock_guard<std::mutex> lock(_mutex);
    closeImpl();
}

bool Appender::reopen() {
    std::lock_guard<std::mutex> lock(_mutex);
    return reopenImpl();
}

void Appender::setLayout(Layout* layout) {
    setLayout(std::unique_ptr<Layout>(layout));
}

void Appender::setLayout(std::unique_ptr<Layout> layout) {
    std::lock_guard<std::mutex> lock(_mutex);
    _layout = layout ? std::move(layout) : std::unique_ptr<Layout>(new BasicLayout);
}

void Appender::setThreshold(Priority::Value priority) {
    _threshold = priority;
}

Priority::Value Appender::getThreshold() const {
    return _threshold;
}

} // namespace log4cpp
