#pragma once

#include <log4cpp/Layout.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>

#include <atomic>
#include <memory>
#include <mutex>
#include <string>

namespace log4cpp {

// Destination of logging events. Formatting and writing happen under the appender's
// own mutex, so one appender may be shared by categories and threads.
class Appender {
public:
    explicit Appender(const std::string& name);
    virtual ~Appender();
    Appender(const Appender&) = delete;
    Appender& operator=(const Appender&) = delete;

    // Formats the event with the layout and writes it, unless its priority is less
    // severe than the threshold. Never throws for a failed write.
    void doAppend(const LoggingEvent& event);

    // Releases the destination (closes a file); later events are dropped until reopen().
    void close();
    // Opens the destination again; false when that fails.
    bool reopen();

    // Takes ownership of the layout; nullptr restores the BasicLayout default.
    void setLayout(Layout* layout);
    void setLayout(std::unique_ptr<Layout> layout);

    const std::string& getName() const { return _name; }

    // Events with a priority value above the threshold are ignored; NOTSET lets all pass.
    void setThreshold(Priority::Value priority);
    Priority::Value getThreshold() const;

protected:
    // Called with the mutex held.
    virtual void write(const std::string& text) = 0;
    virtual void closeImpl() {}
    virtual bool reopenImpl() { return true; }

private:
    const std::string _name;
    mutable std::mutex _mutex;
    std::unique_ptr<Layout> _layout;
    std::atomic<Priority::Value> _threshold;
};

} // namespace log4cpp
