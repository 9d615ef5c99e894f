#pragma once
// tarvock-standin --port N --db FILE|:memory: --version-text X [--seed-demo]

#include <stdexcept>
#include <string>
#include <vector>

#include "StandinServer.h"

class CommandLineError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct CommandLine {
    ServerOptions options;
    bool help = false;
};

// Reads the arguments after the program name; options may also be written as --name=value.
CommandLine parseCommandLine(const std::vector<std::string>& arguments);

std::string usage();
