#pragma once

#include <log4cpp/Appender.hh>
#include <log4cpp/LoggingEvent.hh>
#include <log4cpp/Priority.hh>

#include <atomic>
#include <cstdarg>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Lets the compiler check printf-style arguments. On Windows the text is formatted by
// msvcrt, so its rules apply there: "%S" with a wchar_t* prints wide text.
#if defined(__GNUC__) && defined(_WIN32)
#define LOG4CPP_FORMAT(fmt, args) __attribute__((format(ms_printf, fmt, args)))
#elif defined(__GNUC__)
#define LOG4CPP_FORMAT(fmt, args) __attribute__((format(printf, fmt, args)))
#else
#define LOG4CPP_FORMAT(fmt, args)
#endif

namespace log4cpp {

// A named logger. Names form a hierarchy by dots: "a.b" is a child of "a", which is a
// child of the root (named ""). A category without its own priority uses its nearest
// ancestor's; events go to its appenders and, while additivity holds, its ancestors'.
// Categories live until the process ends; references to them stay valid.
class Category {
public:
    static Category& getRoot();
    // Creates the category and its missing ancestors on first use.
    static Category& getInstance(const std::string& name);
    // The category if it was created already, else nullptr.
    static Category* exists(const std::string& name);
    // Closes and drops every appender of every category; categories log nothing
    // afterwards until appenders are added again.
    static void shutdown();

    const std::string& getName() const { return _name; }
    Category* getParent() const { return _parent; }

    // NOTSET means "inherit"; the root cannot be NOTSET (std::invalid_argument).
    void setPriority(Priority::Value priority);
    Priority::Value getPriority() const { return _priority; }
    Priority::Value getChainedPriority() const;
    bool isPriorityEnabled(Priority::Value priority) const;

    // Takes ownership; throws std::invalid_argument for nullptr.
    void addAppender(Appender* appender);
    // Does not take ownership: the appender must outlive its use here.
    void addAppender(Appender& appender);
    // Shares ownership, e.g. one appender for several categories.
    void addAppender(std::shared_ptr<Appender> appender);
    Appender* getAppender(const std::string& name) const;
    void removeAppender(Appender* appender);
    void removeAllAppenders();

    void setAdditivity(bool additivity) { _additivity = additivity; }
    bool getAdditivity() const { return _additivity; }

    void log(Priority::Value priority, const char* format, ...) LOG4CPP_FORMAT(3, 4);
    void log(Priority::Value priority, const std::string& message);
    void logva(Priority::Value priority, const char* format, va_list args);

    // One method per level: debug("%d files", n) or debug(text) (not a format).
    void debug(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void debug(const std::string& message);
    void info(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void info(const std::string& message);
    void notice(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void notice(const std::string& message);
    void warn(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void warn(const std::string& message);
    void error(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void error(const std::string& message);
    void crit(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void crit(const std::string& message);
    void alert(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void alert(const std::string& message);
    void fatal(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void fatal(const std::string& message);
    void emerg(const char* format, ...) LOG4CPP_FORMAT(2, 3);
    void emerg(const std::string& message);

    bool isDebugEnabled() const;
    bool isInfoEnabled() const;
    bool isNoticeEnabled() const;
    bool isWarnEnabled() const;
    bool isErrorEnabled() const;
    bool isCritEnabled() const;
    bool isAlertEnabled() const;
    bool isFatalEnabled() const;
    bool isEmergEnabled() const;

    // Hands the event to this category's appenders and, while additive, its ancestors'.
    void callAppenders(const LoggingEvent& event) const;

    ~Category();
    Category(const Category&) = delete;
    Category& operator=(const Category&) = delete;

private:
    Category(const std::string& name, Category* parent, Priority::Value priority);
    static Category& instanceLocked(const std::string& name);
    void logUnchecked(Priority::Value priority, const std::string& message) const;
    std::vector<std::shared_ptr<Appender>> appenders() const;

    const std::string _name;
    Category* const _parent;
    std::atomic<Priority::Value> _priority;
    std::atomic<bool> _additivity{true};
    mutable std::mutex _appenderMutex;
    std::vector<std::shared_ptr<Appender>> _appenders;
};

} // namespace log4cpp
