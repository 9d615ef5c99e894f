#include <log4cpp/Category.hh>

#include "Format.hh"

#include <map>
#include <stdexcept>

namespace log4cpp {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, std::unique_ptr<Category>> categories;
};

// Never destroyed, so code that logs from static destructors still finds its categories.
Registry& registry() {
    static Registry* instance = new Registry;
    return *instance;
}

} // namespace

Category::Category(const std::string& name, Category* parent, Priority::Value priority)
    : _name(name), _parent(parent), _priority(priority) {}

Category::~Category() = default;

Category& Category::getRoot() {
    return getInstance("");
}

Category& Category::getInstance(const std::string& name) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    return instanceLocked(name);
}

Category& Category::instanceLocked(const std::string& name) {
    auto& categories = registry().categories;
    auto found = categories.find(name);
    if (found != categories.end())
        return *found->second;

    Category* parent = nullptr;
    Priority::Value priority = Priority::INFO;  // the root's default
    if (!name.empty()) {
        std::size_t dot = name.rfind('.');
        parent = &instanceLocked(dot == std::string::npos ? std::string() : name.substr(0, dot));
        priority = Priority::NOTSET;
    }
    auto& slot = categories[name];
    slot.reset(new Category(name, parent, priority));
    return *slot;
}

Category* Category::exists(const std::string& name) {
    std::lock_guard<std::mutex> lock(registry().mutex);
    auto found = registry().categories.find(name);
    return found == registry().categories.end() ? nullptr : found->second.get();
}

void Category::shutdown() {
    std::vector<Category*> all;
    {
        std::lock_guard<std::mutex> lock(registry().mutex);
        for (auto& entry : registry().categories)
            all.push_back(entry.second.get());
    }
    for (Category* category : all) {
        std::vector<std::shared_ptr<Appender>> dropped;
        {
            std::lock_guard<std::mutex> lock(category->_appenderMutex);
            dropped.swap(category->_appenders);
        }
        for (auto& appender : dropped)
            appender->close();
    }
}

void Category::setPriority(Priority::Value priority) {
    if (!_parent && priority >= Priority::NOTSET)
        throw std::invalid_argument("the root category needs a priority other than NOTSET");
    _priority = priority;
}

Priority::Value Category::getChainedPriority() const {
    const Category* category = this;
    while (category->_priority >= Priority::NOTSET && category->_parent)
        category = category->_parent;
    return category->_priority;
}

bool Category::isPriorityEnabled(Priority::Value priority) const {
    return priority <= getChainedPriority();
}

void Category::addAppender(Appender* appender) {
    if (!appender)
        throw std::invalid_argument("null appender for category '" + _name + "'");
    addAppender(std::shared_ptr<Appender>(appender));
}

void Category::addAppender(Appender& appender) {
    addAppender(std::shared_ptr<Appender>(&appender, [](Appender*) {}));
}

void Category::addAppender(std::shared_ptr<Appender> appender) {
    if (!appender)
        throw std::invalid_argument("null appender for category '" + _name + "'");
    std::lock_guard<std::mutex> lock(_appenderMutex);
    for (const auto& existing : _appenders)
        if (existing == appender)
            return;
    _appenders.push_back(std::move(appender));
}

Appender* Category::getAppender(const std::string& name) const {
    std::lock_guard<std::mutex> lock(_appenderMutex);
    for (const auto& appender : _appenders)
        if (appender->getName() == name)
            return appender.get();
    return nullptr;
}

void Category::removeAppender(Appender* appender) {
    std::shared_ptr<Appender> dropped;
    std::lock_guard<std::mutex> lock(_appenderMutex);
    for (auto it = _appenders.begin(); it != _appenders.end(); ++it) {
        if (it->get() == appender) {
            dropped = std::move(*it);
            _appenders.erase(it);
            return;
        }
    }
}

void Category::removeAllAppenders() {
    std::vector<std::shared_ptr<Appender>> dropped;
    std::lock_guard<std::mutex> lock(_appenderMutex);
    dropped.swap(_appenders);
}

std::vector<std::shared_ptr<Appender>> Category::appenders() const {
    std::lock_guard<std::mutex> lock(_appenderMutex);
    return _appenders;
}

void Category::callAppenders(const LoggingEvent& event) const {
    for (const Category* category = this; category; category = category->_parent) {
        for (const auto& appender : category->appenders())
            appender->doAppend(event);
        if (!category->getAdditivity())
            break;
    }
}

void Category::logUnchecked(Priority::Value priority, const std::string& message) const {
    callAppenders(LoggingEvent(_name, message, "", priority));
}

void Category::log(Priority::Value priority, const char* format, ...) {
    if (!isPriorityEnabled(priority))
        return;
    va_list args;
    va_start(args, format);
    logUnchecked(priority, detail::vformat(format, args));
    va_end(args);
}

void Category::log(Priority::Value priority, const std::string& message) {
    if (isPriorityEnabled(priority))
        logUnchecked(priority, message);
}

void Category::logva(Priority::Value priority, const char* format, va_list args) {
    if (isPriorityEnabled(priority))
        logUnchecked(priority, detail::vformat(format, args));
}

#define LOG4CPP_DEFINE_LEVEL(method, Method, LEVEL)                \
    void Category::method(const char* format, ...) {               \
        if (!isPriorityEnabled(Priority::LEVEL))                   \
            return;                                                \
        va_list args;                                              \
        va_start(args, format);                                    \
        logUnchecked(Priority::LEVEL, detail::vformat(format, args)); \
        va_end(args);                                              \
    }                                                              \
    void Category::method(const std::string& message) {            \
        log(Priority::LEVEL, message);                             \
    }                                                              \
    bool Category::is##Method##Enabled() const {                   \
        return isPriorityEnabled(Priority::LEVEL);                 \
    }

LOG4CPP_DEFINE_LEVEL(debug, Debug, DEBUG)
LOG4CPP_DEFINE_LEVEL(info, Info, INFO)
LOG4CPP_DEFINE_LEVEL(notice, Notice, NOTICE)
LOG4CPP_DEFINE_LEVEL(warn, Warn, WARN)
LOG4CPP_DEFINE_LEVEL(error, Error, ERROR)
LOG4CPP_DEFINE_LEVEL(crit, Crit, CRIT)
LOG4CPP_DEFINE_LEVEL(alert, Alert, ALERT)
LOG4CPP_DEFINE_LEVEL(fatal, Fatal, FATAL)
LOG4CPP_DEFINE_LEVEL(emerg, Emerg, EMERG)

#undef LOG4CPP_DEFINE_LEVEL

} // namespace log4cpp
