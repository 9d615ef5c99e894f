#include "CommandLine.h"

#include "Validation.h"

namespace {

int portNumber(const std::string& text)
{
    auto value = validation::integer(text);
    if (!value || *value < 0 || *value > 65535)
        throw CommandLineError("--port needs a number from 0 to 65535, not \"" + text + "\"");
    return *value;
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& arguments)
{
    CommandLine result;
    for (size_t i = 0; i < arguments.size(); ++i) {
        std::string name = arguments[i];
        std::string value;
        bool hasValue = false;
        size_t equals = name.find('=');
        if (name.rfind("--", 0) == 0 && equals != std::string::npos) {
            value = name.substr(equals + 1);
            name = name.substr(0, equals);
            hasValue = true;
        }
        auto takeValue = [&]() {
            if (hasValue)
                return value;
            if (i + 1 >= arguments.size())
                throw CommandLineError(name + " needs a value");
            return arguments[++i];
        };

        if (name == "--port") {
            result.options.port = portNumber(takeValue());
        } else if (name == "--db") {
            result.options.database = takeValue();
            if (result.options.database.empty())
                throw CommandLineError("--db needs a file name or :memory:");
        } else if (name == "--version-text") {
            result.options.settings.versionText = takeValue();
        } else if (name == "--seed-demo" && !hasValue) {
            result.options.settings.seedDemo = true;
        } else if ((name == "--help" || name == "-h") && !hasValue) {
            result.help = true;
        } else {
            throw CommandLineError("unknown option \"" + arguments[i] + "\"");
        }
    }
    return result;
}

std::string usage()
{
    return "usage: tarvock-standin [--port N] [--db FILE|:memory:] [--version-text TEXT] [--seed-demo]\n"
           "  --port N            port on 127.0.0.1 (default 8642; 0 picks a free one)\n"
           "  --db FILE           SQLite database file (default :memory:); a new one gets the fixtures\n"
           "  --version-text TEXT what GetCurrentVersion answers (default 1.0.0.0)\n"
           "  --seed-demo         add the demo account (user demo, password demo, account DEMO01)\n";
}
