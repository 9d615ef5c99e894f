#include <log4cpp/PropertyConfigurator.hh>

#include <log4cpp/BasicLayout.hh>
#include <log4cpp/Category.hh>
#include <log4cpp/FileAppender.hh>
#include <log4cpp/OstreamAppender.hh>
#include <log4cpp/PatternLayout.hh>
#include <log4cpp/RollingFileAppender.hh>

#include <cctype>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <set>
#include <string_view>
#include <vector>

namespace log4cpp {

namespace {

// Constants, not std::string objects: configure() may run from another file's static
// initializer, before this file's dynamic initialization.
constexpr std::string_view PREFIX = "log4cpp.";
constexpr std::string_view CLASS_PREFIX = "org.apache.log4cpp.";

std::string trim(const std::string& text) {
    const char* space = " \t\r\n\f\v";
    std::size_t first = text.find_first_not_of(space);
    if (first == std::string::npos)
        return std::string();
    return text.substr(first, text.find_last_not_of(space) - first + 1);
}

bool startsWith(const std::string& text, std::string_view prefix) {
    return text.compare(0, prefix.size(), prefix) == 0;
}

std::string lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// The class name without the optional "org.apache.log4cpp." package.
std::string shortClassName(const std::string& name) {
    return startsWith(name, CLASS_PREFIX) ? name.substr(CLASS_PREFIX.size()) : name;
}

struct Value {
    std::string text;
    int line = 0;
};

enum class AppenderKind { Console, File, RollingFile };

struct AppenderConfig {
    AppenderKind kind = AppenderKind::Console;
    std::string fileName;
    bool append = true;
    std::size_t maxFileSize = 10 * 1024 * 1024;
    unsigned int maxBackupIndex = 1;
    Priority::Value threshold = Priority::NOTSET;
    std::unique_ptr<Layout> layout;
};

struct CategoryConfig {
    bool hasPriority = false;
    Priority::Value priority = Priority::NOTSET;
    std::vector<std::string> appenders;
    int line = 0;
};

// Reads and checks the whole file first, then applies it in one go.
class Configuration {
public:
    explicit Configuration(const std::string& fileName) : _fileName(fileName) {}

    void read();
    void apply();

private:
    [[noreturn]] void fail(int line, const std::string& what) const;
    void readAppender(const std::string& id, const std::map<std::string, Value>& keys);
    CategoryConfig readCategory(const Value& value, bool root) const;
    Priority::Value readPriority(const Value& value) const;
    bool readBool(const Value& value) const;
    unsigned long long readNumber(const Value& value, bool sizeSuffix) const;
    std::shared_ptr<Appender> create(const std::string& id, AppenderConfig& config) const;

    std::string _fileName;
    std::map<std::string, AppenderConfig> _appenders;
    std::map<std::string, CategoryConfig> _categories;  // "" is the root
    std::map<std::string, bool> _additivity;
};

void Configuration::fail(int line, const std::string& what) const {
    std::string where = line > 0 ? _fileName + ":" + std::to_string(line) : _fileName;
    throw ConfigureFailure(where + ": " + what);
}

void Configuration::read() {
    std::ifstream in(_fileName);
    if (!in)
        fail(0, "cannot open the configuration file");

    std::map<std::string, Value> properties;
    std::string text;
    for (int line = 1; std::getline(in, text); ++line) {
        if (line == 1 && startsWith(text, "\xEF\xBB\xBF"))
            text.erase(0, 3);
        text = trim(text);
        if (text.empty() || text[0] == '#')
            continue;
        std::size_t equals = text.find('=');
        if (equals == std::string::npos)
            fail(line, "expected key=value, got '" + text + "'");
        std::string key = trim(text.substr(0, equals));
        if (key.empty())
            fail(line, "missing key before '='");
        properties[key] = Value{trim(text.substr(equals + 1)), line};
    }
    if (in.bad())
        fail(0, "read error");

    std::map<std::string, std::map<std::string, Value>> appenderKeys;
    for (const auto& property : properties) {
        const std::string& key = property.first;
        const Value& value = property.second;
        if (!startsWith(key, PREFIX))
            continue;  // not ours
        std::string rest = key.substr(PREFIX.size());
        std::string name = rest.substr(rest.find('.') + 1);
        if (rest == "rootCategory") {
            _categories[""] = readCategory(value, true);
        } else if (startsWith(rest, "category.") && !name.empty()) {
            _categories[name] = readCategory(value, false);
        } else if (startsWith(rest, "additivity.") && !name.empty()) {
            _additivity[name] = readBool(value);
        } else if (startsWith(rest, "appender.") && !name.empty() && name[0] != '.') {
            std::size_t dot = name.find('.');
            std::string id = name.substr(0, dot);
            std::string option = dot == std::string::npos ? "" : name.substr(dot + 1);
            appenderKeys[id][option] = value;
        } else {
            fail(value.line, "unknown key '" + key + "'");
        }
    }
    for (const auto& appender : appenderKeys)
        readAppender(appender.first, appender.second);

    for (const auto& category : _categories)
        for (const std::string& id : category.second.appenders)
            if (!_appenders.count(id))
                fail(category.second.line, "category '" + category.first + "' uses undefined appender '" + id + "'");
}

void Configuration::readAppender(const std::string& id, const std::map<std::string, Value>& keys) {
    auto classKey = keys.find("");
    if (classKey == keys.end())
        fail(keys.begin()->second.line, "appender '" + id + "' has no class");

    AppenderConfig config;
    std::string className = shortClassName(classKey->second.text);
    if (className == "ConsoleAppender")
        config.kind = AppenderKind::Console;
    else if (className == "FileAppender")
        config.kind = AppenderKind::File;
    else if (className == "RollingFileAppender")
        config.kind = AppenderKind::RollingFile;
    else
        fail(classKey->second.line, "unknown appender class '" + classKey->second.text + "'");

    bool isFile = config.kind != AppenderKind::Console;
    bool isRolling = config.kind == AppenderKind::RollingFile;
    std::string layoutName = "BasicLayout";
    const Value* pattern = nullptr;
    for (const auto& key : keys) {
        const std::string& option = key.first;
        const Value& value = key.second;
        if (option.empty())
            continue;
        else if (option == "fileName" && isFile)
            config.fileName = value.text;
        else if (option == "append" && isFile)
            config.append = readBool(value);
        else if (option == "maxFileSize" && isRolling)
            config.maxFileSize = static_cast<std::size_t>(readNumber(value, true));
        else if (option == "maxBackupIndex" && isRolling)
            config.maxBackupIndex = static_cast<unsigned int>(readNumber(value, false));
        else if (option == "threshold")
            config.threshold = readPriority(value);
        else if (option == "layout")
            layoutName = shortClassName(value.text);
        else if (option == "layout.ConversionPattern")
            pattern = &value;
        else
            fail(value.line, "appender '" + id + "' (" + className + ") has no option '" + option + "'");
    }
    if (isFile && config.fileName.empty())
        fail(classKey->second.line, "appender '" + id + "' needs a fileName");
    if (isRolling && config.maxFileSize == 0)
        fail(keys.at("maxFileSize").line, "maxFileSize must be positive");

    if (layoutName == "BasicLayout") {
        config.layout.reset(new BasicLayout);
    } else if (layoutName == "PatternLayout") {
        std::unique_ptr<PatternLayout> layout(new PatternLayout);
        if (pattern) {
            try {
                layout->setConversionPattern(pattern->text);
            } catch (const ConfigureFailure& e) {
                fail(pattern->line, e.what());
            }
        }
        config.layout = std::move(layout);
    } else {
        fail(keys.at("layout").line, "unknown layout '" + keys.at("layout").text + "'");
    }
    _appenders[id] = std::move(config);
}

CategoryConfig Configuration::readCategory(const Value& value, bool root) const {
    CategoryConfig config;
    config.line = value.line;
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (std::size_t comma; (comma = value.text.find(',', start)) != std::string::npos; start = comma + 1)
        fields.push_back(trim(value.text.substr(start, comma - start)));
    fields.push_back(trim(value.text.substr(start)));

    if (!fields[0].empty()) {
        config.hasPriority = true;
        config.priority = readPriority(Value{fields[0], value.line});
        if (root && config.priority >= Priority::NOTSET)
            fail(value.line, "the root category cannot be NOTSET");
    }
    for (std::size_t i = 1; i < fields.size(); ++i)
        if (!fields[i].empty())
            config.appenders.push_back(fields[i]);
    return config;
}

Priority::Value Configuration::readPriority(const Value& value) const {
    try {
        return Priority::getPriorityValue(value.text);
    } catch (const std::invalid_argument&) {
        fail(value.line, "unknown priority '" + value.text + "'");
    }
}

bool Configuration::readBool(const Value& value) const {
    std::string text = lower(value.text);
    if (text == "true")
        return true;
    if (text == "false")
        return false;
    fail(value.line, "expected true or false, got '" + value.text + "'");
}

// A non-negative number; with sizeSuffix also "10KB", "5MB", "1GB".
unsigned long long Configuration::readNumber(const Value& value, bool sizeSuffix) const {
    std::size_t digits = 0;
    while (digits < value.text.size() && std::isdigit(static_cast<unsigned char>(value.text[digits])))
        ++digits;
    std::string suffix = lower(trim(value.text.substr(digits)));
    unsigned long long scale = 0;
    if (suffix.empty())
        scale = 1;
    else if (sizeSuffix && suffix == "kb")
        scale = 1024;
    else if (sizeSuffix && suffix == "mb")
        scale = 1024 * 1024;
    else if (sizeSuffix && suffix == "gb")
        scale = 1024 * 1024 * 1024;
    if (digits == 0 || digits > 12 || scale == 0)
        fail(value.line, "expected a number, got '" + value.text + "'");
    return std::stoull(value.text.substr(0, digits)) * scale;
}

std::shared_ptr<Appender> Configuration::create(const std::string& id, AppenderConfig& config) const {
    std::shared_ptr<Appender> appender;
    try {
        switch (config.kind) {
        case AppenderKind::Console:
            appender = std::make_shared<OstreamAppender>(id, &std::cout);
            break;
        case AppenderKind::File:
            appender = std::make_shared<FileAppender>(id, config.fileName, config.append);
            break;
        case AppenderKind::RollingFile:
            appender = std::make_shared<RollingFileAppender>(
                id, config.fileName, config.maxFileSize, config.maxBackupIndex, config.append);
            break;
        }
    } catch (const std::exception& e) {
        fail(0, "appender '" + id + "': " + e.what());
    }
    appender->setThreshold(config.threshold);
    appender->setLayout(std::move(config.layout));
    return appender;
}

void Configuration::apply() {
    // Create every appender before touching a category, so a file that cannot be
    // opened leaves the old configuration in place.
    std::map<std::string, std::shared_ptr<Appender>> created;
    for (const auto& category : _categories)
        for (const std::string& id : category.second.appenders)
            if (!created.count(id))
                created[id] = create(id, _appenders.at(id));

    for (const auto& entry : _categories) {
        Category& category = Category::getInstance(entry.first);
        const CategoryConfig& config = entry.second;
        if (config.hasPriority || !entry.first.empty())
            category.setPriority(config.priority);
        category.removeAllAppenders();
        for (const std::string& id : config.appenders)
            category.addAppender(created.at(id));
    }
    for (const auto& entry : _additivity)
        Category::getInstance(entry.first).setAdditivity(entry.second);
}

} // namespace

void PropertyConfigurator::configure(const std::string& initFileName) {
    Configuration configuration(initFileName);
    configuration.read();
    configuration.apply();
}

} // namespace log4cpp
